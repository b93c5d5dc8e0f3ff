// Test labels: threads (the virtual wave device's ticker, whose lines reach the debug log, the
// companion's reaper)
// Start-up of the real main window on a temporary program folder and station.
#include <QPlainTextEdit>
#include <QPushButton>
#include <thread>
#include <vector>

#include "audio/c_fgraph.h"
#include "controls/widgets/view/uc_buttons.h"
#include "foundation/app_globals.h"
#include "platform/wave_out_backend.h"
#include "platform/wave_out_virtual.h"
#include "platform/window_registry.h"
#include "playout/view/program_services.h"
#include "tests/platform/wave_out_test_util.h"
#include "tests/playout/frm_main_rig.h"

namespace playouttest {
namespace {

std::vector<std::string> Captions(const widgets::UC_Buttons& strip) {
  std::vector<std::string> captions;
  for (int32_t i = 0; i < strip.NumButtons(); ++i) captions.push_back(strip.GetButtonChar(i));
  return captions;
}

TEST(FrmMainStartupGuiTest, FirstStartWritesDefaultsAndStartsTheClock) {
  FrmMainRig rig;
  rig.Ini();
  playout::FrmMain& w = rig.Start();
  // Every setting read is stored back with its default.
  const std::string ini = rig.IniText();
  for (const char* line :
       {"AirID=A\r\n", "SelectedAir=1\r\n", "LVFontSize=20\r\n", "SizeRate=1.0\r\n",
        "NumSWCH=8\r\n", "PlayerType=0\r\n", "DefaultFadeTime=6000\r\n", "CNTFunction_3_8=0\r\n",
        "TabOrder_LVS_1_6=5\r\n", "TabWidth_LVS_3_6=600\r\n", "ShowColumn_6=1\r\n",
        "USBHIDID=0\r\n", "WindowWidth="}) {
    EXPECT_NE(ini.find(line), std::string::npos) << line;
  }
  const foundation::AppGlobals& g = foundation::Globals();
  EXPECT_EQ(w.windowTitle().toStdString(), "Ondrake - Tarnwick");
  EXPECT_EQ(g.SettingsName, "Ondrake");
  EXPECT_EQ(g.IniPath, rig.bin() + "Ondrake.ini");
  EXPECT_EQ(g.ErrorCatch, 0);
  EXPECT_TRUE(platform::FindWindowExact("Ondrake - Tarnwick"));
  EXPECT_NE(foundation::FindSubClassIndex(w.WindowHandle()), -1);
  EXPECT_TRUE(testsupport::IsFolder(rig.station() + "log"));  // the work folders
  EXPECT_NE(rig.DebugLog().find("****起動****"), std::string::npos);
  // No serial link and no HID unit: no CNT button; no fades: no FO button.
  const playout::FrmMainControls& c = w.Controls();
  EXPECT_EQ(Captions(*c.OPButtons), (std::vector<std::string>{"START", "STOP"}));
  EXPECT_EQ(c.SWButtons->NumButtons(), 8);
  EXPECT_FALSE(c.TextCom->isVisibleTo(&w));
  EXPECT_FALSE(c.Command1->isVisibleTo(&w));
  EXPECT_EQ(w.Engine().State().NoRemoteDevice, 1);
  EXPECT_EQ(w.Engine().State().UseTimeSync, 0);  // no time server
  // The clock: single-shot, precise, 50 ms; it runs pass after pass.
  EXPECT_TRUE(w.TimerClock().isSingleShot());
  EXPECT_EQ(w.TimerClock().timerType(), Qt::PreciseTimer);
  EXPECT_EQ(w.TimerClock().interval(), 50);
  EXPECT_TRUE(QTest::qWaitFor([&] { return w.PassCount() >= 3; }));
  EXPECT_EQ(w.FormReady(), 1);
}

// Each limit start-up holds a setting to.
TEST(FrmMainStartupGuiTest, ClampsTheSettings) {
  struct Case {
    const char* ini;
    float sizeRate;
    int32_t numSWCH;
    int32_t selectedAir;
    int32_t overSec;
    int32_t playerType;
    std::vector<std::string> operatorButtons;
  };
  const std::vector<std::string> plain = {"START", "STOP"};
  const Case cases[] = {
      {"SizeRate=0.5\r\n", 0.7F, 8, 0, 0, 0, plain},
      {"SizeRate=4\r\n", 3.0F, 8, 0, 0, 0, plain},
      {"SizeRate=1.5\r\n", 1.5F, 8, 0, 0, 0, plain},
      {"SizeRate=x\r\n", 1.0F, 8, 0, 0, 0, plain},
      {"NumSWCH=0\r\n", 1.0F, 1, 0, 0, 0, plain},
      {"NumSWCH=12\r\n", 1.0F, 8, 0, 0, 0, plain},
      {"SelectedAir=3\r\nOverSec=-5\r\n", 1.0F, 8, 2, 5, 0, plain},
      {"PlayerType=5\r\n", 1.0F, 8, 0, 0, 1, plain},
      {"PlayerType=-2\r\n", 1.0F, 8, 0, 0, 0, plain},
      {"UseFade=1\r\n", 1.0F, 8, 0, 0, 0, {"START", "STOP", "FO"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.ini);
    FrmMainRig rig;
    rig.Ini(k.ini);
    playout::FrmMain& w = rig.Start();
    playout::PlayoutEngine& e = w.Engine();
    EXPECT_FLOAT_EQ(w.SizeRate(), k.sizeRate);
    EXPECT_EQ(w.NumSWCH(), k.numSWCH);
    EXPECT_EQ(w.Controls().SWButtons->isVisibleTo(&w), k.numSWCH > 1);
    EXPECT_EQ(w.Controls().SWButtons->NumButtons(), k.numSWCH);
    EXPECT_EQ(e.Settings().SelectedAir, k.selectedAir);
    EXPECT_EQ(e.Settings().OverSec, k.overSec);
    EXPECT_EQ(e.Settings().PlayerType, k.playerType);
    EXPECT_EQ(e.State().AttFloor, k.playerType == 0 ? 4000 : 10000);
    EXPECT_EQ(dynamic_cast<audio::C_FGraph*>(&w.Engine().Player()) != nullptr, k.playerType == 1);
    EXPECT_EQ(Captions(*w.Controls().OPButtons), k.operatorButtons);
    EXPECT_EQ(rig.DebugLog().find("PlayerType=-2 -> 0 (C_WaveOut)") != std::string::npos,
              std::string(k.ini) == "PlayerType=-2\r\n");
  }
}

// "ec.txt" beside the program: debug running, with the trace box and the unhook button shown.
TEST(FrmMainStartupGuiTest, EcTxtTurnsTrapsOffAndShowsTheDebugControls) {
  FrmMainRig rig;
  rig.Ini();
  rig.env.dir().WriteFile("bin/ec.txt", "");
  playout::FrmMain& w = rig.Start();
  EXPECT_EQ(foundation::Globals().ErrorCatch, 1);
  EXPECT_TRUE(w.Controls().TextCom->isVisibleTo(&w));
  EXPECT_TRUE(w.Controls().Command1->isVisibleTo(&w));
  w.Command1_Click();
  EXPECT_EQ(foundation::FindSubClassIndex(w.WindowHandle()), -1);
  // Debug running closes without asking.
  w.close();
  EXPECT_TRUE(w.Unloaded());
  EXPECT_TRUE(rig.dialogs.messageBoxes.empty());
}

// What the wave output reports from its own threads reaches the debug log: the device the
// program's services choose (the rig asks for the virtual one, which plays in real time on a
// thread of its own) runs dry in the middle of a page.
TEST(FrmMainStartupGuiTest, WaveOutputLinesGoToTheDebugLog) {
  FrmMainRig rig;
  rig.Ini();
  playout::InstallProgramServices(rig.log);
  foundation::SetDialogService(&rig.dialogs);
  rig.Start();
  const auto device =
      std::dynamic_pointer_cast<platform::VirtualWaveOut>(platform::CurrentWaveOut());
  ASSERT_TRUE(device);
  device->ScriptFault(platform::VirtualFault::kUnderrun, 1);
  const platform::WaveFormat format = wavetest::PcmFormat(16, 2, 8000);
  const platform::WaveHandle stream = wavetest::OpenOk(*device, 0, format);
  const auto page = wavetest::MakePage(format, 800, 1);
  wavetest::Queue(*device, stream, *page);
  EXPECT_TRUE(QTest::qWaitFor([&] {
    return rig.DebugLog().find("wave output \"virtual\": underrun") != std::string::npos;
  }));
  device->Reset(stream);
  device->Close(stream);
  playout::RemoveProgramServices();
}

// Sessions 0 and 2 taken: this instance is session 1, "B", in every name it uses.
TEST(FrmMainStartupGuiTest, TakesTheFirstFreeSession) {
  FrmMainRig rig;
  auto s0 = platform::WindowRegistration::Claim("Ondrake - Tarnwick");
  auto s2 = platform::WindowRegistration::Claim("OndrakeC - Tarnwick");
  ASSERT_TRUE(s0 && s2);
  rig.Ini("", "OndrakeB");
  // A companion that notes its arguments.
  const std::string args = rig.env.dir().Sub("companion_args");
  rig.env.dir().WriteFile("bin/Ferlune", "#!/bin/sh\necho \"[$*]\" > " + args + "\n");
  ::chmod((rig.bin() + "Ferlune").c_str(), 0755);
  playout::FrmMain& w = rig.Start();
  EXPECT_EQ(w.CurrentSession().index, 1);
  EXPECT_EQ(w.windowTitle().toStdString(), "OndrakeB - Tarnwick");
  EXPECT_TRUE(platform::FindWindowExact("OndrakeB - Tarnwick"));
  EXPECT_EQ(foundation::Globals().SettingsName, "OndrakeB");
  EXPECT_EQ(foundation::Globals().IniPath, rig.bin() + "OndrakeB.ini");
  EXPECT_NE(rig.IniText("OndrakeB").find("AirID=A"), std::string::npos);
  EXPECT_TRUE(QTest::qWaitFor([&] { return testsupport::ReadWholeFile(args) == "[B]\n"; }))
      << testsupport::ReadWholeFile(args);
}

// All four sessions taken: the program ends before it writes anything, and says why.
TEST(FrmMainStartupGuiTest, EndsWhenEverySessionIsTaken) {
  FrmMainRig rig;
  std::vector<std::unique_ptr<platform::WindowRegistration>> taken;
  for (const char* letter : {"", "B", "C", "D"}) {
    taken.push_back(
        platform::WindowRegistration::Claim(std::string("Ondrake") + letter + " - Tarnwick"));
  }
  testing::internal::CaptureStderr();
  rig.window = std::make_unique<playout::FrmMain>(rig.log);
  EXPECT_FALSE(rig.window->Form_Load());
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("all 4 sessions are in use"), std::string::npos) << said;
  EXPECT_FALSE(testsupport::PathExists(rig.bin() + "log"));
  EXPECT_FALSE(testsupport::PathExists(rig.bin() + "Ondrake.ini"));
  EXPECT_FALSE(testsupport::PathExists(rig.bin() + "conf.ini"));
}

}  // namespace
}  // namespace playouttest
