#include "settings/settings_dialog_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

#include "settings/cnt_functions.h"
#include "settings/dialog_numbers.h"
#include "tests/settings/settings_fakes.h"

namespace settings {
namespace {

using settingstest::FakeDevices;
using settingstest::FakeRunning;
using settingstest::RecordingStore;
using Keys = std::vector<std::string>;

class SettingsDialogModelTest : public ::testing::Test {
 protected:
  SettingsDialogModelTest() {
    conf.AirName = {"本線", "サブ", "", "予備"};
    station.LocalPath = "/srv/local/";
    station.SrvPath[0] = "/mnt/server/";
    RunningValues& r = running.values;
    r.AirID = "B";
    r.SelectedAir = 1;
    r.OverSec = 3;
    r.AMinute = 30;
    r.CNTPulseMS = 40;
    r.SWType = {0, 1, 0};
    r.MidiOutDeviceID = 1;
    r.CNTFunction[0] = 2;  // MIDI-1: STOP
    r.CNTFunction[1] = 2;  // シリアル1-1: STOP
    // What start-up read them from.
    store.values = {{"AirID", "B"},           {"SelectedAir", "2"},    {"OverSec", "3"},
                    {"AMinute", "30"},        {"CNTPulseMS", "40"},    {"SWType_2", "1"},
                    {"CNTFunction_0_1", "2"}, {"CNTFunction_1_1", "2"}};
  }

  SettingsDialogModel& Open(std::initializer_list<int32_t> tabs = {0, 1, 2, 3}) {
    model = std::make_unique<SettingsDialogModel>(
        DialogPorts{&store, &running, &devices, &conf, &station});
    for (int32_t tab : tabs) model->BuildPage(tab);
    return *model;
  }
  Field& F(const std::string& key) {
    Field* field = model->Find(key);
    EXPECT_NE(field, nullptr) << key;
    static Field none;
    return field != nullptr ? *field : none;
  }
  std::optional<std::string> Stored(const std::string& key) const {
    const auto at = store.values.find(key);
    return at == store.values.end() ? std::nullopt : std::optional<std::string>(at->second);
  }

