#include "playout/view/settings_dialog_hook.h"

namespace playout {

namespace {

SettingsDialogOpener& Opener() {
  static SettingsDialogOpener opener;
  return opener;
}

}  // namespace

void SetSettingsDialogOpener(SettingsDialogOpener opener) { Opener() = std::move(opener); }

const SettingsDialogOpener& GetSettingsDialogOpener() { return Opener(); }

}  // namespace playout
