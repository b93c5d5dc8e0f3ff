#include "settings/view/frm_conf.h"

#include <QCursor>
#include <variant>

#include "foundation/app_globals.h"
#include "foundation/error_traps.h"
#include "foundation/font_table.h"
#include "foundation/lang_mode.h"
#include "foundation/user_dialogs.h"
#include "foundation/view/design_painter.h"
#include "foundation/view/qt_font_factory.h"
#include "foundation/view/widget_placement.h"

namespace settings {

namespace {

constexpr int32_t kDesignTexture = 14;
constexpr int32_t kExclamationBox = 48;
constexpr int kButtonsWidth = 200;
constexpr int kButtonsHeight = 22;

int32_t Tpp() { return foundation::Globals().TwipsPerPixel; }

}  // namespace

FrmConf::FrmConf(const DialogPorts& ports, QWidget* owner)
    : QDialog(owner), model_(ports), conf_(*ports.conf) {
  setWindowTitle(QStringLiteral("アプリケーション設定"));
  setFixedSize(kMargin * 2 + kPageWidth, kMargin * 3 + kTabHeight + kPageHeight + kButtonsHeight);
  foundation::RunTrapped("FrmConf.Form_Load", [this] { Form_Load(); });
}

FrmConf::~FrmConf() = default;

void FrmConf::Form_Load() {
  if (foundation::LangResourceMissing() != 0) {
    foundation::WidgetFontWindow window(this);
    foundation::SetControlFont(&window, -2, nullptr, 0, 0, 0, "");
  }
  form_ = new platform::PictureBox(this, Tpp());
  form_->setGeometry(rect());
  foundation::PaintPictureDesign(form_->Surface(), kDesignTexture, -1, -1, -1);
  BuildTabPage(-1);
  BuildTabPage(0);
  PictureTab(0)->show();
}

platform::PictureBox* FrmConf::PictureTab(int32_t tab) const {
  return tab >= 0 && tab < kPageCount ? pictureTab_[static_cast<size_t>(tab)] : nullptr;
}

void FrmConf::BuildTabPage(int32_t tab) {
  if (tab < 0) {
    tabConf_ = new widgets::UC_Tab(form_);
    tabConf_->Move(kMargin * Tpp(), kMargin * Tpp(), kPageWidth * Tpp(), kTabHeight * Tpp());
    tabConf_->SetNumTab(kPageCount);
    tabConf_->SetUseIndpWidth(1);
    tabConf_->SetTabMinWidth(720);
    for (int32_t i = 0; i < kPageCount; ++i) tabConf_->SetTabStr(i, kPageCaptions[i]);
    tabConf_->SetBGPic(static_cast<int32_t>(tabConf_->Left()),
                       static_cast<int32_t>(tabConf_->Top()), *form_);
    tabConf_->DrawAll();
    connect(tabConf_, &widgets::UC_Tab::TabClicked, this,
            [this](int32_t index) { TabConf_TabClicked(index); });
    okCancel_ = new widgets::UC_Buttons(form_);
    okCancel_->SetDesignType(1);
    // Wider than the strip's own size, so that "キャンセル" fits in the large-cell face too.
    okCancel_->Move((kMargin + kPageWidth - kButtonsWidth) * Tpp(),
                    (kMargin * 2 + kTabHeight + kPageHeight) * Tpp(), kButtonsWidth * Tpp(),
                    kButtonsHeight * Tpp());
    okCancel_->SetOKCancel(0, 1);
    connect(okCancel_, &widgets::UC_Buttons::ButtonClicked, this,
            [this](int16_t index) { OKCancelButtons_ButtonClicked(index); });
    return;
  }
  if (tab >= kPageCount) return;
  PreparePage(tab);
  model_.BuildPage(tab);
  if (tab == kPageCnt) {
    BuildCnt();
    return;
  }
  PageLayout layout(*PictureTab(tab), model_, bindings_);
  if (tab == kPageGeneral) BuildGeneral(layout);
  if (tab == kPageDisplay) BuildDisplay(layout);
  if (tab == kPageExternal) BuildExternal(layout);
  layout.Finish();
}

void FrmConf::PreparePage(int32_t tab) {
  auto* page = new platform::PictureBox(form_, Tpp());
  pictureTab_[static_cast<size_t>(tab)] = page;
  const platform::PictureBox* first = PictureTab(0);
  const int height = tab == 0 || first == nullptr ? kPageHeight : first->height();
  page->setGeometry(tabConf_->x(), tabConf_->y() + tabConf_->height(), tabConf_->width(), height);
  page->hide();
  page->Surface().SetBackColor(form_->Surface().BackColor());
  foundation::PaintPictureDesign(page->Surface(), kDesignTexture, -1, -1, -1);
}

void FrmConf::TabConf_TabClicked(int32_t pIndex) {
  // A click delivered while a page is being built neither builds nor switches.
  if (cursor().shape() == Qt::WaitCursor || pIndex < 0 || pIndex >= kPageCount) return;
  setCursor(Qt::WaitCursor);
  foundation::RunTrapped("FrmConf.TabConf_TabClicked", [&] {
    if (!model_.Built(pIndex)) BuildTabPage(pIndex);
    for (int32_t i = 0; i < kPageCount; ++i) {
      if (platform::PictureBox* page = PictureTab(i)) page->setVisible(i == pIndex);
    }
  });
  unsetCursor();
}

void FrmConf::OKCancelButtons_ButtonClicked(int16_t ClickedIndex) {
  foundation::RunTrapped("FrmConf.OKCancelButtons_ButtonClicked", [&] {
    if (ClickedIndex == 0) {
      reject();
      return;
    }
    TakeEntries();
    const SettingsDialogModel::OkResult result = model_.Ok();
    if (!result.accepted) {
      const foundation::WidgetPlacementForm placement(*this);
      foundation::MsgBoxCentered(result.message, kExclamationBox,
                                 foundation::Globals().ProgramTitle, &placement, this);
      return;
    }
    accept();
  });
}

void FrmConf::PictureClockColor_Click() {
  if (clockColor_ == nullptr) return;
  platform::PictureSurface& swatch = clockColor_->Surface();
  swatch.SetBackColor(foundation::PickColor(swatch.BackColor(), this));
}

template <typename T>
T FrmConf::ControlOf(const std::string& key) const {
  for (const Binding& b : bindings_) {
    if (b.key == key && std::holds_alternative<T>(b.control)) return std::get<T>(b.control);
  }
  return nullptr;
}

QLineEdit* FrmConf::TextOf(const std::string& key) const { return ControlOf<QLineEdit*>(key); }
QComboBox* FrmConf::ComboOf(const std::string& key) const { return ControlOf<QComboBox*>(key); }
widgets::UC_Check* FrmConf::CheckOf(const std::string& key) const {
  return ControlOf<widgets::UC_Check*>(key);
}
widgets::UC_PathText* FrmConf::PathOf(const std::string& key) const {
  return ControlOf<widgets::UC_PathText*>(key);
}

void FrmConf::TakeEntries() {
  for (const Binding& b : bindings_) {
    Field* field = model_.Find(b.key);
    if (field == nullptr) continue;
    if (auto* text = std::get_if<QLineEdit*>(&b.control))
      field->text = (*text)->text().toStdString();
    if (auto* combo = std::get_if<QComboBox*>(&b.control)) field->value = (*combo)->currentIndex();
    if (auto* check = std::get_if<widgets::UC_Check*>(&b.control)) field->value = (*check)->Value();
    if (auto* path = std::get_if<widgets::UC_PathText*>(&b.control)) field->text = (*path)->Text();
  }
  if (Field* colour = model_.Find("ClockColor"); colour != nullptr && clockColor_ != nullptr)
    colour->value = clockColor_->Surface().BackColor();
  if (lvsc_ != nullptr) {
    std::vector<Field>& cells = model_.Page(kPageCnt);
    for (int32_t row = 0; row < lvsc_->ItemCount() && row < static_cast<int32_t>(cells.size());
         ++row)
      cells[static_cast<size_t>(row)].text = lvsc_->Value(row, 1).Text();
  }
}

}  // namespace settings
