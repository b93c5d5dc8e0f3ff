#pragma once

#include <string>

#include "controls/lists/list_model.h"

namespace companion {

// The schedule message the playout window receives: "NONE" for an empty schedule-contents list,
// else one entry per row from a ".cue" file, in list order, each eight values in double quotes
// separated by commas (the six schedule fields, the schedule file name, the programme title),
// every entry followed by the two characters backslash and n except the entry of the list's
// last row. Values go in as they stand. UTF-8.
std::string ScheduleMessageText(const lists::ListModel& schedule);

// The bytes sent: the text in CP932 and two NUL bytes.
std::string ScheduleMessagePayload(const std::string& text);

}  // namespace companion
