#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "controls/lists/list_model.h"
#include "foundation/server_config.h"
#include "playout/engine_ports.h"

namespace playout {

// The schedule message the companion sends: "NONE", or entries of eight double-quoted fields
// separated by commas, entries separated by the two characters backslash and n.

// The entries of a message. Every backslash-n outside a quoted field ends an entry, so a folder
// such as jingle\news inside quotes stays whole while a piece the sender never meant (unquoted
// text between separators) is an entry of its own that the field count then skips. A separator
// after the last entry adds no empty entry; the empty text is one empty entry.
std::vector<std::string> SplitScheduleEntries(const std::string& text);

// What the load list's rows are made with.
struct IntakeContext {
  const foundation::ConfTables* conf = nullptr;
  CommandSchedules* commands = nullptr;
  int32_t ColorMode = 0;   // command rows' colour scheme
  int32_t ColorModeR = 0;  // sound rows' colour scheme
  int32_t LoadListLineColor = 0;
};

// Appends one load-list row per entry of four fields or more (missing fields read as empty).
// The first row of every schedule file carries the separator line and position 0; a start time
// earlier than the one before it within a file moves that row and the rest of the file on by a
// day. A ".scm" row is a command: its index in the command list, which is reloaded once from
// the local folder when the name is not in it.
void ReadScheduleRows(const std::string& text, lists::ListModel& load, const IntakeContext& ctx);

}  // namespace playout