  foundation::ConfTables conf;
  foundation::StationSettings station;
  RecordingStore store;
  FakeRunning running;
  FakeDevices devices;
  std::unique_ptr<SettingsDialogModel> model;
};

TEST_F(SettingsDialogModelTest, PagesReadTheirKeysWithDefaultsAndShowStoreOrRunningValues) {
  store.values["ComNo_2"] = "9";
  store.values["WaveDeviceName"] = " FRONT:card=PCH,DEV=0";
  running.values.CNTFunction[2] = 7;  // シリアル2-1: no such function
  Open();
  // Each default with the keys read with it.
  const std::pair<const char*, Keys> byDefault[] = {
      {"0", {"StopAdjMS",  "OverSec",   "UseFade",       "PlayerType", "ForceLoad",  "ForceOA",
             "NoTimeSkip", "NoCNTSkip", "ColorMode",     "ColorModeR", "ClockColor", "AMinute",
             "ASecond",    "CancelCNT", "CommandMargin", "NoPlayMS",   "USBHIDID",   "CNTPulseMS",
             "UseMIDIF",   "UseMidiIn", "MIDIStereo",    "MidiMode"}},
      {"", {"WaveDeviceName", "MidiOutDeviceName", "MidiInDeviceName"}},
      {"1", {"SelectedAir", "AltFont", "MIDIChOffset"}},
      {"2", {"PrepDay"}},
      {"8", {"NumSWCH"}},
      {"14", {"MidifReso"}},
      {"20", {"LVFontSize"}},
      {"A", {"AirID"}},
      {"1.0", {"SizeRate"}},
      {"3000", {"FadeMargin"}},
      {"6000", {"DefaultFadeTime"}}};
  std::map<std::string, std::string> defaults;
  for (const auto& [text, keys] : byDefault)
    for (const std::string& key : keys) defaults[key] = text;
  for (int n = 1; n <= 3; ++n) {
    defaults["CueActive_" + std::to_string(n)] = "0";
    defaults["ComNo_" + std::to_string(n)] = "0";
    defaults["ComBaud_" + std::to_string(n)] = "38400";
    defaults["SWType_" + std::to_string(n)] = "0";
  }
  for (int n = 1; n <= 6; ++n) defaults["ShowColumn_" + std::to_string(n)] = "1";
  for (int g = 0; g < 4; ++g)
    for (int n = 1; n <= 8; ++n)
      defaults["CNTFunction_" + std::to_string(g) + "_" + std::to_string(n)] = "0";
  EXPECT_EQ(store.loads, defaults);

  struct Shown {
    const char* key;
    std::string text;  // for text entries
    int32_t value;     // for flags and choices (-9: not looked at)
  };
  const Shown shown[] = {
      {"SrvPath", "/mnt/server/", -9},
      {"LocalPath", "/srv/local/", -9},
      {"AirID", "B", -9},
      {"SelectedAir", "", 1},
      {"PrepDay", "2", -9},
      {"SizeRate", "1.0", -9},
      {"AltFont", "", 1},
      {"ShowColumn_4", "", 1},
      {"ComBaud_2", "", 9},
      {"ComBaud_1", "", 4},  // fixed at "2400"
      {"ComNo_2", "", 0},
      {"WaveDeviceName", "", 1},
      {"AMinute", "30", -9},
      {"CNTPulseMS", "40", -9},
      {"SWType_2", "", 1},
      {"MidiOutDeviceName", "", 1},
      {"MidiInDeviceName", "", -1},
      {"CNTFunction_1_1", "STOP", -9},
      {"CNTFunction_2_1", "", -9},
  };
  for (const Shown& s : shown) {
    const Field& f = F(s.key);
    if (s.value == -9) {
      EXPECT_EQ(f.text, s.text) << s.key;
    } else {
      EXPECT_EQ(f.value, s.value) << s.key;
    }
  }
  EXPECT_TRUE(F("ComBaud_1").locked);
  EXPECT_EQ(F("SelectedAir").choices, (Keys{"本線", "サブ"}));
}

// Gives every field of a page an entry other than the one it shows.
void ChangeEverything(std::vector<Field>& page) {
  for (Field& f : page) {
    if (f.locked) continue;
    switch (f.kind) {
      case FieldKind::kFolder:
        f.text = "/other/" + f.key;
        break;
      case FieldKind::kAirId:
        f.text = "C";
        break;
      case FieldKind::kSizeRate:
        f.text = "1.5";
        break;
      case FieldKind::kCntFunction:
        f.text = f.text == "FO" ? "START" : "FO";
        break;
      case FieldKind::kFlag:
        f.value = 1 - f.value;
        break;
      case FieldKind::kColour:
        f.value = 0x123456;
        break;
      case FieldKind::kChoice:
      case FieldKind::kChoiceText:
      case FieldKind::kMidiDevice:
        f.value = (f.value + 1) % static_cast<int32_t>(f.choices.size());
        break;
      default:
        f.text = std::to_string(std::stoi(f.text) + 7);
        break;
    }
  }
}

TEST_F(SettingsDialogModelTest, OkWritesEachBuiltPageInItsOrderAndOnlyWhatChanged) {
  Open();
  for (int32_t tab = 0; tab < kPageCount; ++tab) ChangeEverything(model->Page(tab));
  ASSERT_TRUE(model->Ok().accepted);
  Keys expected = {
      "<station>",        "AirID",        "SelectedAir",  "PrepDay",        "StopAdjMS",
      "OverSec",          "CueActive_1",  "CueActive_2",  "CueActive_3",    "UseFade",
      "DefaultFadeTime",  "FadeMargin",   "PlayerType",   "WaveDeviceName", "ForceLoad",
      "ForceOA",          "NoTimeSkip",   "NoCNTSkip",    "AltFont",        "SizeRate",
      "ColorMode",        "ColorModeR",   "ClockColor",   "LVFontSize",     "ShowColumn_1",
      "ShowColumn_2",     "ShowColumn_3", "ShowColumn_4", "ShowColumn_5",   "ShowColumn_6",
      "AMinute",          "ASecond",      "CancelCNT",    "CommandMargin",  "NoPlayMS",
      "NumSWCH",          "ComNo_1",      "ComBaud_1",    "SWType_1",       "ComNo_2",
      "ComBaud_2",        "SWType_2",     "ComNo_3",      "ComBaud_3",      "SWType_3",
      "USBHIDID",         "CNTPulseMS",   "UseMIDIF",     "UseMidiIn",      "MidiOutDeviceName",
      "MidiInDeviceName", "MidifReso",    "MIDIChOffset", "MIDIStereo",     "MidiMode"};
  for (int g = 0; g < 4; ++g)
    for (int n = 1; n <= 8; ++n)
      expected.push_back("CNTFunction_" + std::to_string(g) + "_" + std::to_string(n));
  EXPECT_EQ(store.saves, expected);
  EXPECT_EQ(Stored("ComBaud_1"), "2400");

  // The next opening shows what was written and applied; OK with no change writes nothing.
  store.saves.clear();
  Open();
  EXPECT_TRUE(model->Ok().accepted);
  EXPECT_EQ(store.saves, Keys{});

  // Only built pages are written, page 0 first; the others' running values stay as they were.
  const RunningValues before = running.values;
  Open({2, 0});
  F("NumSWCH").text = "4";
  F("PrepDay").text = "5";
  model->Ok();
  EXPECT_EQ(store.saves, (Keys{"PrepDay", "NumSWCH"}));
  EXPECT_EQ(running.values.CNTFunction, before.CNTFunction);
}

TEST_F(SettingsDialogModelTest, EntriesBecomeStoredTextsAndRunningValues) {
  store.values["SizeRate"] = "1.5";
  using Running = std::function<int32_t(const RunningValues&)>;
  const Running overSec = [](const RunningValues& r) { return r.OverSec; };
  const Running air = [](const RunningValues& r) { return r.SelectedAir; };
  const Running midiOut = [](const RunningValues& r) { return r.MidiOutDeviceID; };
  const Running cnt0 = [](const RunningValues& r) { return r.CNTFunction[0]; };
  struct Case {
    const char* key;
    const char* text;  // nullptr: the value is set instead
    int32_t value;
    const char* written;  // nullptr: the key keeps its stored text
    Running running = {};
    int32_t runningValue = 0;
  };
  const Case cases[] = {
      {"OverSec", "-5", 0, "5", overSec, 5},
      {"OverSec", "-2147483648", 0, nullptr, overSec, 3},
      {"OverSec", "2147483648", 0, nullptr, overSec, 3},
      {"PrepDay", "abc", 0, nullptr},
      {"PrepDay", " 2.5 ", 0, nullptr},  // rounds to the even 2: unchanged
      {"PrepDay", "3.5", 0, "4"},
      {"PrepDay", "-1e1", 0, "-10"},
      {"SizeRate", "1", 0, "1.0"},
      {"SizeRate", "1.25", 0, "1.2"},
      {"SizeRate", "1e39", 0, nullptr},
      {"SelectedAir", nullptr, -1, nullptr, air, 1},
      {"SelectedAir", nullptr, 0, "1", air, 0},
      {"PlayerType", nullptr, -1, nullptr},
      {"WaveDeviceName", nullptr, -1, nullptr},
      {"MidiOutDeviceName", nullptr, -1, nullptr, midiOut, 1},
      {"MidiOutDeviceName", nullptr, 0, "Desk", midiOut, 0},
      {"CNTFunction_0_1", "stop", 0, "0", cnt0, 0},
      {"CNTFunction_0_1", "", 0, nullptr, cnt0, 2},
      {"CNTFunction_0_1", "時刻較正", 0, "4", cnt0, 4},
  };
  const auto initialStore = store.values;
  const RunningValues initialRunning = running.values;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " " + (c.text ? c.text : std::to_string(c.value)));
    store.values = initialStore;
    running.values = initialRunning;
    Open();
    if (c.text != nullptr) {
      F(c.key).text = c.text;
    } else {
      F(c.key).value = c.value;
    }
    store.saves.clear();
    ASSERT_TRUE(model->Ok().accepted);
    const bool written =
        std::find(store.saves.begin(), store.saves.end(), c.key) != store.saves.end();
    EXPECT_EQ(written, c.written != nullptr);
    if (c.written != nullptr) {
      EXPECT_EQ(Stored(c.key), c.written);
    }
    if (c.running) {
      EXPECT_EQ(c.running(running.values), c.runningValue);
    }
  }

