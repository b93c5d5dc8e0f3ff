#include "settings/view/page_layout.h"

#include "foundation/app_globals.h"
#include "foundation/check_control_setup.h"
#include "foundation/control_layout.h"
#include "foundation/font_table.h"
#include "foundation/view/qt_font_factory.h"
#include "foundation/view/surface_drawing.h"
#include "foundation/view/widget_layout_control.h"

namespace settings {

namespace {

constexpr float kFontSize = 9.0F;
// Room for the box and the gap before the caption, twips.
constexpr double kCheckBoxRoom = 330;

int32_t Tpp() { return foundation::Globals().TwipsPerPixel; }

void Place(QWidget& control, const QWidget& ref, int32_t side, int32_t gapTwips,
           int32_t alignMode) {
  foundation::WidgetLayoutControl c(&control);
  const foundation::WidgetLayoutControl r(const_cast<QWidget*>(&ref));
  foundation::PlaceControlBeside(c, r, side, gapTwips, alignMode, 0);
}

}  // namespace

void SetInterfaceFont(QWidget& widget) {
  foundation::WidgetFontWindow window(&widget);
  foundation::SetControlFont(&window, -2, nullptr, kFontSize, 0, 0, "");
}

void SetSurfaceFont(platform::PictureBox& page) {
  foundation::WidgetFontWindow window(&page);
  const int32_t font = foundation::SetControlFont(&window, -2, nullptr, kFontSize, 0, 0, "");
  if (font >= 0) page.Surface().SetFont(foundation::FontOfEntry(font));
}

PageLayout::PageLayout(platform::PictureBox& page, SettingsDialogModel& model,
                       std::vector<Binding>& bindings)
    : page_(page), model_(model), bindings_(bindings) {
  SetSurfaceFont(page_);
}

void PageLayout::Finish() {
  for (auto& [check, field] : checks_) {
    foundation::InitCheckControl(*check, check->Caption(), field->value, page_, kFontSize, 0, 1.0F);
  }
}

Field& PageLayout::FieldOf(const std::string& key) {
  Field* field = model_.Find(key);
  return field != nullptr ? *field : spare_;
}

QLineEdit* PageLayout::Text(const std::string& key, int x, int y, int width) {
  auto* box = new QLineEdit(&page_);
  box->setGeometry(x, y, width, kTextHeight);
  SetInterfaceFont(*box);
  box->setText(QString::fromStdString(FieldOf(key).text));
  bindings_.push_back({key, box});
  return box;
}

QComboBox* PageLayout::Combo(const std::string& key, int x, int y, int width) {
  auto* combo = new QComboBox(&page_);
  combo->setGeometry(x, y, width, kComboHeight);
  SetInterfaceFont(*combo);
  const Field& field = FieldOf(key);
  for (const std::string& choice : field.choices) combo->addItem(QString::fromStdString(choice));
  combo->setCurrentIndex(field.value < combo->count() ? field.value : -1);
  combo->setEnabled(!field.locked);
  bindings_.push_back({key, combo});
  return combo;
}

widgets::UC_Check* PageLayout::Check(const std::string& key, const std::string& caption, int x,
                                     int y) {
  auto* check = new widgets::UC_Check(&page_);
  const double width = page_.Surface().TextWidth(caption) + kCheckBoxRoom;
  check->Move(x * Tpp(), y * Tpp(), width, kCheckHeight * Tpp());
  check->SetCaption(caption);
  checks_.push_back({check, &FieldOf(key)});
  bindings_.push_back({key, check});
  return check;
}

widgets::UC_PathText* PageLayout::Path(const std::string& key, int x, int y, int width) {
  auto* path = new widgets::UC_PathText(&page_);
  path->Move(x * Tpp(), y * Tpp(), width * Tpp(), kTextHeight * Tpp());
  path->Init();
  path->SetText(FieldOf(key).text);
  bindings_.push_back({key, path});
  return path;
}

void PageLayout::Below(QWidget& control, const QWidget& ref, int gap) {
  Place(control, ref, foundation::kPlaceBelow, gap * Tpp(), 1);
}

void PageLayout::RightOf(QWidget& control, const QWidget& ref, int gap) {
  Place(control, ref, foundation::kPlaceRight, gap * Tpp(), 1);
}

void PageLayout::CentredOn(QWidget& control, const QWidget& ref) {
  Place(control, ref, foundation::kPlaceCentredLevel, 0, 0);
}

void PageLayout::Print(const QWidget& field, const std::string& text, int32_t placement) {
  foundation::PrintTextAligned(page_.Surface(), foundation::AnchorOf(field, Tpp()), text, placement,
                               0, 0);
}

void PageLayout::Caption(const QWidget& field, const std::string& text) { Print(field, text, 0); }
void PageLayout::After(const QWidget& field, const std::string& text) { Print(field, text, 2); }
void PageLayout::Head(const QWidget& field, const std::string& text) { Print(field, text, 3); }

}  // namespace settings
