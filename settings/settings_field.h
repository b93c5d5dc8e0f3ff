#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "settings/dialog_ports.h"

namespace settings {

// How a field's entry becomes the stored text when OK is pressed.
enum class FieldKind {
  kFolder,       // a folder text; saved with the station settings
  kAirId,        // the terminal id; empty becomes "A"
  kNumber,       // DialogNumber of the text
  kAbsNumber,    // DialogAbsNumber of the text
  kSizeRate,     // SizeRateText of the text
  kFlag,         // the check box's value, 0 or 1
  kChoice,       // the selected entry's index (+ indexBase)
  kChoiceText,   // the selected entry's text
  kMidiDevice,   // the selected entry's text; the running device id follows it
  kColour,       // the colour value
  kCntFunction,  // the index of the function name in the cell
};

// One setting the dialog shows: its key, where the shown value comes from, the entry the
// operator edits (text, or value: a flag, a choice index with -1 for none, a colour) and what OK
// does with it.
struct Field {
  // The running value behind the field, when there is one.
  using Slot = std::function<int32_t&(RunningValues&)>;

  std::string key;
  FieldKind kind = FieldKind::kNumber;
  std::string defaultText;
  bool fromRunning = false;  // shown from the running value, else from the store
  bool atOnce = false;       // OK also sets the running value
  Slot slot;
  int32_t indexBase = 0;             // kChoice: stored index = choice + indexBase
  int32_t input = 0;                 // kMidiDevice: 1 for the input direction
  bool deviceMatch = false;          // kChoiceText: pick the stored name as device names match
  bool outOfRangeIsFirst = false;    // kChoice: a stored index outside the list shows entry 0
  std::string fixedChoice;           // kChoiceText: always this entry, whatever is stored
  std::vector<std::string> choices;  // kChoice, kChoiceText, kMidiDevice

  // The entry.
  std::string text;
  int32_t value = 0;
  // Set with fixedChoice: shown and written as built; the view disables it.
  bool locked = false;

  // The store's text when the page was built: OK writes the key only when its text differs.
  std::string stored;
};

}  // namespace settings
