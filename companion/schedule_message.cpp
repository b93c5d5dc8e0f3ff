#include "companion/schedule_message.h"

#include "companion/schedule_files.h"
#include "platform/cp932.h"

namespace companion {

std::string ScheduleMessageText(const lists::ListModel& schedule) {
  const int32_t rows = schedule.ItemCount();
  if (rows == 0) return "NONE";
  std::string text;
  for (int32_t r = 0; r < rows; ++r) {
    if (schedule.Value(r, kColTmc).Number().value_or(0) != 0) continue;
    for (int32_t k = 0; k < 6; ++k) text += "\"" + schedule.AuxID(r, k).Text() + "\",";
    text += "\"" + schedule.Value(r, kColCue).Text() + "\",\"" +
            schedule.Value(r, kColProg).Text() + "\"";
    if (r != rows - 1) text += "\\n";
  }
  return text;
}

std::string ScheduleMessagePayload(const std::string& text) {
  return platform::Utf8ToCp932(text) + std::string(2, '\0');
}

}  // namespace companion
