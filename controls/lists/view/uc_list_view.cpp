// Construction and set-up of the list view: parts, Init, SetStyle, InitTab and the layout.
#include "controls/lists/view/uc_list_view.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <algorithm>

#include "controls/lists/list_scroll.h"
#include "controls/lists/view/list_icon_strip.h"
#include "foundation/app_globals.h"
#include "foundation/conversions.h"
#include "foundation/error_traps.h"
#include "foundation/font_table.h"
#include "foundation/view/design_painter.h"
#include "foundation/view/qt_font_factory.h"
#include "platform/twips.h"

namespace lists {

using foundation::NearestInt32Saturated;

namespace {

// Font table slots: rows, header, then one per editor kind.
constexpr int kRowsFont = 0;
constexpr int kHeaderFont = 1;
constexpr int kEditorFont = 2;

}  // namespace

UC_ListView::UC_ListView(QWidget* parent, ListModel* model)
    : QWidget(parent), model_(model), pictureTabGrad_(0, 0, foundation::Globals().TwipsPerPixel) {
  if (model_ == nullptr) {
    ownModel_ = std::make_unique<ListModel>();
    model_ = ownModel_.get();
  }
  const int32_t tpp = foundation::Globals().TwipsPerPixel;
  pictureAll_ = new platform::PictureBox(this, tpp);
  pictureAll_->SetBorderStyle(platform::PictureBox::kBorderFixed3D);
  pictureTab_ = new platform::PictureBox(pictureAll_, tpp);
  pictureTab_->setMouseTracking(true);
  pictureList_ = new platform::PictureBox(pictureAll_, tpp);
  pictureList_->setMouseTracking(true);
  pictureIcons_ = DefaultIconStrip();
  menuRCTab_ = new QMenu(this);
  MakeEditors();

  using platform::PictureBox;
  connect(pictureTab_, &PictureBox::MouseDown, this, [this](int32_t b, int32_t, double x, double) {
    foundation::RunTrapped("UC_ListView.PictureTab_MouseDown", [&] { TabMouseDown(b, x); });
  });
  connect(pictureTab_, &PictureBox::MouseMove, this, [this](int32_t b, int32_t, double x, double) {
    foundation::RunTrapped("UC_ListView.PictureTab_MouseMove", [&] { TabMouseMove(b, x); });
  });
  connect(pictureTab_, &PictureBox::MouseUp, this, [this](int32_t b, int32_t, double x, double) {
    foundation::RunTrapped("UC_ListView.PictureTab_MouseUp", [&] { TabMouseUp(b, x); });
  });
  connect(pictureList_, &PictureBox::MouseDown, this,
          [this](int32_t b, int32_t s, double x, double y) {
            foundation::RunTrapped("UC_ListView.PictureList_MouseDown",
                                   [&] { ListMouseDown(b, s, x, y); });
          });
  connect(pictureList_, &PictureBox::MouseMove, this,
          [this](int32_t b, int32_t, double x, double y) {
            foundation::RunTrapped("UC_ListView.PictureList_MouseMove",
                                   [&] { ListMouseMove(b, x, y); });
          });
  connect(pictureList_, &PictureBox::MouseUp, this, [this](int32_t b, int32_t, double x, double y) {
    foundation::RunTrapped("UC_ListView.PictureList_MouseUp", [&] { ListMouseUp(b, x, y); });
  });
  connect(pictureList_, &PictureBox::DblClick, this, [this] {
    foundation::RunTrapped("UC_ListView.PictureList_DblClick", [&] { ListDblClick(); });
  });
  RowsDragDrop::Handlers drops;
  drops.over = [this](double x, double y) { DragOverAt(x, y); };
  drops.drop = [this](RowsDrop& drop) { Dropped(drop); };
  dragDrop_ = std::make_unique<RowsDragDrop>(pictureList_, "UC_ListView", std::move(drops));
}

UC_ListView::~UC_ListView() = default;

void UC_ListView::SetUseUCBar(int32_t use) {
  if (!initialised_) useUCBar_ = use;
}

int32_t UC_ListView::TextComboVisible() const {
  for (EditorKind kind : {kText, kCombo, kList}) {
    const QWidget* editor = Editor(kind, 0);
    if (editor != nullptr && !editor->isHidden()) return 1;
  }
  return 0;
}

double UC_ListView::ListTop() const { return tabDisabled_ == 1 ? 0.0 : kHeaderTwips; }

void UC_ListView::PlaceInAll(QWidget* part, double left, double top, double width, double height) {
  const int32_t tpp = pictureAll_->Surface().TwipsPerPixel();
  const int b = pictureAll_->BorderPixels();
  part->setGeometry(b + platform::TwipsToPixels(left, tpp), b + platform::TwipsToPixels(top, tpp),
                    std::max(0, platform::TwipsToPixels(width, tpp)),
                    std::max(0, platform::TwipsToPixels(height, tpp)));
}

void UC_ListView::MakeBars() {
  const int32_t tpp = pictureAll_->Surface().TwipsPerPixel();
  const int b = pictureAll_->BorderPixels();
  const auto make = useUCBar_ != 0 ? MakeSliderScrollBar : MakeStandardScrollBar;
  hbar_ = make(pictureAll_, false, tpp, b);
  vbar_ = make(pictureAll_, true, tpp, b);
  hbar_->setParent(this);
  vbar_->setParent(this);
  connect(hbar_, &ListScrollBar::Changed, this, [this] {
    foundation::RunTrapped("UC_ListView.HBar_Change", [&] { HBarValueChanged(); });
  });
  connect(vbar_, &ListScrollBar::Changed, this, [this] {
    foundation::RunTrapped("UC_ListView.VBar_Change", [&] { VBarValueChanged(); });
  });
}

void UC_ListView::Init() {
  model_->Init();
  iconMargin_ = iconDisabled_ != 0 ? 6 : 22;
  if (!styled_) {
    SetStyle(9, false, foundation::UiFontFace(), kDefaultForeColor, kDefaultBackColor);
  }
  if (hbar_ == nullptr) MakeBars();
  const int32_t tpp = pictureAll_->Surface().TwipsPerPixel();
  if (tabDisabled_ == 1) pictureTab_->hide();
  PlaceInAll(pictureTab_, 0, 0, pictureTab_->Width(), ListTop());
  PlaceInAll(pictureList_, 0, ListTop(), pictureList_->Width(), pictureList_->Height());
  hbar_->SetHeight(kBarTwips);
  vbar_->SetWidth(kBarTwips);
  vbar_->SetTop(ListTop());
  hbar_->SetLeft(0);
  hbar_->SetSmallChange(tpp);
  vbar_->SetSmallChange(1);
  hbar_->Relayout(0);
  vbar_->Relayout(0);
  // The header cells are cut from the left column of this gradient.
  pictureTabGrad_.Resize(2, platform::TwipsToPixels(kHeaderTwips, tpp));
  pictureTabGrad_.Cls();
  foundation::PaintPictureDesign(pictureTabGrad_, 5, -1, -1, -1);
  initialised_ = true;
}

void UC_ListView::SetStyle(float pSize, bool pBold, const std::string& pName, int32_t pForeColor,
                           int32_t pBackColor) {
  platform::PictureSurface& rows = pictureList_->Surface();
  rows.SetForeColor(pForeColor);
  model_->SetForeColor(pForeColor);
  rows.SetBackColor(pBackColor);
  const int16_t bold = pBold ? -1 : 0;
  fontSlots_[kRowsFont] = foundation::SetControlFont(nullptr, -2, nullptr, pSize, bold, 0, pName);
  oneHeight_ = 0;
  fontSlots_[kHeaderFont] = foundation::SetControlFont(nullptr, -2, nullptr, 0, 0, 0, "");
  for (int k = 0; k < 3; ++k) {
    fontSlots_[kEditorFont + k] =
        foundation::SetControlFont(nullptr, -2, nullptr, pSize, bold, 0, pName);
  }
  ApplyFontSlots();
  rowBoxHeight_ = oneHeight_;
  styled_ = true;
}

void UC_ListView::ApplyFontSlots() {
  const auto font = [this](int slot) { return foundation::FontOfEntry(fontSlots_[slot]); };
  if (fontSlots_[kRowsFont] >= 0) pictureList_->Surface().SetFont(font(kRowsFont));
  if (fontSlots_[kHeaderFont] >= 0) pictureTab_->Surface().SetFont(font(kHeaderFont));
  for (EditorKind kind : {kText, kCombo, kList}) {
    const int slot = kEditorFont + static_cast<int>(kind);
    if (fontSlots_[slot] < 0) continue;
    for (int32_t i = 0; QWidget* editor = Editor(kind, i); ++i) editor->setFont(font(slot));
  }
}

void UC_ListView::InitTab() {
  for (int32_t& slot : fontSlots_) {
    if (slot >= 0) continue;
    slot = foundation::SetControlFont(nullptr, -2, nullptr, 0, 0, 0, "");
    if (slot < 0) slot = 0;
  }
  // The header menu: one entry per display position, captioned from 1.
  const int32_t n = std::max(NumData(), 0);
  QList<QAction*> actions = menuRCTab_->actions();
  for (qsizetype i = actions.size() - 1; i >= n; --i) {
    menuRCTab_->removeAction(actions[i]);
    delete actions[i];
  }
  for (int32_t i = static_cast<int32_t>(actions.size()); i < n; ++i) {
    QAction* action = menuRCTab_->addAction(QString::number(i + 1));
    connect(action, &QAction::triggered, this, [this, i] {
      foundation::RunTrapped("UC_ListView.MenuRCTab_Click", [&] { MenuRCTab_Click(i); });
    });
  }

  // Editors: the first column with an editor of a kind takes element 0 of that kind, the next
  // element 1, and so on. Elements made by an earlier InitTab are used again.
  int32_t counters[3] = {0, 0, 0};
  bool any[3] = {false, false, false};
  ListColumns& columns = model_->Columns();
  for (int32_t k = 0; k < columns.Count(); ++k) {
    ListColumn& c = *columns.Column(k);
    int32_t* indexSlots[3] = {&c.TextIndex, &c.ComboIndexOfTab, &c.ListIndexOfTab};
    for (EditorKind kind : {kText, kCombo, kList}) {
      if ((c.UseTextCombo & (1 << kind)) == 0) continue;
      any[kind] = true;
      if (counters[kind] > 0 && Editor(kind, counters[kind]) == nullptr) {
        foundation::LoadControlInstance(EditorArray(kind), counters[kind], -1, 0, 0, -1);
        WireEditor(kind, counters[kind]);
      }
      *indexSlots[kind] = counters[kind]++;
    }
  }
  ApplyFontSlots();
  EditorHeights();

  platform::PictureSurface& rows = pictureList_->Surface();
  const int32_t tpp = rows.TwipsPerPixel();
  const double textHeight =
      rows.TextHeight("漢") * foundation::FontHeightFactor(fontSlots_[kRowsFont]);
  const int32_t base = NearestInt32Saturated(textHeight * 1.4);
  const auto editorHeight = [&](EditorKind kind) {
    const QWidget* editor = Editor(kind, 0);
    return editor != nullptr ? editor->height() * tpp : 0;
  };
  int32_t rowHeight = base;
  if (any[kCombo]) {
    rowHeight = editorHeight(kCombo) + 2 * tpp;
  } else if (any[kList]) {
    rowHeight = editorHeight(kList) + 2 * tpp;
  } else if (any[kText]) {
    rowHeight = editorHeight(kText) + 4 * tpp;
  }
  oneHeight_ = std::max(oneHeight_, std::max(base, rowHeight));
  rowBoxHeight_ = oneHeight_;
  textTop_ = NearestInt32Saturated((oneHeight_ - textHeight) / 2);
  const bool anyEditor = any[kText] || any[kCombo] || any[kList];
  if (!anyEditor) {
    editorTop_ = textTop_ - 4 * tpp;
  } else {
    editorTop_ = textTop_ - (any[kCombo] || any[kList] ? 4 : 2) * tpp;
    rowBoxHeight_ += tpp;
  }
  int32_t textEditorHeight = oneHeight_ - 2 * tpp;
  if (any[kCombo]) {
    textEditorHeight = editorHeight(kCombo);
  } else if (any[kList]) {
    textEditorHeight = editorHeight(kList);
  }
  for (int32_t i = 0; QWidget* editor = Editor(kText, i); ++i) {
    editor->resize(editor->width(), std::max(1, textEditorHeight / std::max(tpp, 1)));
  }
  UserControl_Resize();
}

void UC_ListView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  foundation::RunTrapped("UC_ListView.UserControl_Resize", [&] { UserControl_Resize(); });
}

