#include "controls/lists/view/rows_drag_drop.h"

#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <memory>

#include "foundation/error_traps.h"
#include "platform/view/picture_box.h"

namespace lists {

int32_t PlatformDrag(QWidget* source, QMimeData* data, int32_t allowed) {
  auto* drag = new QDrag(source);
  drag->setMimeData(data);
  return static_cast<int32_t>(drag->exec(Qt::DropActions(allowed)));
}

RowsDragDrop::RowsDragDrop(platform::PictureBox* rows, std::string owner, Handlers handlers)
    : rows_(rows), owner_(std::move(owner)), handlers_(std::move(handlers)) {
  rows_->setAcceptDrops(true);
  rows_->installEventFilter(this);
  // The platform repeats drag-over notifications while the pointer rests; this timer stands in.
  repeat_.setInterval(20);
  connect(&repeat_, &QTimer::timeout, this, [this] { Over(); });
}

RowsDragDrop::~RowsDragDrop() { repeat_.stop(); }

std::optional<int32_t> RowsDragDrop::Drag(
    const std::function<void(QMimeData* data, int32_t* allowed)>& ask) {
  auto data = std::make_unique<QMimeData>();
  int32_t allowed = static_cast<int32_t>(Qt::CopyAction | Qt::MoveAction);
  ask(data.get(), &allowed);
  if (data->formats().isEmpty()) return std::nullopt;
  return starter_ ? starter_(rows_, data.release(), allowed) : 0;
}

void RowsDragDrop::Over() {
  if (handlers_.over)
    foundation::RunTrapped(owner_ + ".OLEDragOver", [&] { handlers_.over(x_, y_); });
}

bool RowsDragDrop::eventFilter(QObject* watched, QEvent* event) {
  if (watched != rows_) return false;
  const int32_t tpp = rows_->Surface().TwipsPerPixel();
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* move = static_cast<QDragMoveEvent*>(event);
      move->acceptProposedAction();
      x_ = move->position().x() * tpp;
      y_ = move->position().y() * tpp;
      if (!repeat_.isActive()) repeat_.start();
      Over();
      return true;
    }
    case QEvent::DragLeave:
      repeat_.stop();
      if (handlers_.leave) foundation::RunTrapped(owner_ + ".OLEDragLeave", handlers_.leave);
      return true;
    case QEvent::Drop: {
      repeat_.stop();
      auto* dropEvent = static_cast<QDropEvent*>(event);
      RowsDrop drop;
      drop.data = dropEvent->mimeData();
      drop.effect = static_cast<int32_t>(dropEvent->proposedAction());
      drop.button = static_cast<int16_t>(platform::MouseButtonCode(dropEvent->buttons()));
      drop.shift = static_cast<int16_t>(platform::ShiftCode(dropEvent->modifiers()));
      drop.x = static_cast<float>(dropEvent->position().x() * tpp);
      drop.y = static_cast<float>(dropEvent->position().y() * tpp);
      if (handlers_.drop) {
        foundation::RunTrapped(owner_ + ".OLEDragDrop", [&] { handlers_.drop(drop); });
      }
      dropEvent->setDropAction(static_cast<Qt::DropAction>(drop.effect));
      dropEvent->accept();
      return true;
    }
    default:
      return false;
  }
}

}  // namespace lists
