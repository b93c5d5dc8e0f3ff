#include "settings/view/show_settings_dialog.h"

#include <QPointer>

#include "settings/process_dialog_ports.h"

namespace settings {

FrmConf* ShowSettingsDialog(QWidget* owner, RunningSettings& running, DeviceLists& devices) {
  return ShowSettingsDialog(owner, ProcessDialogPorts(running, devices));
}

FrmConf* ShowSettingsDialog(QWidget* owner, const DialogPorts& ports) {
  static QPointer<FrmConf> open;
  if (open != nullptr) return open;
  open = new FrmConf(ports, owner);
  open->setAttribute(Qt::WA_DeleteOnClose);
  open->setWindowModality(Qt::ApplicationModal);
  open->show();
  return open;
}

}  // namespace settings