void UC_ListView::UserControl_Resize() {
  if (!initialised_) return;
  const int32_t tpp = pictureAll_->Surface().TwipsPerPixel();
  const double w = double(width()) * tpp;
  const double h = double(height()) * tpp;
  if (w < 600 || h < 600) return;
  pictureAll_->Move(0, 0, w - 2 * tpp, h);
  const double allWidth = pictureAll_->Width();
  const double allHeight = pictureAll_->Height();
  PlaceInAll(pictureTab_, 0, 0, w - 2 * tpp, ListTop());
  vbar_->SetLeft(allWidth - vbar_->Width() - 4 * tpp);
  hbar_->SetTop(allHeight - hbar_->Height() - 4 * tpp);
  SetVbarParm();
  hbar_->SetValue(0);
  hScrollOffset_ = 0;
  if (vbar_->Visible()) {
    if (model_->TopItem() > vbar_->Max()) model_->SetTopItem(vbar_->Max());
    vbar_->SetValue(model_->TopItem());
  } else {
    model_->SetTopItem(0);
  }
  model_->SetLastDrawnTop(model_->TopItem());
  ReDrawTab(-1);
  ReDraw();
}

int32_t UC_ListView::YsItem(double y) const {
  return RowAtY(y, oneHeight_, model_->TopItem(), model_->ItemCount());
}

int32_t UC_ListView::TabAtX(double x) const { return model_->Columns().TabAtX(hScrollOffset_ + x); }

}  // namespace lists
