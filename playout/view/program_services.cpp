#include "playout/view/program_services.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <atomic>

#include "foundation/user_dialogs.h"
#include "foundation/view/qt_font_factory.h"
#include "foundation/view/widget_placement.h"
#include "platform/view/qt_dialog_service.h"
#include "platform/wave_out_backend.h"

namespace playout {

namespace {

platform::QtDialogService& Dialogs() {
  static platform::QtDialogService service;
  return service;
}

// The wave output's log: its lines come from the output's own threads and are posted to the
// user-interface thread, where the program's log takes them in turn with the window's lines.
// Without a program's log they go to standard error.
class UiThreadLog final : public platform::LogSink {
 public:
  void SetTarget(platform::LogSink* target) { target_.store(target); }

  void Write(const std::string& text, platform::LogSeverity severity) override {
    if (target_.load() == nullptr) {
      platform::StandardErrorLog().Write(text, severity);
      return;
    }
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) return;
    QMetaObject::invokeMethod(
        app,
        [this, text, severity] {
          if (platform::LogSink* target = target_.load()) target->Write(text, severity);
        },
        Qt::QueuedConnection);
  }

 private:
  std::atomic<platform::LogSink*> target_{nullptr};
};

// Never destroyed: a stream of a device that outlives the services may still write to it.
UiThreadLog& WaveOutputLog() {
  static UiThreadLog* const log = new UiThreadLog;
  return *log;
}

}  // namespace

void InstallProgramServices(platform::LogSink& log) {
  foundation::InstallQtFontFactory();
  foundation::InstallScreenMonitorProvider();
  foundation::SetDialogService(&Dialogs());
  WaveOutputLog().SetTarget(&log);
  platform::SetCurrentWaveOut(platform::ChooseWaveOut(WaveOutputLog()));
}

void RemoveProgramServices() {
  platform::SetCurrentWaveOut(nullptr);
  WaveOutputLog().SetTarget(nullptr);
  foundation::SetDialogService(nullptr);
}

}  // namespace playout
