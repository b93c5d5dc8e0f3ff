// The playout program: one main window per session, started without arguments.
#include <QApplication>

#include "controls/lists/view/view_probe.h"
#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "platform/end_deadline.h"
#include "playout/view/frm_main.h"
#include "playout/view/program_services.h"

namespace {

// From the final line of the log to the end of the process; the steps after it take a few
// milliseconds, the rest is what the toolkit and the libraries do on their way out.
constexpr int32_t kEndDeadlineMs = 1500;

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  foundation::DebugLog debugLog;
  playout::InstallProgramServices(debugLog);
  int status = 0;
  {
    playout::FrmMain window(debugLog);
    if (window.Form_Load()) {
      // Once the log says the program ended, nothing may keep it alive for long: the companion
      // waits for it to be gone.
      QObject::connect(&window, &playout::FrmMain::FinalLineWritten, [] {
        platform::EndProcessWithin(kEndDeadlineMs, 0,
                                   "Ondrake: the end took too long; ended at its deadline");
      });
      QObject::connect(&window, &playout::FrmMain::Closed, &app, &QCoreApplication::quit,
                       Qt::QueuedConnection);
      window.show();
      const playout::FrmMainControls& c = window.Controls();
      const auto probe =
          lists::ViewProbe::FromEnvironment(foundation::Globals().SettingsName, window,
                                            {{"onair", c.LVS[playout::kListOnAir]},
                                             {"queue", c.LVS[playout::kListQueue]},
                                             {"load", c.LVS[playout::kListLoad]}});
      status = app.exec();
      // Any other way out of the loop still unloads as a close by the system would.
      if (!window.Unloaded()) window.SystemClose(playout::FrmMain::kCloseByWindows);
    } else {
      status = 1;
    }
  }
  playout::RemoveProgramServices();
  return status;
}
