#pragma once

#include <QWidget>

#include "foundation/window_placement.h"

namespace foundation {

// A top-level QWidget seen as a PlacementForm: positions and sizes in twips (pixels times
// TwipsPerPixel), left and top of the window's frame, width and height of its client area,
// window state 0 normal, 1 minimised, 2 maximised. While the window is minimised or maximised,
// the measures read are those of its normal placement.
class WidgetPlacementForm : public PlacementForm {
 public:
  explicit WidgetPlacementForm(QWidget& widget) : widget_(widget) {}

  double Left() const override;
  double Top() const override;
  double Width() const override;
  double Height() const override;
  int16_t WindowState() const override;
  void SetLeft(double twips) override;
  void SetTop(double twips) override;
  void SetWidth(double twips) override;
  void SetHeight(double twips) override;
  void SetWindowState(int16_t state) override;

 private:
  QRect NormalFrame() const;
  QWidget& widget_;
};

// Makes GetDesktopExtent read the screens of the running application (called once at start-up,
// after the QApplication exists).
void InstallScreenMonitorProvider();

}  // namespace foundation
