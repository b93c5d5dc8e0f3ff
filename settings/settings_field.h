#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/setting_table.h"

namespace settings {

// One setting the dialog shows: its description, the choices of a choice field, the entry the
// operator edits (text, or value: a flag, a choice index with -1 for none, a colour) and what
// the store held.
struct Field : Setting {
  Field() = default;
  explicit Field(const Setting& setting) : Setting(setting) {}

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
