// The load list and the queue: a received schedule into the load list, load-list rows into the
// queue, and the row from which an automatic load continues.
#include "foundation/date_stamp.h"
#include "playout/playout_engine.h"
#include "playout/schedule_intake.h"

namespace playout {

namespace {

// The row holds the item: the same position, schedule file and programme, and the same cells.
// Date, path and command index are not compared.
bool RowHoldsItem(const lists::ListModel& list, int32_t row,
                  const std::array<lists::ListValue, 6>& values,
                  const std::array<lists::ListValue, 6>& aux) {
  for (int32_t k : {kAuxSeq, kAuxCue, kAuxProgram}) {
    if (list.AuxID(row, k) != aux[static_cast<size_t>(k)]) return false;
  }
  for (int32_t k = 0; k < kRowCells; ++k) {
    if (list.Value(row, k) != values[static_cast<size_t>(k)]) return false;
  }
  return true;
}

}  // namespace

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
      if (queue.AuxID(i, kAuxDate).Text() >= pKey) queue.DeleteItem(i);
    }
  } else {
    queue.DeleteAll();
  }
  for (int32_t i = pRow; i < load.ItemCount(); ++i) {
    queue.AddItem(1);
    const int32_t row = queue.ItemCount() - 1;
    CopyRowValues(load, i, queue, row);
    queue.SetDispColor(row, QueueRowColor(*ports_.conf, settings_.ColorMode, queue, row));
  }
  RefreshList();
  SaveCueSnapshot();
  ports_.view->ListChanged(kListQueue);
  return 1;
}

int32_t PlayoutEngine::PickLoadRow(int32_t pMode) {
  const lists::ListModel& load = lists_[kListLoad];
  if (load.ItemCount() == 0 || pMode < 0) return -1;
  switch (pMode) {
    case 0:
      if (state_.CurAux[0] == lists::ListValue(-1)) return -1;
      for (int32_t i = 0; i < load.ItemCount(); ++i) {
        if (RowHoldsItem(load, i, state_.CurValue, state_.CurAux)) return i;
      }
      return -1;
    case 1:
      if (state_.NextAux[0] == lists::ListValue(-1)) return -1;
      return RowHoldsItem(load, 0, state_.NextValue, state_.NextAux) ? 0 : -1;
    case 2: {
      const std::string now =
          foundation::FormatDateStampAt(ports_.clock->Now(), ports_.conf->HourAdjust);
      for (int32_t i = 0; i < load.ItemCount(); ++i) {
        const std::string time = load.Value(i, kColTime).Text();
        if (!time.empty() && load.AuxID(i, kAuxDate).Text() + " " + time > now) return i;
      }
      return -1;
    }
    default:
      return -1;
  }
}

}  // namespace playout
