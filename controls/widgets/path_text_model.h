#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dialog_service.h"

namespace widgets {

// What the path text control's browse button does, free of drawing: which picker it opens, with
// which start folder and type list, what it puts into the box, and the button's pressed state.
class PathTextModel {
 public:
  // Usage values.
  static constexpr int32_t kNoDialog = -1;
  static constexpr int32_t kFolder = 0;
  static constexpr int32_t kOpenFile = 1;
  static constexpr int32_t kSaveFile = 2;

  int32_t Usage = kFolder;
  bool Enabled = true;
  int32_t ButtonDisabled = 0;  // 1: the button does nothing
  int32_t TextDisabled = 0;    // 1: the box is locked
  std::string Filter;          // "|"-separated type list of the file dialogs
  std::string InitDir;
  int32_t FontSize = 9;
  int32_t TextHeight = 300;  // twips

  const std::string& Ext() const { return ext_; }
  // Stored without any '.'.
  void SetExt(const std::string& ext);

  // The box is locked while the control is disabled or its text is: a control enabled again
  // keeps a text that was disabled on its own locked.
  bool TextLocked() const { return !Enabled || TextDisabled == 1; }

  // The type list of the file dialogs: "<ext>ファイル|*.<ext>" when an extension is set and no
  // list is given, else the list.
  std::string DialogFilter() const;
  // Where the pickers open: InitDir, else the folder of the current text.
  std::string StartFolder(const std::string& text) const;

  // The outcome of the button: whether SelectButtonClicked is raised, and the new text.
  struct Selection {
    bool raise = false;
    std::optional<std::string> text;
  };
  // Runs the picker that Usage names through the foundation's dialogs: no picker for -1 (the
  // event alone), the folder picker for 0, the open (1) or save (2) file dialog, whose answer
  // gets the extension when it lacks it. A cancelled picker, or any other Usage, changes nothing
  // and raises nothing.
  Selection Select(const std::string& text, platform::OwnerWindow owner) const;

  // A press on the button: true when it shows pressed (left button, control and button
  // enabled).
  bool Press(int32_t button);
  // The release: whether the button is redrawn (the left button's release of a press) and
  // whether the picker runs (under the press's conditions). A button that showed pressed never
  // stays so, even when it was disabled in between.
  struct Release {
    bool redraw = false;
    bool select = false;
  };
  Release Up(int32_t button);
  bool Pressed() const { return pressed_; }

 private:
  bool ButtonWorks(int32_t button) const { return button == 1 && Enabled && ButtonDisabled != 1; }

  std::string ext_;
  bool pressed_ = false;
};

}  // namespace widgets
