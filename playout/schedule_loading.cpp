// The load list and the queue: a received schedule into the load list, load-list rows into the
// queue, and the row from which an automatic load continues.
#include "foundation/date_stamp.h"
#include "playout/playout_engine.h"
#include "playout/schedule_intake.h"

namespace playout {

int32_t PlayoutEngine::ReceiveSchedule() {
  const std::string text = ports_.inbox->Take();
  if (text.empty()) return 0;
  lists::ListModel& load = lists_[kListLoad];
  load.DeleteAll();
  if (text == "NONE") {
    ports_.view->ListChanged(kListLoad);
    return 0;
  }
  IntakeContext context;
  context.conf = ports_.conf;
  context.commands = ports_.commands;
  context.ColorMode = settings_.ColorMode;
  context.ColorModeR = settings_.ColorModeR;
  context.LoadListLineColor = loadListLineColor_;
  ReadScheduleRows(text, load, context);
  ports_.view->ListChanged(kListLoad);
  return 1;
}

int32_t PlayoutEngine::LoadFromRow(int32_t pRow, const std::string& pKey) {
  const lists::ListModel& load = lists_[kListLoad];
  lists::ListModel& queue = lists_[kListQueue];
  if (pRow < 0 || pRow > load.ItemCount() - 1) return 0;
  if (!pKey.empty()) {
    // Only the queue's rows of that broadcast date and later are replaced.
    for (int32_t i = queue.ItemCount() - 1; i >= 0; --i) {
      if (ConstPlayRow(queue, i).BroadcastDate() >= pKey) queue.DeleteItem(i);
    }
  } else {
    queue.DeleteAll();
  }
  for (int32_t i = pRow; i < load.ItemCount(); ++i) {
    queue.AddItem(1);
    const int32_t row = queue.ItemCount() - 1;
    PlayRow(queue, row).CopyFrom(ConstPlayRow(load, i));
    queue.SetDispColor(row, QueueRowColor(*ports_.conf, settings_.ColorMode, {queue, row}));
  }
  RefreshList();
  SaveCueSnapshot();
  ports_.view->ListChanged(kListQueue);
  return 1;
}

int32_t PlayoutEngine::PickLoadRow(LoadPick pMode) {
  const lists::ListModel& load = lists_[kListLoad];
  if (load.ItemCount() == 0) return -1;
  switch (pMode) {
    case LoadPick::kCurrentItem: {
      const HeldItem current = CurrentItem();
      if (current.IsNone()) return -1;
      for (int32_t i = 0; i < load.ItemCount(); ++i) {
        if (current.IsHeldBy({load, i})) return i;
      }
      return -1;
    }
    case LoadPick::kNextItem: {
      const HeldItem next = NextItem();
      if (next.IsNone()) return -1;
      return next.IsHeldBy({load, 0}) ? 0 : -1;
    }
    case LoadPick::kByClock: {
      const std::string now =
          foundation::FormatDateStampAt(ports_.clock->Now(), ports_.conf->HourAdjust);
      for (int32_t i = 0; i < load.ItemCount(); ++i) {
        const ConstPlayRow row(load, i);
        if (!row.StartTime().empty() && row.Stamp() > now) return i;
      }
      return -1;
    }
    default:
      return -1;
  }
}

}  // namespace playout
