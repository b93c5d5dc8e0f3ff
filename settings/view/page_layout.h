#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "controls/widgets/view/uc_check.h"
#include "controls/widgets/view/uc_path_text.h"
#include "platform/view/picture_box.h"
#include "settings/settings_dialog_model.h"

namespace settings {

// A control of a page and the field of the model it edits.
struct Binding {
  std::string key;
  std::variant<QLineEdit*, QComboBox*, widgets::UC_Check*, widgets::UC_PathText*> control;
};

// Lays out one page of the settings dialog on its surface: makes the controls (filled from the
// model's fields and bound to them), places them beside one another and prints their labels on
// the surface. Positions and sizes are pixels of the page; gaps are 2 pixels unless given. The
// surface must be painted before the first label is printed.
class PageLayout {
 public:
  PageLayout(platform::PictureBox& page, SettingsDialogModel& model,
             std::vector<Binding>& bindings);

  // Sets the check boxes up once they stand where they belong (each takes the part of the page
  // behind it as its background): font, caption and value.
  void Finish();

  QLineEdit* Text(const std::string& key, int x, int y, int width);
  QComboBox* Combo(const std::string& key, int x, int y, int width);
  widgets::UC_Check* Check(const std::string& key, const std::string& caption, int x = 0,
                           int y = 0);
  widgets::UC_PathText* Path(const std::string& key, int x, int y, int width);

  // Top below `ref` (gap pixels), left on its left.
  static void Below(QWidget& control, const QWidget& ref, int gap = 2);
  // Left right of `ref` (gap pixels), top on its top.
  static void RightOf(QWidget& control, const QWidget& ref, int gap = 2);
  // Vertical middle on ref's middle; the left stays.
  static void CentredOn(QWidget& control, const QWidget& ref);

  // A caption left of the field, a unit or text after it, a column head centred above it.
  void Caption(const QWidget& field, const std::string& text);
  void After(const QWidget& field, const std::string& text);
  void Head(const QWidget& field, const std::string& text);

  // Designed heights, pixels.
  static constexpr int kTextHeight = 20;
  static constexpr int kComboHeight = 22;
  static constexpr int kCheckHeight = 18;

 private:
  Field& FieldOf(const std::string& key);
  void Print(const QWidget& field, const std::string& text, int32_t placement);

  platform::PictureBox& page_;
  SettingsDialogModel& model_;
  std::vector<Binding>& bindings_;
  std::vector<std::pair<widgets::UC_Check*, Field*>> checks_;
  Field spare_;  // what a key the model lacks edits
};

// The interface font at 9 points on a text or combo box.
void SetInterfaceFont(QWidget& widget);
// The same on a page, for the labels printed on its surface.
void SetSurfaceFont(platform::PictureBox& page);

}  // namespace settings
