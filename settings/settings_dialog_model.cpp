#include "settings/settings_dialog_model.h"

#include <algorithm>
#include <optional>

#include "foundation/device_names.h"
#include "foundation/paths.h"
#include "foundation/setting_value.h"
#include "settings/cnt_functions.h"
#include "settings/dialog_numbers.h"

namespace settings {

namespace {

int32_t CurrentServer(const foundation::StationSettings& s) {
  return s.CurrentServer >= 0 && s.CurrentServer < foundation::kServerCount ? s.CurrentServer : 0;
}

int32_t IndexOf(const std::vector<std::string>& list, const std::string& text) {
  const auto at = std::find(list.begin(), list.end(), text);
  return at == list.end() ? -1 : static_cast<int32_t>(at - list.begin());
}

bool InList(const std::vector<std::string>& list, int64_t index) {
  return index >= 0 && index < static_cast<int64_t>(list.size());
}

// A choice stored one above its index.
int32_t IndexBase(const Field& field) { return field.reading == Reading::kOneBased ? 1 : 0; }

// The parts of a terminal id that file names cannot hold.
bool BadAirId(const std::string& id) {
  return id.find_first_of(std::string("/\\\0", 3)) != std::string::npos;
}

std::optional<SettingsDialogModel::Outcome> NumberOutcome(std::optional<int32_t> number) {
  if (!number) return std::nullopt;
  return SettingsDialogModel::Outcome{std::to_string(*number), *number};
}

}  // namespace

SettingsDialogModel::SettingsDialogModel(const DialogPorts& ports) : ports_(ports) {}

bool SettingsDialogModel::Built(int32_t tab) const {
  return tab >= 0 && tab < kPageCount && TabBuilt[static_cast<size_t>(tab)] != 0;
}

std::vector<Field>& SettingsDialogModel::Page(int32_t tab) {
  return pages_[static_cast<size_t>(std::clamp(tab, 0, kPageCount - 1))];
}

Field* SettingsDialogModel::Find(const std::string& key) {
  for (std::vector<Field>& page : pages_) {
    for (Field& field : page) {
      if (field.key == key) return &field;
    }
  }
  return nullptr;
}

void SettingsDialogModel::BuildPage(int32_t tab) {
  if (tab < 0 || tab >= kPageCount || Built(tab)) return;
  std::vector<Field>& page = pages_[static_cast<size_t>(tab)];
  page = PageFields(tab, *ports_.conf, *ports_.devices);
  RunningValues running = ports_.running->Read();
  for (Field& field : page) Fill(field, running);
  TabBuilt[static_cast<size_t>(tab)] = 1;
}

void SettingsDialogModel::Fill(Field& field, RunningValues& running) {
  if (field.shown == Shown::kStation) {
    const foundation::StationSettings& s = *ports_.station;
    field.text = field.key == "LocalPath" ? s.LocalPath : s.SrvPath[CurrentServer(s)];
    field.stored = field.text;
    return;
  }
  field.stored = ports_.store->Load(field.key, field.defaultText);
  if (field.shown == Shown::kRunning) {
    FillFromRunning(field, running);
  } else {
    FillFromStore(field);
  }
  if (!field.fixedChoice.empty()) {
    field.value = IndexOf(field.choices, field.fixedChoice);
    field.locked = true;
  }
  // A running value that acts only at the next start may differ from the store until then:
  // what the page shows counts as unchanged, so that OK never puts the start-up value back.
  if (field.shown == Shown::kRunning && !field.atOnce) {
    if (const std::optional<Outcome> shown = Evaluate(field)) field.stored = shown->text;
  }
}

void SettingsDialogModel::FillFromRunning(Field& field, RunningValues& running) {
  const RunningRef ref = RunningOf(field, running);
  if (std::string* const* text = std::get_if<std::string*>(&ref)) {
    field.text = **text;
    return;
  }
  const int32_t value = *std::get<int32_t*>(ref);
  switch (field.kind) {
    case FieldKind::kChoice:
      field.value = InList(field.choices, value) ? value : -1;
      break;
    case FieldKind::kMidiDevice:
      // The entry that bears the running device's name.
      field.value = InList(field.choices, value)
                        ? IndexOf(field.choices, field.choices[static_cast<size_t>(value)])
                        : -1;
      break;
    case FieldKind::kCntFunction:
      field.text = value >= 0 && value < kCntFunctionCount
                       ? CNTFunctionName[static_cast<size_t>(value)]
                       : std::string();
      break;
    default:
      field.text = std::to_string(value);
      break;
  }
}

void SettingsDialogModel::FillFromStore(Field& field) {
  const std::optional<int32_t> number = foundation::ParseSettingInt(field.stored);
  switch (field.kind) {
    case FieldKind::kFlag:
    case FieldKind::kColour:
      field.value = number.value_or(foundation::ParseSettingInt(field.defaultText).value_or(0));
      break;
    case FieldKind::kChoice: {
      const int64_t index = static_cast<int64_t>(number.value_or(-1)) - IndexBase(field);
      if (InList(field.choices, index)) {
        field.value = static_cast<int32_t>(index);
      } else {
        field.value = field.choicesFrom == Choices::kComPorts && !field.choices.empty() ? 0 : -1;
      }
      break;
    }
    case FieldKind::kChoiceText:
    case FieldKind::kMidiDevice:
      field.value = field.choicesFrom == Choices::kWaveDevices
                        ? foundation::FindDeviceNameInList(field.choices, field.stored)
                        : IndexOf(field.choices, field.stored);
      break;
    default:
      field.text = field.stored;
      break;
  }
}

SettingsDialogModel::OkResult SettingsDialogModel::Ok() {
  if (const Field* id = Find("AirID"); id != nullptr && BadAirId(id->text))
    return OkResult{false, kBadAirIdText};
  RunningValues running = ports_.running->Read();
  for (int32_t tab = 0; tab < kPageCount; ++tab) {
    if (!Built(tab)) continue;
    if (tab == kPageGeneral) WriteFolders();
    for (Field& field : pages_[static_cast<size_t>(tab)]) {
      if (field.kind != FieldKind::kFolder) WriteField(field, running);
    }
  }
  ports_.running->Apply(running);
  return OkResult{};
}

void SettingsDialogModel::WriteFolders() {
  const Field* local = Find("LocalPath");
  const Field* server = Find("SrvPath");
  if (local == nullptr || server == nullptr) return;
  foundation::StationSettings& s = *ports_.station;
  const std::string localPath = foundation::SetTrailingSeparator(local->text);
  const std::string serverPath = foundation::SetTrailingSeparator(server->text);
  std::string& runningServer = s.SrvPath[CurrentServer(s)];
  if (localPath == s.LocalPath && serverPath == runningServer) return;
  s.LocalPath = localPath;
  runningServer = serverPath;
  foundation::DeriveWorkFolders(s);
  ports_.store->SaveStation();
}

std::optional<SettingsDialogModel::Outcome> SettingsDialogModel::Evaluate(const Field& field) {
  const bool chosen = InList(field.choices, field.value);
  switch (field.kind) {
    case FieldKind::kAirId:
      return Outcome{field.text.empty() ? "A" : field.text};
    case FieldKind::kNumber:
      return NumberOutcome(DialogNumber(field.text));
    case FieldKind::kAbsNumber:
      return NumberOutcome(DialogAbsNumber(field.text));
    case FieldKind::kSizeRate:
      if (const std::optional<std::string> rate = SizeRateText(field.text)) return Outcome{*rate};
      break;
    case FieldKind::kFlag:
    case FieldKind::kColour:
      return Outcome{std::to_string(field.value), field.value};
    case FieldKind::kChoice:
      if (chosen) return Outcome{std::to_string(field.value + IndexBase(field)), field.value};
      break;
    case FieldKind::kChoiceText:
      if (chosen) return Outcome{field.choices[static_cast<size_t>(field.value)]};
      break;
    case FieldKind::kMidiDevice:
      if (chosen) {
        const std::string& name = field.choices[static_cast<size_t>(field.value)];
        const int32_t input = field.choicesFrom == Choices::kMidiIn ? 1 : 0;
        return Outcome{name, ports_.devices->FindMidiDevice(input, name)};
      }
      break;
    case FieldKind::kCntFunction:
      if (!field.text.empty()) return NumberOutcome(CNTFunctionIndex(field.text));
      break;
    case FieldKind::kFolder:
      break;
  }
  return std::nullopt;
}

void SettingsDialogModel::WriteField(Field& field, RunningValues& running) {
  const std::optional<Outcome> out = Evaluate(field);
  if (!out) return;
  if (out->text != field.stored) {
    ports_.store->Save(field.key, out->text);
    field.stored = out->text;
  }
  if (!field.atOnce) return;
  const RunningRef ref = RunningOf(field, running);
  if (std::string* const* text = std::get_if<std::string*>(&ref)) **text = out->text;
  if (int32_t* const* number = std::get_if<int32_t*>(&ref)) **number = out->running;
}

}  // namespace settings
