#pragma once

#include <QWidget>
#include <functional>

namespace playout {

class PlayoutEngine;

// What the menu "設定(&C)" opens: the settings dialog, shown modally and owned by the main
// window. The dialog changes the running settings it owns in place; the window re-reads
// nothing when it closes. The program installs the opener before the window starts; without
// one the menu only writes a log line.
using SettingsDialogOpener = std::function<void(QWidget& owner, PlayoutEngine& engine)>;

// Installs the opener (an empty one removes it).
void SetSettingsDialogOpener(SettingsDialogOpener opener);
const SettingsDialogOpener& GetSettingsDialogOpener();

}  // namespace playout
