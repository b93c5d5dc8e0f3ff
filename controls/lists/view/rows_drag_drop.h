#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QMimeData;
class QWidget;

namespace platform {
class PictureBox;
}

namespace lists {

// Starts a drag of `data` (taken over) from `source` with the allowed effects and returns the
// effect of the drop. The platform's drag runs until the button is released; tests put their
// own here.
using DragStarter = std::function<int32_t(QWidget* source, QMimeData* data, int32_t allowed)>;

// The platform's drag.
int32_t PlatformDrag(QWidget* source, QMimeData* data, int32_t allowed);

// A drop as the owner's handler sees it; the handler may change the effect.
struct RowsDrop {
  const QMimeData* data = nullptr;
  int32_t effect = 0;
  int16_t button = 0;  // 1 left, 2 right, 4 middle
  int16_t shift = 0;   // 1 Shift, 2 Ctrl, 4 Alt
  float x = 0;         // twips on the rows area
  float y = 0;
};

// The rows area of a list or tree as a drag source and a drop target. Drags start through a
// replaceable starter. While something is dragged over the rows the owner hears of it at every
// move and, as the platform repeated its notification while the pointer rested, every 20 ms
// until it leaves or drops. Each handler runs inside the owner's error trap, named
// "<owner>.OLEDragOver", "<owner>.OLEDragLeave" and "<owner>.OLEDragDrop".
class RowsDragDrop : public QObject {
  Q_OBJECT

 public:
  struct Handlers {
    std::function<void(double x, double y)> over;  // twips on the rows area
    std::function<void()> leave;
    std::function<void(RowsDrop& drop)> drop;
  };

  RowsDragDrop(platform::PictureBox* rows, std::string owner, Handlers handlers);
  ~RowsDragDrop() override;

  void SetStarter(DragStarter starter) { starter_ = std::move(starter); }
  // Asks the host for the data (it fills the data and may narrow the allowed effects) and
  // drags it: the effect of the drop, or nothing when the host gave no data to drag (the
  // gesture then stays a click).
  std::optional<int32_t> Drag(const std::function<void(QMimeData* data, int32_t* allowed)>& ask);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Over();

  platform::PictureBox* rows_;
  std::string owner_;
  Handlers handlers_;
  DragStarter starter_ = PlatformDrag;
  QTimer repeat_;
  double x_ = 0;
  double y_ = 0;
};

}  // namespace lists
