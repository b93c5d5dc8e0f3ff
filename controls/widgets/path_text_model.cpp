#include "controls/widgets/path_text_model.h"

#include <algorithm>

#include "foundation/paths.h"
#include "foundation/user_dialogs.h"

namespace widgets {

void PathTextModel::SetExt(const std::string& ext) {
  ext_ = ext;
  ext_.erase(std::remove(ext_.begin(), ext_.end(), '.'), ext_.end());
}

std::string PathTextModel::DialogFilter() const {
  if (!ext_.empty() && Filter.empty()) return ext_ + "ファイル|*." + ext_;
  return Filter;
}

std::string PathTextModel::StartFolder(const std::string& text) const {
  if (!InitDir.empty()) return InitDir;
  return foundation::SplitPath(text, true, false, false, false, false);
}

PathTextModel::Selection PathTextModel::Select(const std::string& text,
                                               platform::OwnerWindow owner) const {
  Selection selection;
  if (Usage == kNoDialog) {
    selection.raise = true;
    return selection;
  }
  const std::string start = StartFolder(text);
  std::string chosen;
  if (Usage == kFolder) {
    chosen = foundation::BrowseForFolder(start, "", owner);
  } else if (Usage == kOpenFile || Usage == kSaveFile) {
    chosen = foundation::ShowFileDialog(owner, Usage - 1, DialogFilter(), start, text);
    if (!chosen.empty() && !ext_.empty()) chosen = foundation::EnsureExtension(chosen, ext_);
  }
  if (chosen.empty()) return selection;
  selection.raise = true;
  selection.text = chosen;
  return selection;
}

bool PathTextModel::Press(int32_t button) {
  if (!ButtonWorks(button)) return false;
  pressed_ = true;
  return true;
}

PathTextModel::Release PathTextModel::Up(int32_t button) {
  // Only the left button's release ends its press; the picker runs only while the control and
  // its button are still enabled.
  if (!pressed_ || button != 1) return {};
  pressed_ = false;
  return {true, ButtonWorks(button)};
}

}  // namespace widgets
