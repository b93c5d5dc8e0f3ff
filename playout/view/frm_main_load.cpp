// Start-up of the main window, in its order: the session, the settings, the controls, the
// player and the equipment, the window's place, the companion and the clock.
#include <QDir>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstdio>

#include "controls/lists/view/uc_list_view.h"
#include "controls/widgets/view/uc_buttons.h"
#include "foundation/app_globals.h"
#include "foundation/command_files.h"
#include "foundation/date_stamp.h"
#include "foundation/error_traps.h"
#include "foundation/files.h"
#include "foundation/font_table.h"
#include "foundation/lang_mode.h"
#include "foundation/paths.h"
#include "foundation/server_config.h"
#include "foundation/settings_store.h"
#include "foundation/station_settings.h"
#include "foundation/sub_class.h"
#include "foundation/sub_class_receiver.h"
#include "foundation/view/qt_font_factory.h"
#include "foundation/view/widget_placement.h"
#include "platform/view/picture_box.h"
#include "playout/device_settings.h"
#include "playout/view/companion_start.h"
#include "playout/view/frm_main.h"
#include "playout/view/trapped_steps.h"
#include "playout/view/window_settings.h"
#include "settings/setting_table.h"

namespace playout {

bool FrmMain::Form_Load() {
  foundation::AppGlobals& g = foundation::Globals();
  g.TwipsPerPixel = platform::ScreenTwipsPerPixel();
  tpp_ = g.TwipsPerPixel;
  QDir::setCurrent(QString::fromStdString(foundation::GetAppFolder()));
  // LogError is read for its write-back only: the debug log is always written.
  (void)foundation::LoadSettingInt("LogError", 1);
  foundation::InitErrorTraps();

  TrappedSteps steps("Form_Load", log_);
  steps.Run("DetectLangMode", [] { foundation::DetectLangMode(); });
  steps.Run("AltFont", [&] {
    const int32_t altFont =
        foundation::LoadSettingInt("AltFont", settings::DefaultNumber("AltFont"));
    if (altFont == 1) foundation::SetUiFontFace("メイリオ");
    foundation::WidgetFontWindow window(this);
    foundation::SetControlFont(&window, 0, nullptr, 0, 0, 0, "");
  });
  g.LogError = 1;
  g.DailyLog = 1;
  steps.Run("DebugLogPath", [&] {
    g.DebugLogPath = foundation::ReadRegValue("DebugLogPath", "", "common");
    if (g.DebugLogPath.empty()) g.DebugLogPath = foundation::GetAppFolder() + "log";
  });
  if (steps.Stopped() || !ProbeSession()) return false;

  steps.Run("SettingsName", [&] {
    g.SettingsName = session_.SettingsName();
    setWindowTitle(QString::fromStdString(session_.Caption()));
    const std::string ini = foundation::GetAppFolder() + g.SettingsName + ".ini";
    g.IniPath = foundation::FileExists(ini) != 0 ? ini : "";
  });
  steps.Run("SubClassHook", [&] {
    hWnd_ = foundation::SubClassWindowHandle(*session_.window);
    receiver_ = foundation::CreateSubClassReceiver(*session_.window);
    foundation::SubClassHook(hWnd_);
  });
  steps.Run("StationSettings", [] {
    foundation::SetColumnCaptions();
    // The work folders live under LocalPath, which the server settings bring.
    foundation::LoadServerSettings(0);
    foundation::EnsureWorkFolders();
    foundation::LoadConfIni(0);
  });
  PlayoutSettings loaded;
  steps.Run("Settings", [&] { loaded = ReadSettings(); });
  if (steps.Stopped()) return false;
  // The engine owns the lists the views show, so it comes before them (and its player with it).
  ports_ = std::make_unique<ProcessPorts>(hWnd_, log_, static_cast<ViewNotifications&>(*this),
                                          static_cast<MessageNotices&>(*this));
  engine_ = std::make_unique<PlayoutEngine>(ports_->Ports(), loaded);
  layout_ = ScaleLayout(DesignedLayout(), sizeRate_);
  BuildControls();
  steps.Run("Lists", [&] { SetUpLists(); });
  steps.Run("Panels", [&] { SetUpPanels(); });
  steps.Run("Devices", [&] { OpenDevices(); });
  steps.Run("Strips", [&] {
    SetUpStrips();
    ApplyLayout();
  });
  steps.Run("ScheduleList", [] {
    foundation::CheckServerAlive();
    foundation::LoadScheduleList(foundation::Station().ServerAlive != 0 ? 0 : 1);
  });
  steps.Run("TimeSync", [&] { DecideTimeSync(); });
  steps.Run("ForceOA", [&] {
    if (engine_->Settings().ForceOA != 0) engine_->TextOA_MouseUD(1, 0);
  });
  steps.Run("DebugControls", [&] {
    ctl_.Command1->setVisible(g.ErrorCatch == 1);
    ctl_.TextCom->setVisible(g.ErrorCatch == 1);
    ctl_.TextCom->raise();
  });
  steps.Run("WindowPlacement", [&] {
    // Without a stored placement the window opens at the designed size, scaled like its
    // controls.
    const QSize minimum = ctl_.client->minimumSize();
    const int designedW = static_cast<int>(kDesignedClientWidth * sizeRate_ / tpp_);
    const int designedH = static_cast<int>(kDesignedClientHeight * sizeRate_ / tpp_);
    resize(std::max(designedW, minimum.width()),
           std::max(designedH, minimum.height()) + menuBar()->sizeHint().height());
    foundation::WidgetPlacementForm placement(*this);
    foundation::LoadWindowPlacement(placement);
  });
  formReady_ = 1;
  steps.Run("Clock", [&] {
    engine_->ResetClockText();
    log_.Write("****起動****", platform::LogSeverity::kInfo);
  });
  steps.Run("Companion", [&] { StartCompanion(foundation::GetAppFolder(), session_.Letter()); });
  steps.Run("TimerClock", [&] { StartClock(); });
  if (steps.Stopped()) {
    std::fprintf(stderr, "Ondrake: start-up stopped: %s\n", steps.Failure().c_str());
    return false;
  }
  WatchCloseSignals();
  return true;
}

bool FrmMain::ProbeSession() {
  const bool multiSession = foundation::LoadSettingInt("UseMultiSession", 1) != 0;
  std::string why;
  session_ = ClaimSession(multiSession, &why);
  if (session_.index >= 0) return true;
  // Nothing has been written: the reason goes where the person who started it can see it.
  std::fprintf(stderr, "Ondrake: not started: %s\n", why.c_str());
  return false;
}

PlayoutSettings FrmMain::ReadSettings() {
  StoreSettingsReader reader;
  PlayoutSettings loaded = LoadPlayoutSettings(reader);
  const WindowSettings window = LoadWindowSettings(reader);
  sizeRate_ = window.SizeRate;
  clockColor_ = window.ClockColor;
  numSWCH_ = window.NumSWCH;
  if (window.StoredPlayerType < 0) {
    log_.Write("PlayerType=" + std::to_string(window.StoredPlayerType) + " -> 0 (C_WaveOut)",
               platform::LogSeverity::kInfo);
  }
  return loaded;
}

void FrmMain::OpenDevices() {
  ExternalDevices& devices = Devices();
  devices.SetTrace([this](const std::string& line) {
    if (engine_) engine_->AddTraceLine(line);
  });
  devices.SetButtonSelector([this](int32_t index) {
    if (ctl_.SWButtons != nullptr) ctl_.SWButtons->SetSelectedButton(index);
  });
  StoreSettingsReader reader;
  devices.Open(LoadDeviceSettings(reader));
  engine_->SetNoRemoteDevice(devices.NoRemoteDevice());
}

void FrmMain::DecideTimeSync() {
  SerialLinks& serial = Devices().Serial();
  const std::array<bool, 3> comOpen = {serial.ComOpen(0), serial.ComOpen(1), serial.ComOpen(2)};
  engine_->SetUseTimeSync(UseTimeSyncAtStart(foundation::Conf().TimeSrv, comOpen, Devices().HidOK(),
                                             engine_->Settings().CNTFunction));
}

void FrmMain::StartClock() {
  engine_->StartClock();
  timerClock_.start(kTickMs);
}

}  // namespace playout
