#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "foundation/debug_log.h"
#include "foundation/server_config.h"
#include "foundation/station_settings.h"
#include "foundation/sub_class.h"
#include "foundation/user_dialogs.h"
#include "foundation/view/qt_font_factory.h"
#include "platform/cp932.h"
#include "platform/window_registry_folder.h"
#include "playout/view/frm_main.h"
#include "tests/fakes/platform/fake_dialog_service.h"
#include "tests/support/app_test_env.h"

namespace playouttest {

// A temporary program folder (with the settings INI beside the program), station folder and
// window registry for one real main window. The process-wide state the window fills is put
// back when the rig goes.
class FrmMainRig {
 public:
  FrmMainRig() {
    ::setenv("ONDRAKE_AUDIO_BACKEND", "virtual", 1);
    platform::SetWindowRegistryFolder(env.dir().Sub("windows"));
    ResetProcessState();
    foundation::InstallQtFontFactory();
    foundation::SetDialogService(&dialogs);
    ::mkdir(station().c_str(), 0755);
  }
  ~FrmMainRig() {
    window.reset();
    foundation::SetDialogService(nullptr);
    platform::SetWindowRegistryFolder("");
    ResetProcessState();
  }
  FrmMainRig(const FrmMainRig&) = delete;
  FrmMainRig& operator=(const FrmMainRig&) = delete;

  std::string bin() const { return env.programFolder(); }
  std::string station() const { return env.dir().Sub("station") + "/"; }

  // The instance's INI beside the program: the station folder and `lines` ("Key=value\r\n").
  void Ini(const std::string& lines = "", const std::string& name = "Ondrake") const {
    env.dir().WriteFile("bin/" + name + ".ini",
                        "[conf]\r\nLocalPath=" + station() + "\r\n" + lines);
  }
  std::string IniText(const std::string& name = "Ondrake") const {
    return platform::Cp932ToUtf8(testsupport::ReadWholeFile(bin() + name + ".ini"));
  }
  // Every debug log file of the program folder's log folder, one after the other.
  std::string DebugLog() const {
    std::string all;
    std::error_code ec;  // no log folder yet: no lines
    for (const auto& e : std::filesystem::directory_iterator(bin() + "log/", ec))
      all += testsupport::ReadWholeFile(e.path().string());
    return platform::Cp932ToUtf8(all);
  }

  // Makes the window and runs its start-up, which must succeed.
  playout::FrmMain& Start() {
    window = std::make_unique<playout::FrmMain>(log);
    EXPECT_TRUE(window->Form_Load());
    return *window;
  }
  // The companion's schedule message reaches the window (as its socket would hand it over);
  // the passes read it into the load list.
  void Deliver(const std::string& text) {
    foundation::ReceiveCopyData(window->WindowHandle(),
                                platform::Utf8ToCp932(text) + std::string(2, '\0'));
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return window->Engine().LVS(playout::kListLoad).ItemCount() > 0; }));
  }
  // Shows the window and lets it lay itself out.
  void Show() {
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QCoreApplication::processEvents();
  }

  testsupport::AppTestEnv env;
  platform::FakeDialogService dialogs;
  // The program's log, as main() hands it to the window.
  foundation::DebugLog log;
  std::unique_ptr<playout::FrmMain> window;

 private:
  static void ResetProcessState() {
    foundation::Conf() = foundation::ConfTables{};
    foundation::Station() = foundation::StationSettings{};
    foundation::ResetSubClassTableForTest();
  }
};

}  // namespace playouttest
