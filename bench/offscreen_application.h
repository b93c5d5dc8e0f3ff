#pragma once

#include <QApplication>

#include "foundation/view/qt_font_factory.h"

namespace bench {

// The toolkit for a benchmark of widgets: offscreen unless a platform was chosen, with the font
// table's factory. Made once and never destroyed: at exit the toolkit's own globals may already
// be gone, and tearing the application down then crashes.
inline void EnsureApplication(const char* name) {
  static QApplication* app = nullptr;
  if (app != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char* argv[] = {const_cast<char*>(name), nullptr};
  app = new QApplication(argc, argv);
  foundation::InstallQtFontFactory();
}

}  // namespace bench
