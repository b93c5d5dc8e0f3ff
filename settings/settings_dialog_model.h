#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/dialog_ports.h"
#include "settings/settings_field.h"
#include "settings/settings_pages.h"

namespace settings {

// The settings dialog without its window: the four pages, each built the first time it is
// shown (its fields filled from the store or from the running values), and OK, which writes the
// fields of every built page in their page's order and sets the running values that act at
// once. One model per opening of the dialog.
class SettingsDialogModel {
 public:
  explicit SettingsDialogModel(const DialogPorts& ports);

  // Fills page `tab` (0..3) once; later calls, and other tabs, do nothing.
  void BuildPage(int32_t tab);
  bool Built(int32_t tab) const;
  // The page's fields in write order (empty before it is built).
  std::vector<Field>& Page(int32_t tab);
  // The field of a built page with that key (the folders are "SrvPath" and "LocalPath"); null
  // when there is none.
  Field* Find(const std::string& key);

  // What OK came to: when `accepted` is false nothing was written or set and `message` says
  // what to correct; the dialog stays open.
  struct OkResult {
    bool accepted = true;
    std::string message;
  };
  // Checks the entries, then writes each built page's fields: a key only when its text differs
  // from what the store held when the page was built (for a value shown from the running one
  // that acts only at the next start: from what the page showed), and not at all for an entry
  // that gives no value (no number, no choice selected, an empty function cell). Then every
  // running value marked to act at once is set from its entry, in one Apply.
  OkResult Ok();

  // The text shown when a terminal id cannot become part of file names.
  static constexpr const char* kBadAirIdText = "端末IDに使えない文字が含まれています（/ \\ NUL）。";

  // What OK makes of an entry: the text to store and the running value it stands for.
  struct Outcome {
    std::string text;
    int32_t running = 0;
  };

 private:
  // Nothing for an entry that gives no value.
  std::optional<Outcome> Evaluate(const Field& field);
  void Fill(Field& field, RunningValues& running);
  void FillFromRunning(Field& field, RunningValues& running);
  void FillFromStore(Field& field);
  void WriteFolders();
  void WriteField(Field& field, RunningValues& running);

  DialogPorts ports_;
  std::array<std::vector<Field>, kPageCount> pages_;
  std::array<int32_t, kPageCount> TabBuilt{};
  std::string storedLocal_;
  std::string storedServer_;
};

}  // namespace settings
