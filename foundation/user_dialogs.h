#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "foundation/window_placement.h"
#include "platform/dialog_service.h"

namespace foundation {

// The standard dialogs as the programs call them: a message box centred on its owner, the folder
// picker, the open and save file dialogs and the colour dialog. They go through the dialog
// service installed with SetDialogService (the view installs the toolkit's at start-up, tests a
// fake). User-interface thread only.

// Installs the service every routine here uses (not owned; null removes it). Without a service
// no dialog shows: MsgBoxCentered answers 0 and every picker reports a cancel.
void SetDialogService(platform::DialogService* service);
platform::DialogService* GetDialogService();

// Where a box owned by `owner` is centred, in pixels: x = R(R(Width) \ 2 + Left) \ twipsPerPixel,
// y likewise from Top and Height (R rounds halves to even, \ truncates), with the desktop's
// extent in pixels for the clamp. nullopt for a minimised owner, a twips-per-pixel below 1 or
// measures beyond the 32-bit range: such a box keeps the toolkit's own placement.
std::optional<platform::BoxCentre> MessageBoxCentreOf(const PlacementForm& owner,
                                                      int32_t twipsPerPixel);

// Shows a modal message box with the style bits of the platform (buttons, icon, default button)
// and returns the answer code (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No); 0 when
// no box could be shown. The box is centred on `owner` (see MessageBoxCentreOf) and kept on the
// desktop; without an owner, or with a minimised one, it is not centred. `ownerWindow` is the
// owner's widget for the toolkit.
int32_t MsgBoxCentered(const std::string& prompt, int32_t style, const std::string& title,
                       const PlacementForm* owner, platform::OwnerWindow ownerWindow = nullptr);

// Folder picker preselecting `start` (without its trailing separator; the current folder when
// empty), titled "フォルダを選択してください" when the title is empty. The chosen folder with a
// trailing separator, or "" when cancelled.
std::string BrowseForFolder(const std::string& start, const std::string& title,
                            platform::OwnerWindow owner = nullptr);

// The type list of a "|"-separated filter: description, pattern, description, pattern... The
// list ends at the first empty part, and a description without its pattern is dropped.
std::vector<platform::FileFilter> ParseFileFilter(const std::string& filter);

// The dialog flags for `flags` -1: the save set (overwrite prompt) only for save 1, the open set
// (file must exist) for any other value. Other flag values are used as given.
uint32_t FileDialogFlags(int32_t save, int32_t flags);

// Open (save 0) or save (any other value) dialog with the filter's first type selected, opening
// in `start` (without its trailing separator) with `fileName` preset. The chosen path, whatever
// its length, or "" when cancelled.
std::string ShowFileDialog(platform::OwnerWindow owner, int32_t save, const std::string& filter,
                           const std::string& start, const std::string& fileName,
                           int32_t flags = -1);

// Colour dialog, fully opened, with `initial` (&HBBGGRR) preselected and as the first custom
// colour (the other fifteen white). The chosen colour, or `initial` when cancelled.
int32_t PickColor(int32_t initial, platform::OwnerWindow owner = nullptr);

}  // namespace foundation
