// The playout program: one main window per session, started without arguments.
#include <QApplication>

#include "playout/view/frm_main.h"
#include "playout/view/program_services.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  playout::InstallProgramServices();
  int status = 0;
  {
    playout::FrmMain window;
    if (window.Form_Load()) {
      QObject::connect(&window, &playout::FrmMain::Closed, &app, &QCoreApplication::quit,
                       Qt::QueuedConnection);
      window.show();
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