  // An emptied terminal id becomes "A"; one that cannot be part of a file name is refused, and
  // then nothing is written or set.
  Open({0});
  F("AirID").text = "";
  model->Ok();
  EXPECT_EQ(Stored("AirID"), "A");
  EXPECT_EQ(running.values.AirID, "A");
  for (const std::string& bad : {std::string("a/b"), std::string("a\\b"), std::string("a\0b", 3)}) {
    store.saves.clear();
    const int applies = running.applies;
    Open({0, 1});
    F("AirID").text = bad;
    F("ColorMode").value = 1;
    const SettingsDialogModel::OkResult result = model->Ok();
    EXPECT_FALSE(result.accepted);
    EXPECT_EQ(result.message, SettingsDialogModel::kBadAirIdText);
    EXPECT_EQ(store.saves, Keys{});
    EXPECT_EQ(running.applies, applies);
  }
}

TEST_F(SettingsDialogModelTest, RunningValuesAfterOkAndAfterCancel) {
  // Cancel: the model goes without OK.
  Open();
  F("AMinute").text = "15";
  F("ForceOA").value = 1;
  store.saves.clear();
  model.reset();
  EXPECT_EQ(running.values.AMinute, 30);
  EXPECT_EQ(running.applies, 0);
  EXPECT_EQ(store.saves, Keys{});

  Open();
  F("AMinute").text = "15";
  F("ForceOA").value = 1;
  F("SWType_2").value = 0;
  F("CNTPulseMS").text = "-99";  // written, but acts at the next start
  F("CNTFunction_3_8").text = "FO";
  F("PrepDay").text = "9";  // acts at the next start
  model->Ok();
  const RunningValues& r = running.values;
  EXPECT_EQ(r.AMinute, 15);
  EXPECT_EQ(r.ForceOA, 1);
  EXPECT_EQ(r.SWType, (std::array<int32_t, 3>{0, 0, 0}));
  EXPECT_EQ(r.CNTPulseMS, 40);
  EXPECT_EQ(Stored("CNTPulseMS"), "99");
  EXPECT_EQ(r.CNTFunction[3 + 4 * 7], 3);
  EXPECT_EQ(running.applies, 1);
}

