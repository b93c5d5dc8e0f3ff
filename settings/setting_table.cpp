#include "settings/setting_table.h"

#include <stdexcept>

#include "foundation/setting_value.h"

namespace settings {

namespace {

// How the keys of a row are made.
enum class Numbering {
  kOne,       // the key itself
  kNumbered,  // the key followed by 1 .. count
  // The key followed by the port row 1 .. count; the keys of neighbouring port-row settings
  // are written row by row.
  kPortRows,
  // The key followed by "<g>_<n>" for each contact input, in the rows of the dialog's table.
  kContactInputs,
};

// One row of the table: a setting, or a numbered run of them.
struct Row {
  const char* key;
  // The stored default; nullptr: the text of the running value's own default.
  const char* defaultText;
  SettingRules rules;
  Numbering numbering = Numbering::kOne;
  int32_t count = 1;
  // The choice the first key of a run always has (nullptr: none).
  const char* fixedOnFirst = nullptr;
};

template <auto member>
RunningRef Value(RunningValues& values, int32_t) {
  return &(values.*member);
}

template <auto member>
RunningRef Element(RunningValues& values, int32_t index) {
  return &(values.*member)[static_cast<size_t>(index)];
}

using K = FieldKind;
using N = Numbering;
using S = Shown;
using C = Choices;
using R = Reading;
using V = RunningValues;

// Each page in the order OK writes it. Columns: key, default; the rules (field kind, shown from,
// at once, choices, running value, start-up reading and place); numbering and count.
// clang-format off
const Row kGeneralPage[] = {
    {"SrvPath",           "",      {K::kFolder,     S::kStation}},
    {"LocalPath",         "",      {K::kFolder,     S::kStation}},
    {"AirID",             nullptr, {K::kAirId,      S::kRunning, true,  C::kNone,        Value<&V::AirID>,          R::kText,     1}},
    {"SelectedAir",       nullptr, {K::kChoice,     S::kRunning, true,  C::kAirNames,    Value<&V::SelectedAir>,    R::kOneBased, 2}},
    {"PrepDay",           "2",     {K::kNumber,     S::kStore}},
    {"StopAdjMS",         nullptr, {K::kNumber,     S::kStore,   true,  C::kNone,        Value<&V::StopAdjMS>,      R::kNumber,   3}},
    {"OverSec",           nullptr, {K::kAbsNumber,  S::kStore,   true,  C::kNone,        Value<&V::OverSec>,        R::kAbsolute, 4}},
    {"CueActive_",        nullptr, {K::kFlag,       S::kStore,   true,  C::kNone,        Element<&V::CueActive>,    R::kNumber,   17}, N::kNumbered, 3},
    {"UseFade",           nullptr, {K::kFlag,       S::kStore,   false, C::kNone,        Value<&V::UseFade>,        R::kNumber,   12}},
    {"DefaultFadeTime",   nullptr, {K::kNumber,     S::kStore,   false, C::kNone,        Value<&V::FadeTime>,       R::kNumber,   13}},
    {"FadeMargin",        nullptr, {K::kNumber,     S::kStore,   false, C::kNone,        Value<&V::FadeMargin>,     R::kNumber,   14}},
    {"PlayerType",        nullptr, {K::kChoice,     S::kStore,   false, C::kPlayerTypes, Value<&V::PlayerType>,     R::kBinary,   15}},
    {"WaveDeviceName",    nullptr, {K::kChoiceText, S::kStore,   false, C::kWaveDevices, Value<&V::WaveDeviceName>, R::kText,     16}},
    {"ForceLoad",         nullptr, {K::kFlag,       S::kStore,   true,  C::kNone,        Value<&V::ForceLoad>,      R::kNumber,   6}},
    {"ForceOA",           nullptr, {K::kFlag,       S::kStore,   true,  C::kNone,        Value<&V::ForceOA>,        R::kNumber,   7}},
    {"NoTimeSkip",        nullptr, {K::kFlag,       S::kStore,   true,  C::kNone,        Value<&V::NoTimeSkip>,     R::kNumber,   5}},
    {"NoCNTSkip",         nullptr, {K::kFlag,       S::kStore,   true,  C::kNone,        Value<&V::NoCNTSkip>,      R::kNumber,   8}},
};

const Row kDisplayPage[] = {
    {"AltFont",           "1",     {K::kChoice,     S::kStore,   false, C::kFonts}},
    {"SizeRate",          "1.0",   {K::kSizeRate,   S::kStore}},
    {"ColorMode",         nullptr, {K::kFlag,       S::kStore,   false, C::kNone,        Value<&V::ColorMode>,      R::kNumber,   9}},
    {"ColorModeR",        nullptr, {K::kFlag,       S::kStore,   false, C::kNone,        Value<&V::ColorModeR>,     R::kNumber,   10}},
    {"ClockColor",        "0",     {K::kColour,     S::kStore}},
    {"LVFontSize",        nullptr, {K::kAbsNumber,  S::kStore,   false, C::kNone,        Value<&V::LVFontSize>,     R::kNumber,   11}},
    {"ShowColumn_",       "1",     {K::kFlag,       S::kStore}, N::kNumbered, 6},
};

const Row kExternalPage[] = {
    {"AMinute",           nullptr, {K::kNumber,     S::kRunning, true,  C::kNone,        Value<&V::AMinute>,        R::kNumber,   18}},
    {"ASecond",           nullptr, {K::kNumber,     S::kRunning, true,  C::kNone,        Value<&V::ASecond>,        R::kNumber,   19}},
    {"CancelCNT",         nullptr, {K::kNumber,     S::kRunning, true,  C::kNone,        Value<&V::CancelCNT>,      R::kNumber,   20}},
    {"CommandMargin",     nullptr, {K::kNumber,     S::kRunning, true,  C::kNone,        Value<&V::CommandMargin>,  R::kNumber,   21}},
    {"NoPlayMS",          nullptr, {K::kNumber,     S::kStore,   true,  C::kNone,        Value<&V::NoPlayMS>,       R::kNumber,   22}},
    {"NumSWCH",           "8",     {K::kNumber,     S::kStore}},
    {"ComNo_",            "0",     {K::kChoice,     S::kStore,   false, C::kComPorts}, N::kPortRows, 3},
    // The time-code port (row "BCD") always runs at 2400 bit/s.
    {"ComBaud_",          "38400", {K::kChoiceText, S::kStore,   false, C::kBaudRates}, N::kPortRows, 3, "2400"},
    {"SWType_",           nullptr, {K::kChoice,     S::kRunning, true,  C::kSwitchers,   Element<&V::SWType>}, N::kPortRows, 3},
    {"USBHIDID",          "0",     {K::kChoice,     S::kStore,   false, C::kHidUnits}},
    {"CNTPulseMS",        nullptr, {K::kAbsNumber,  S::kRunning, false, C::kNone,        Value<&V::CNTPulseMS>,     R::kNumber,   23}},
    {"UseMIDIF",          "0",     {K::kFlag,       S::kStore}},
    {"UseMidiIn",         "0",     {K::kFlag,       S::kStore}},
    {"MidiOutDeviceName", "",      {K::kMidiDevice, S::kRunning, true,  C::kMidiOut,     Value<&V::MidiOutDeviceID>}},
    {"MidiInDeviceName",  "",      {K::kMidiDevice, S::kRunning, true,  C::kMidiIn,      Value<&V::MidiInDeviceID>}},
    {"MidifReso",         "14",    {K::kAbsNumber,  S::kStore}},
    {"MIDIChOffset",      "1",     {K::kAbsNumber,  S::kStore}},
    {"MIDIStereo",        "0",     {K::kFlag,       S::kStore}},
    {"MidiMode",          "0",     {K::kChoice,     S::kStore,   false, C::kMidiModes}},
};

const Row kCntPage[] = {
    {"CNTFunction_",      nullptr, {K::kCntFunction, S::kRunning, true, C::kNone,       Element<&V::CNTFunction>,  R::kNumber,   24},
     N::kContactInputs, kContactInputCount},
};
// clang-format on

// The stored text of a running value's default.
std::string RunningDefault(const Setting& s) {
  RunningValues defaults;
  const RunningRef value = RunningOf(s, defaults);
  if (const std::string* const* text = std::get_if<std::string*>(&value)) return **text;
  const int64_t number = *std::get<int32_t*>(value);
  return std::to_string(s.reading == Reading::kOneBased ? number + 1 : number);
}

void AddSetting(const Row& row, int32_t page, int32_t instance, std::vector<Setting>& table) {
  Setting s;
  static_cast<SettingRules&>(s) = row.rules;
  s.page = page;
  s.key = row.key;
  s.index = instance;
  if (row.numbering == Numbering::kNumbered || row.numbering == Numbering::kPortRows) {
    s.key += std::to_string(instance + 1);
  } else if (row.numbering == Numbering::kContactInputs) {
    const ContactInput input = ContactInput::AtRow(instance);
    s.key += std::to_string(input.group) + "_" + std::to_string(input.input);
    s.index = input.FunctionIndex();
  }
  s.defaultText = row.defaultText != nullptr ? row.defaultText : RunningDefault(s);
  if (instance == 0 && row.fixedOnFirst != nullptr) s.fixedChoice = row.fixedOnFirst;
  table.push_back(std::move(s));
}

template <size_t size>
void AddPage(const Row (&rows)[size], int32_t page, std::vector<Setting>& table) {
  for (size_t r = 0; r < size; ++r) {
    if (rows[r].numbering != Numbering::kPortRows) {
      for (int32_t i = 0; i < rows[r].count; ++i) AddSetting(rows[r], page, i, table);
      continue;
    }
    // Port-row settings side by side go row by row.
    size_t end = r;
    while (end < size && rows[end].numbering == Numbering::kPortRows) ++end;
    for (int32_t i = 0; i < rows[r].count; ++i) {
      for (size_t k = r; k < end; ++k) AddSetting(rows[k], page, i, table);
    }
    r = end - 1;
  }
}

std::vector<Setting> BuildTable() {
  std::vector<Setting> table;
  AddPage(kGeneralPage, kPageGeneral, table);
  AddPage(kDisplayPage, kPageDisplay, table);
  AddPage(kExternalPage, kPageExternal, table);
  AddPage(kCntPage, kPageCnt, table);
  return table;
}

}  // namespace

const std::vector<Setting>& InstanceSettings() {
  static const std::vector<Setting> table = BuildTable();
  return table;
}

const Setting& SettingOf(std::string_view key) {
  for (const Setting& s : InstanceSettings()) {
    if (s.key == key) return s;
  }
  throw std::out_of_range("no setting " + std::string(key));
}

int32_t DefaultNumber(const Setting& setting) {
  return foundation::ParseSettingInt(setting.defaultText).value_or(0);
}

int32_t DefaultNumber(std::string_view key) { return DefaultNumber(SettingOf(key)); }

RunningRef RunningOf(const Setting& setting, RunningValues& values) {
  return setting.running != nullptr ? setting.running(values, setting.index) : RunningRef{};
}

}  // namespace settings
