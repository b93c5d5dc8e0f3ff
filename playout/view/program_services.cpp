#include "playout/view/program_services.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "foundation/debug_log.h"
#include "foundation/user_dialogs.h"
#include "foundation/view/qt_font_factory.h"
#include "foundation/view/widget_placement.h"
#include "platform/view/qt_dialog_service.h"
#include "platform/wave_out_log.h"

namespace playout {

namespace {

platform::QtDialogService& Dialogs() {
  static platform::QtDialogService service;
  return service;
}

}  // namespace

void InstallProgramServices() {
  foundation::InstallQtFontFactory();
  foundation::InstallScreenMonitorProvider();
  foundation::SetDialogService(&Dialogs());
  platform::SetWaveOutLogSink([](const std::string& line) {
    // The debug log is the user-interface thread's: the line is posted there.
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) return;
    QMetaObject::invokeMethod(
        app, [line] { foundation::WriteLog(line, 1); }, Qt::QueuedConnection);
  });
}

void RemoveProgramServices() {
  platform::SetWaveOutLogSink(nullptr);
  foundation::SetDialogService(nullptr);
}

}  // namespace playout
