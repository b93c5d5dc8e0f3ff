#pragma once

#include <QWidget>

#include "settings/dialog_ports.h"
#include "settings/view/frm_conf.h"

namespace settings {

// The settings menu's action: opens a fresh settings dialog owned by `owner`, modal for the
// whole program, and returns at once, so the owner's event loop (and the playout's 50 ms pass
// with it) keeps running while the dialog is open. The dialog deletes itself when it closes.
// While one is open, that one is returned and no second one is made.
FrmConf* ShowSettingsDialog(QWidget* owner, RunningSettings& running, DeviceLists& devices);
// The same over ports of the caller's own (tests).
FrmConf* ShowSettingsDialog(QWidget* owner, const DialogPorts& ports);

}  // namespace settings
