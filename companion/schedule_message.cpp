#include "companion/schedule_message.h"

#include "companion/schedule_files.h"
#include "platform/cp932.h"

namespace companion {

std::string ScheduleMessageText(const lists::ListModel& schedule) {
  const int32_t rows = schedule.ItemCount();
  if (rows == 0) return "NONE";
  std::string text;
  for (int32_t r = 0; r < rows; ++r) {
    const ConstScheduleRow row(schedule, r);
    if (row.IsTmc()) continue;
    for (int32_t f = 0; f < ConstScheduleRow::kFields; ++f) text += "\"" + row.Field(f) + "\",";
    text += "\"" + row.Cue() + "\",\"" + row.Prog() + "\"";
    if (r != rows - 1) text += "\\n";
  }
  return text;
}

std::string ScheduleMessagePayload(const std::string& text) {
  return platform::Utf8ToCp932(text) + std::string(2, '\0');
}

}  // namespace companion
