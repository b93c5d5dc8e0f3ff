#pragma once

#include <QMessageBox>
#include <memory>

#include "platform/dialog_service.h"

class QAbstractButton;

namespace platform {

// The dialog service over the toolkit's own dialogs: QMessageBox, QFileDialog, QColorDialog and
// QInputDialog, each owned by the request's widget.
class QtDialogService final : public DialogService {
 public:
  int32_t ShowMessageBox(const MessageBoxRequest& request) override;
  std::optional<std::string> PickFolder(const FolderRequest& request) override;
  std::optional<std::string> PickFile(const FileDialogRequest& request) override;
  std::optional<uint32_t> PickColour(const ColourRequest& request) override;
  std::optional<std::string> AskText(const InputRequest& request) override;
};

// The message box a request shows, built but not shown: its buttons, icon, default and escape
// buttons follow the style bits, and when the request has a centre the box moves there each time
// it is shown (PlaceBoxOnCentre with its size then).
std::unique_ptr<QMessageBox> BuildMessageBox(const MessageBoxRequest& request);

// The answer code of one of the box's buttons (kIdOk ...); 0 for a button the box did not get
// from BuildMessageBox, or null.
int32_t AnswerOfButton(const QAbstractButton* button);

// The toolkit's type-list entry for a filter: "Wave (*.wav *.mp3)" for {"Wave", "*.wav;*.mp3"}.
QString NameFilterOf(const FileFilter& filter);

}  // namespace platform
