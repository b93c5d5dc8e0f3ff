#include "tests/settings/dialog_host_fixture.h"

#include "playout/device_settings.h"
#include "playout/playout_settings.h"
#include "settings/view/show_settings_dialog.h"

namespace settingstest {

DialogHost::DialogHost() {
  resize(400, 200);
  menuBar = new QMenuBar(this);
  MenuConf = menuBar->addAction(QStringLiteral("設定(&C)"));
  playout::StoreSettingsReader reader;
  harness.settings = playout::LoadPlayoutSettings(reader);
  const playout::PlayoutPorts ports{&harness.clock,         &harness.log,      &foundation::Conf(),
                                    &foundation::Station(), &harness.commands, &harness.players,
                                    &harness.server,        &harness.inbox,    &harness.contacts,
                                    &harness.devices,       &harness.timeSync, &harness.notices,
                                    &harness.view};
  engine_ = std::make_unique<playout::PlayoutEngine>(ports, harness.settings);
  running_ = std::make_unique<playout::EngineRunningSettings>(*engine_, nullptr,
                                                              playout::LoadDeviceSettings(reader));
  connect(MenuConf, &QAction::triggered, this, [this] {
    dialog_ = settings::ShowSettingsDialog(
        this, settings::DialogPorts{&store_, running_.get(), &devices, &foundation::Conf(),
                                    &foundation::Station()});
  });
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, [this] { TimerClock_Timer(); });
  timer_.start(50);
}

DialogHost::~DialogHost() { delete dialog_; }

void DialogHost::TimerClock_Timer() {
  harness.clock.Advance(50);
  engine_->TimerClock_Timer();
  ++passes;
  timer_.start(50);
}

}  // namespace settingstest
