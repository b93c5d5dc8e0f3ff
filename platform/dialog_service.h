#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The standard dialogs the programs show: message box, folder picker, open/save file dialog,
// colour picker and input box. The view implements them with the toolkit's dialogs; tests use a
// scripted fake. All texts are UTF-8. Every call is modal and made on the user-interface thread.

// The owner window of a dialog: the view's widget pointer, passed through untouched by the core
// (null: no owner).
using OwnerWindow = void*;

// Message-box style bits, as callers have always passed them.
inline constexpr uint32_t kMbOk = 0x0;
inline constexpr uint32_t kMbOkCancel = 0x1;
inline constexpr uint32_t kMbAbortRetryIgnore = 0x2;
inline constexpr uint32_t kMbYesNoCancel = 0x3;
inline constexpr uint32_t kMbYesNo = 0x4;
inline constexpr uint32_t kMbRetryCancel = 0x5;
inline constexpr uint32_t kMbButtonMask = 0xF;
inline constexpr uint32_t kMbIconStop = 0x10;
inline constexpr uint32_t kMbIconQuestion = 0x20;
inline constexpr uint32_t kMbIconExclamation = 0x30;
inline constexpr uint32_t kMbIconInformation = 0x40;
inline constexpr uint32_t kMbIconMask = 0xF0;
inline constexpr uint32_t kMbDefButton1 = 0x000;
inline constexpr uint32_t kMbDefButton2 = 0x100;
inline constexpr uint32_t kMbDefButton3 = 0x200;
inline constexpr uint32_t kMbDefButtonMask = 0xF00;

// Message-box answers.
inline constexpr int32_t kIdOk = 1;
inline constexpr int32_t kIdCancel = 2;
inline constexpr int32_t kIdAbort = 3;
inline constexpr int32_t kIdRetry = 4;
inline constexpr int32_t kIdIgnore = 5;
inline constexpr int32_t kIdYes = 6;
inline constexpr int32_t kIdNo = 7;

// The answers of the box's buttons, left to right, for the button bits of `style`. An unknown
// button value shows a lone OK button.
std::vector<int32_t> MessageBoxButtons(uint32_t style);
// The answer of the default button: the first, second or third button as the style says, the
// first when the style names a button the box does not have.
int32_t MessageBoxDefaultAnswer(uint32_t style);
// The answer a box gives when it is closed without a button (Escape, the close box): Cancel when
// the box has one, OK for a lone OK button, else 0 (the box has no way out but its buttons).
int32_t MessageBoxEscapeAnswer(uint32_t style);

// Where a message box is centred, in desktop pixels, and the desktop's extent it must stay in.
struct BoxCentre {
  int32_t x = 0;
  int32_t y = 0;
  // The desktop's largest right and bottom edge in pixels; below 1 when unknown (no clamp).
  int32_t desktopRight = 0;
  int32_t desktopBottom = 0;
};

struct BoxPosition {
  int32_t x = 0;
  int32_t y = 0;
};

// The top-left corner of a box of width x height pixels centred on `centre`: half the size
// (truncated) left of and above the centre, moved back inside the desktop's right and bottom
// edges when it would cross them, then never left of or above 0.
BoxPosition PlaceBoxOnCentre(const BoxCentre& centre, int32_t width, int32_t height);

struct MessageBoxRequest {
  std::string prompt;
  std::string title;
  uint32_t style = kMbOk;
  OwnerWindow owner = nullptr;
  // Set: the box is moved to PlaceBoxOnCentre(*centre, its size) before it shows. Unset: the
  // toolkit's own placement.
  std::optional<BoxCentre> centre;
};

struct FolderRequest {
  // Shown preselected; may be empty.
  std::string startFolder;
  std::string title;
  OwnerWindow owner = nullptr;
};

// Open-file dialog flags callers pass (the rest are accepted and ignored).
inline constexpr uint32_t kOfnOverwritePrompt = 0x2;
inline constexpr uint32_t kOfnHideReadOnly = 0x4;
inline constexpr uint32_t kOfnNoValidate = 0x100;
inline constexpr uint32_t kOfnPathMustExist = 0x800;
inline constexpr uint32_t kOfnFileMustExist = 0x1000;
inline constexpr uint32_t kOfnExplorer = 0x80000;

// One entry of a file dialog's type list: "Wave files" with "*.wav" ("*.wav;*.mp3" for several).
struct FileFilter {
  std::string description;
  std::string patterns;
};

struct FileDialogRequest {
  bool save = false;
  // The first entry is selected; empty shows every file.
  std::vector<FileFilter> filters;
  std::string startFolder;
  // Preset in the name field; may be a bare name or a full path.
  std::string fileName;
  uint32_t flags = 0;
  OwnerWindow owner = nullptr;
};

struct ColourRequest {
  // &HBBGGRR.
  uint32_t initial = 0;
  // The dialog's sixteen custom colours, &HBBGGRR.
  std::array<uint32_t, 16> customColours{};
  // Open with the custom-colour part shown.
  bool fullOpen = false;
  OwnerWindow owner = nullptr;
};

struct InputRequest {
  std::string prompt;
  std::string title;
  std::string defaultText;
  OwnerWindow owner = nullptr;
};

class DialogService {
 public:
  virtual ~DialogService() = default;
  // The answer code of the button pressed (kIdOk ...); 0 when no box could be shown.
  virtual int32_t ShowMessageBox(const MessageBoxRequest& request) = 0;
  // The chosen folder as the system names it (no trailing separator added); nullopt when
  // cancelled.
  virtual std::optional<std::string> PickFolder(const FolderRequest& request) = 0;
  // The chosen file's full path, of any length; nullopt when cancelled.
  virtual std::optional<std::string> PickFile(const FileDialogRequest& request) = 0;
  // The chosen colour (&HBBGGRR); nullopt when cancelled.
  virtual std::optional<uint32_t> PickColour(const ColourRequest& request) = 0;
  // The text entered; nullopt when cancelled.
  virtual std::optional<std::string> AskText(const InputRequest& request) = 0;
};

}  // namespace platform