TEST_F(SettingsDialogModelTest, ChangedFoldersGetTheirSeparatorAndNewWorkFolders) {
  Open({0});
  F("LocalPath").text = "/srv/local";  // the same folder
  model->Ok();
  EXPECT_EQ(store.saves, Keys{});

  Open({0});
  F("LocalPath").text = "/data/local";
  F("SrvPath").text = "/mnt/srv2";
  model->Ok();
  EXPECT_EQ(store.saves, Keys{"<station>"});
  EXPECT_EQ(station.LocalPath, "/data/local/");
  EXPECT_EQ(station.LocalLogFolder, "/data/local/log/");
  EXPECT_EQ(station.LocalCommandFolder, "/data/local/command/");
  EXPECT_EQ(station.SrvPath[0], "/mnt/srv2/");
  EXPECT_EQ(station.ServerConfFolder[0], "/mnt/srv2/conf/");
  EXPECT_EQ(station.ServerSchedFolder, "/mnt/srv2/sched/");
}

TEST(SettingsDialogRulesTest, NumbersFunctionNamesAndInputNames) {
  struct Number {
    const char* text;
    std::optional<int32_t> number;
    std::optional<int32_t> absolute;
  };
  const Number numbers[] = {
      {"12", 12, 12},
      {" -7 ", -7, 7},
      {"+3", 3, 3},
      {"0.5", 0, 0},
      {"1.5", 2, 2},
      {"2.5e0", 2, 2},
      {".5e1", 5, 5},
      {"", {}, {}},
      {"1,000", {}, {}},
      {"&H1F", {}, {}},
      {"1e", {}, {}},
      {"--1", {}, {}},
      {"-2147483648", INT32_MIN, {}},
      {"2147483647.5", {}, {}},
  };
  for (const Number& n : numbers) {
    EXPECT_EQ(DialogNumber(n.text), n.number) << n.text;
    EXPECT_EQ(DialogAbsNumber(n.text), n.absolute) << n.text;
  }
  EXPECT_EQ(SizeRateText("0.75"), "0.8");
  EXPECT_EQ(SizeRateText("-0.01"), "0.0");
  EXPECT_EQ(SizeRateText("4e38"), std::nullopt);

  const std::pair<const char*, int32_t> functions[] = {{"STOP", 2}, {"stop", 0},     {"", 0},
                                                       {"FO", 3},   {"時刻較正", 4}, {"START ", 0}};
  for (const auto& [name, index] : functions) EXPECT_EQ(CNTFunctionIndex(name), index) << name;
  EXPECT_EQ(CntInputName(0, 3), "MIDI-3");
  EXPECT_EQ(CntInputName(1, 1), "シリアル1-1");
  EXPECT_EQ(CntInputName(2, 8), "シリアル2-8");
  EXPECT_EQ(CntInputName(3, 8), "HID-8");
}

}  // namespace
}  // namespace settings
