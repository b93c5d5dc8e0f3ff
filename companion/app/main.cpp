// The companion program, started by the playout with its session letter (none for the first
// session) as the only argument.
#include <QApplication>
#include <QDir>
#include <QScreen>
#include <algorithm>
#include <string>

#include "companion/start_up.h"
#include "companion/view/frm_main.h"
#include "controls/lists/view/view_probe.h"
#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "foundation/paths.h"
#include "foundation/view/qt_font_factory.h"
#include "foundation/view/widget_placement.h"
#include "foundation/waits.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QDir::setCurrent(QString::fromStdString(foundation::GetAppFolder()));
  foundation::InstallQtFontFactory();
  foundation::InstallScreenMonitorProvider();
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int dpi = screen != nullptr ? static_cast<int>(screen->logicalDotsPerInchX()) : 96;
  foundation::Globals().TwipsPerPixel = std::max(1, 1440 / std::max(1, dpi));
  const companion::CompanionSettings settings =
      companion::CompanionStartUp(argc > 1 ? std::string(argv[1]) : std::string());
  // Long work (copies, pauses) lets the window's events and the other timers run.
  foundation::SetPendingWorkHook([] { QCoreApplication::processEvents(); });
  foundation::DebugLog debugLog;
  int status = 0;
  {
    companion::FrmMain window(settings, debugLog);
    if (!window.HasCaption()) {
      debugLog.Write("起動済み " + settings.names.Caption, platform::LogSeverity::kInfo);
      foundation::SetPendingWorkHook(nullptr);
      return 0;
    }
    QObject::connect(&window, &companion::FrmMain::Closed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.Form_Load();
    using companion::CompanionList;
    const auto probe =
        lists::ViewProbe::FromEnvironment(settings.names.SettingsName, window,
                                          {{"LVS0", &window.View(CompanionList::kSchedule)},
                                           {"LVS1", &window.View(CompanionList::kOnAir)},
                                           {"LVmes", &window.View(CompanionList::kMessages)},
                                           {"LVCopy", &window.View(CompanionList::kCopy)},
                                           {"LVcue", &window.View(CompanionList::kServerFiles)}});
    status = app.exec();
  }
  foundation::SetPendingWorkHook(nullptr);
  return status;
}
