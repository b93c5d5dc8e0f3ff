#include "settings/settings_pages.h"

#include "devices/fct_serial.h"

namespace settings {

const char* const kPageCaptions[kPageCount] = {"一般", "表示", "外部制御", "CNT"};

namespace {

std::vector<std::string> ChoicesOf(Choices choices, const foundation::ConfTables& conf,
                                   DeviceLists& devices) {
  switch (choices) {
    case Choices::kAirNames:
      return AirNames(conf);
    case Choices::kPlayerTypes:
      return {"WaveOut", "FilterGraph"};
    case Choices::kWaveDevices:
      return devices.WaveOutNames();
    case Choices::kFonts:
      return {"ＭＳ Ｐゴシック", "メイリオ"};
    case Choices::kComPorts:
      return devices::ComPortList();
    case Choices::kBaudRates:
      return devices::BaudRateList();
    case Choices::kSwitchers:
      return {"Remote1", "ACS8.2"};
    case Choices::kHidUnits:
      return {"NA", "1", "2", "3", "4", "5", "6", "7", "8"};
    case Choices::kMidiOut:
      return devices.MidiNames(0);
    case Choices::kMidiIn:
      return devices.MidiNames(1);
    case Choices::kMidiModes:
      return {"標準(YAMAHA)", "RME TotalMix"};
    case Choices::kNone:
      break;
  }
  return {};
}

}  // namespace

std::vector<Field> PageFields(int32_t tab, const foundation::ConfTables& conf,
                              DeviceLists& devices) {
  std::vector<Field> page;
  for (const Setting& setting : InstanceSettings()) {
    if (setting.page != tab) continue;
    Field field(setting);
    field.choices = ChoicesOf(setting.choicesFrom, conf, devices);
    page.push_back(std::move(field));
  }
  return page;
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
