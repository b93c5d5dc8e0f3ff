#pragma once

#include <QAction>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "playout/playout_engine.h"
#include "playout/settings_link.h"
#include "settings/process_dialog_ports.h"
#include "settings/view/frm_conf.h"
#include "tests/playout/engine_fixture.h"
#include "tests/settings/settings_fakes.h"

namespace settingstest {

// The least of a main window that opens the settings dialog: a playout engine made from the
// settings store (the process's station tables and settings), its pass run by a single-shot
// 50 ms timer re-armed after each pass, and the menu "設定(&C)" that opens the dialog over the
// engine's running settings.
class DialogHost : public QWidget {
 public:
  DialogHost();
  ~DialogHost() override;

  // The dialog the menu opened last, null once it has closed.
  settings::FrmConf* Dialog() const { return dialog_; }
  playout::PlayoutEngine& Engine() { return *engine_; }
  settings::RunningSettings& Running() { return *running_; }

  QMenuBar* menuBar = nullptr;
  QAction* MenuConf = nullptr;
  int passes = 0;
  playouttest::EngineHarness harness;
  FakeDevices devices;

 private:
  void TimerClock_Timer();

  std::unique_ptr<playout::PlayoutEngine> engine_;
  std::unique_ptr<playout::EngineRunningSettings> running_;
  settings::InstanceSettingsStore store_;
  QTimer timer_;
  QPointer<settings::FrmConf> dialog_;
};

}  // namespace settingstest
