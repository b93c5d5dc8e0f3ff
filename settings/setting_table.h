#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/running_values.h"

namespace settings {

// The description of every setting of the playout's instance section that the settings dialog
// edits: its key and default, how start-up reads it into the running value it sets, and where
// the dialog shows it and how OK writes it. Start-up's reading, the dialog's pages and the
// playout's link to the dialog all go by this one table.

// The four pages of the dialog, by their tab.
enum Page : int32_t { kPageGeneral, kPageDisplay, kPageExternal, kPageCnt, kPageCount };

// How a field's entry becomes the stored text when OK is pressed.
enum class FieldKind {
  kFolder,       // a folder text; saved with the station settings
  kAirId,        // the terminal id; empty becomes "A"
  kNumber,       // DialogNumber of the text
  kAbsNumber,    // DialogAbsNumber of the text
  kSizeRate,     // SizeRateText of the text
  kFlag,         // the check box's value, 0 or 1
  kChoice,       // the selected entry's index (+ 1 for a value stored one-based)
  kChoiceText,   // the selected entry's text
  kMidiDevice,   // the selected entry's text; the running device id follows it
  kColour,       // the colour value
  kCntFunction,  // the index of the function name in the cell
};

// Where the dialog takes the value it shows from.
enum class Shown {
  kStore,    // the settings store
  kRunning,  // the running value (which start-up read from the store)
  kStation,  // the running station settings (the folders)
};

// How start-up turns the stored text into the running value.
enum class Reading {
  kNumber,    // a whole number; a text that is none gives the default
  kText,      // the text as stored
  kOneBased,  // a whole number stored one above the running value
  kAbsolute,  // the absolute value; the lowest number, which has none, stands for the highest
  kBinary,    // 0 or 1: above 1 is 1, below 0 is 0
};

// The entries of a choice field.
enum class Choices {
  kNone,
  kAirNames,     // the station's air names
  kPlayerTypes,  // "WaveOut", "FilterGraph"
  kWaveDevices,  // the wave output devices; the stored name picks its entry loosely
  kFonts,        // the two interface faces
  kComPorts,     // "NA", "Com1" .. "Com6"; a stored index outside them shows "NA"
  kBaudRates,
  kSwitchers,  // "Remote1", "ACS8.2"
  kHidUnits,   // "NA", "1" .. "8"
  kMidiOut,    // the MIDI output devices
  kMidiIn,     // the MIDI input devices
  kMidiModes,
};

// One running value, or none.
using RunningRef = std::variant<std::monostate, int32_t*, std::string*>;
// Finds a setting's running value in a set of running values; `index` is the setting's
// element for those kept in an array.
using RunningSlot = RunningRef (*)(RunningValues& values, int32_t index);

// What a setting is, apart from its key and default.
struct SettingRules {
  FieldKind kind = FieldKind::kNumber;
  Shown shown = Shown::kStore;
  // OK also sets the running value to what it writes.
  bool atOnce = false;
  // Where a choice field's entries come from.
  Choices choicesFrom = Choices::kNone;
  RunningSlot running = nullptr;
  Reading reading = Reading::kNumber;
  // Its place in the playout's start-up reading (from 1; settings with the same place are read
  // in table order); 0 when start-up reads it elsewhere, into the window or the devices.
  int32_t startUp = 0;
};

// One setting: one key.
struct Setting : SettingRules {
  std::string key;
  std::string defaultText;
  int32_t page = kPageGeneral;
  // Its element of the running value kept in an array.
  int32_t index = 0;
  // A choice the field always shows and writes, whatever is stored (empty: none).
  std::string fixedChoice;
};

// Every setting the dialog edits, page by page, each page in the order OK writes it.
const std::vector<Setting>& InstanceSettings();
// The setting of `key`; throws std::out_of_range for a key that is not in the table.
const Setting& SettingOf(std::string_view key);
// The number a setting's default stands for (0 for a text).
int32_t DefaultNumber(const Setting& setting);
int32_t DefaultNumber(std::string_view key);

// The setting's running value in `values`.
RunningRef RunningOf(const Setting& setting, RunningValues& values);

}  // namespace settings
