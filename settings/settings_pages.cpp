#include "settings/settings_pages.h"

#include "devices/fct_serial.h"
#include "settings/cnt_functions.h"

namespace settings {

const char* const kPageCaptions[kPageCount] = {"一般", "表示", "外部制御", "CNT"};

namespace {

Field StoreField(const std::string& key, FieldKind kind, const std::string& defaultText,
                 std::vector<std::string> choices = {}) {
  Field f;
  f.key = key;
  f.kind = kind;
  f.defaultText = defaultText;
  f.choices = std::move(choices);
  return f;
}

// A field shown from its running value; `atOnce`: OK sets the running value too.
Field RunningField(const std::string& key, FieldKind kind, const std::string& defaultText,
                   Field::Slot slot, bool atOnce, std::vector<std::string> choices = {}) {
  Field f = StoreField(key, kind, defaultText, std::move(choices));
  f.fromRunning = true;
  f.atOnce = atOnce;
  f.slot = std::move(slot);
  return f;
}

// A store field whose written value is also set at once.
Field StoreAtOnce(const std::string& key, FieldKind kind, const std::string& defaultText,
                  Field::Slot slot) {
  Field f = StoreField(key, kind, defaultText);
  f.atOnce = true;
  f.slot = std::move(slot);
  return f;
}

std::string Numbered(const char* stem, int32_t n) { return stem + std::to_string(n); }

std::vector<Field> GeneralPage(const foundation::ConfTables& conf, DeviceLists& devices) {
  std::vector<Field> page;
  page.push_back(StoreField("SrvPath", FieldKind::kFolder, ""));
  page.push_back(StoreField("LocalPath", FieldKind::kFolder, ""));
  Field airId = StoreField("AirID", FieldKind::kAirId, "A");
  airId.fromRunning = true;
  airId.atOnce = true;
  page.push_back(airId);
  Field air = RunningField(
      "SelectedAir", FieldKind::kChoice, "1",
      [](RunningValues& r) -> int32_t& { return r.SelectedAir; }, true, AirNames(conf));
  air.indexBase = 1;
  page.push_back(air);
  page.push_back(StoreField("PrepDay", FieldKind::kNumber, "2"));
  page.push_back(StoreAtOnce("StopAdjMS", FieldKind::kNumber, "0",
                             [](RunningValues& r) -> int32_t& { return r.StopAdjMS; }));
  page.push_back(StoreAtOnce("OverSec", FieldKind::kAbsNumber, "0",
                             [](RunningValues& r) -> int32_t& { return r.OverSec; }));
  for (int32_t n = 0; n < 3; ++n) {
    page.push_back(StoreAtOnce(Numbered("CueActive_", n + 1), FieldKind::kFlag, "0",
                               [n](RunningValues& r) -> int32_t& { return r.CueActive[n]; }));
  }
  page.push_back(StoreField("UseFade", FieldKind::kFlag, "0"));
  page.push_back(StoreField("DefaultFadeTime", FieldKind::kNumber, "6000"));
  page.push_back(StoreField("FadeMargin", FieldKind::kNumber, "3000"));
  page.push_back(StoreField("PlayerType", FieldKind::kChoice, "0", {"WaveOut", "FilterGraph"}));
  Field device = StoreField("WaveDeviceName", FieldKind::kChoiceText, "", devices.WaveOutNames());
  device.deviceMatch = true;
  page.push_back(device);
  page.push_back(StoreAtOnce("ForceLoad", FieldKind::kFlag, "0",
                             [](RunningValues& r) -> int32_t& { return r.ForceLoad; }));
  page.push_back(StoreAtOnce("ForceOA", FieldKind::kFlag, "0",
                             [](RunningValues& r) -> int32_t& { return r.ForceOA; }));
  page.push_back(StoreAtOnce("NoTimeSkip", FieldKind::kFlag, "0",
                             [](RunningValues& r) -> int32_t& { return r.NoTimeSkip; }));
  page.push_back(StoreAtOnce("NoCNTSkip", FieldKind::kFlag, "0",
                             [](RunningValues& r) -> int32_t& { return r.NoCNTSkip; }));
  return page;
}

std::vector<Field> DisplayPage() {
  std::vector<Field> page;
  page.push_back(StoreField("AltFont", FieldKind::kChoice, "1", {"ＭＳ Ｐゴシック", "メイリオ"}));
  page.push_back(StoreField("SizeRate", FieldKind::kSizeRate, "1.0"));
  page.push_back(StoreField("ColorMode", FieldKind::kFlag, "0"));
  page.push_back(StoreField("ColorModeR", FieldKind::kFlag, "0"));
  page.push_back(StoreField("ClockColor", FieldKind::kColour, "0"));
  page.push_back(StoreField("LVFontSize", FieldKind::kAbsNumber, "20"));
  for (int32_t n = 1; n <= 6; ++n)
    page.push_back(StoreField(Numbered("ShowColumn_", n), FieldKind::kFlag, "1"));
  return page;
}

std::vector<Field> ExternalPage(DeviceLists& devices) {
  std::vector<Field> page;
  page.push_back(RunningField(
      "AMinute", FieldKind::kNumber, "0", [](RunningValues& r) -> int32_t& { return r.AMinute; },
      true));
  page.push_back(RunningField(
      "ASecond", FieldKind::kNumber, "0", [](RunningValues& r) -> int32_t& { return r.ASecond; },
      true));
  page.push_back(RunningField(
      "CancelCNT", FieldKind::kNumber, "0",
      [](RunningValues& r) -> int32_t& { return r.CancelCNT; }, true));
  page.push_back(RunningField(
      "CommandMargin", FieldKind::kNumber, "0",
      [](RunningValues& r) -> int32_t& { return r.CommandMargin; }, true));
  page.push_back(StoreAtOnce("NoPlayMS", FieldKind::kNumber, "0",
                             [](RunningValues& r) -> int32_t& { return r.NoPlayMS; }));
  page.push_back(StoreField("NumSWCH", FieldKind::kNumber, "8"));
  for (int32_t n = 1; n <= 3; ++n) {
    Field port = StoreField(Numbered("ComNo_", n), FieldKind::kChoice, "0", devices::ComPortList());
    port.outOfRangeIsFirst = true;
    page.push_back(port);
    Field baud = StoreField(Numbered("ComBaud_", n), FieldKind::kChoiceText, "38400",
                            devices::BaudRateList());
    // The time-code port (row "BCD") always runs at 2400 bit/s.
    if (n == 1) baud.fixedChoice = "2400";
    page.push_back(baud);
    page.push_back(RunningField(Numbered("SWType_", n), FieldKind::kChoice, "0",
                                [n](RunningValues& r) -> int32_t& { return r.SWType[n - 1]; }, true,
                                {"Remote1", "ACS8.2"}));
  }
  page.push_back(StoreField("USBHIDID", FieldKind::kChoice, "0",
                            {"NA", "1", "2", "3", "4", "5", "6", "7", "8"}));
  page.push_back(RunningField(
      "CNTPulseMS", FieldKind::kAbsNumber, "0",
      [](RunningValues& r) -> int32_t& { return r.CNTPulseMS; }, false));
  page.push_back(StoreField("UseMIDIF", FieldKind::kFlag, "0"));
  page.push_back(StoreField("UseMidiIn", FieldKind::kFlag, "0"));
  for (int32_t input = 0; input < 2; ++input) {
    Field device = RunningField(
        input == 0 ? "MidiOutDeviceName" : "MidiInDeviceName", FieldKind::kMidiDevice, "",
        [input](RunningValues& r) -> int32_t& {
          return input == 0 ? r.MidiOutDeviceID : r.MidiInDeviceID;
        },
        true, devices.MidiNames(input));
    device.input = input;
    page.push_back(device);
  }
  page.push_back(StoreField("MidifReso", FieldKind::kAbsNumber, "14"));
  page.push_back(StoreField("MIDIChOffset", FieldKind::kAbsNumber, "1"));
  page.push_back(StoreField("MIDIStereo", FieldKind::kFlag, "0"));
  page.push_back(StoreField("MidiMode", FieldKind::kChoice, "0", {"標準(YAMAHA)", "RME TotalMix"}));
  return page;
}

std::vector<Field> CntPage() {
  std::vector<Field> page;
  for (int32_t g = 0; g < kCntGroups; ++g) {
    for (int32_t n = 1; n <= kCntInputs; ++n) {
      const std::string key = "CNTFunction_" + std::to_string(g) + "_" + std::to_string(n);
      page.push_back(RunningField(
          key, FieldKind::kCntFunction, "0",
          [g, n](RunningValues& r) -> int32_t& { return r.CNTFunction[g + 4 * (n - 1)]; }, true));
    }
  }
  return page;
}

}  // namespace

std::vector<Field> PageFields(int32_t tab, const foundation::ConfTables& conf,
                              DeviceLists& devices) {
  switch (tab) {
    case kPageGeneral:
      return GeneralPage(conf, devices);
    case kPageDisplay:
      return DisplayPage();
    case kPageExternal:
      return ExternalPage(devices);
    case kPageCnt:
      return CntPage();
    default:
      return {};
  }
}

std::vector<std::string> AirNames(const foundation::ConfTables& conf) {
  std::vector<std::string> names;
  for (const std::string& name : conf.AirName) {
    if (name.empty()) break;
    names.push_back(name);
  }
  return names;
}

}  // namespace settings
