// Construction and set-up of the tree view: parts, Init, SetStyle, the layout, the header and
// the scroll bar.
#include "controls/lists/view/uc_tree_view.h"

#include <algorithm>

#include "controls/lists/tree_scroll.h"
#include "controls/lists/view/list_icon_strip.h"
#include "foundation/app_globals.h"
#include "foundation/conversions.h"
#include "foundation/error_traps.h"
#include "foundation/font_table.h"
#include "foundation/view/design_painter.h"
#include "foundation/view/qt_font_factory.h"
#include "foundation/view/surface_drawing.h"
#include "platform/twips.h"

namespace lists {

UC_TreeView::UC_TreeView(QWidget* parent) : QWidget(parent) {
  const int32_t tpp = foundation::Globals().TwipsPerPixel;
  metrics_.twipsPerPixel = tpp;
  pictureAll_ = new platform::PictureBox(this, tpp);
  pictureAll_->SetBorderStyle(platform::PictureBox::kBorderFixed3D);
  pictureTab_ = new platform::PictureBox(pictureAll_, tpp);
  pictureList_ = new platform::PictureBox(pictureAll_, tpp);
  vbar_ = MakeStandardScrollBar(pictureAll_, true, tpp, pictureAll_->BorderPixels());
  vbar_->setParent(this);
  vbar_->SetVisible(false);
  vbar_->SetSmallChange(1);
  pictureIcons_ = TreeIconStrip();

  using platform::PictureBox;
  connect(pictureList_, &PictureBox::MouseDown, this,
          [this](int32_t b, int32_t, double x, double y) {
            foundation::RunTrapped("UC_TreeView.PictureList_MouseDown",
                                   [&] { ListMouseDown(b, x, y); });
          });
  connect(pictureList_, &PictureBox::MouseMove, this,
          [this](int32_t b, int32_t, double x, double y) {
            foundation::RunTrapped("UC_TreeView.PictureList_MouseMove",
                                   [&] { ListMouseMove(b, x, y); });
          });
  connect(pictureList_, &PictureBox::MouseUp, this, [this](int32_t b, int32_t, double x, double y) {
    foundation::RunTrapped("UC_TreeView.PictureList_MouseUp", [&] { ListMouseUp(b, x, y); });
  });
  connect(pictureList_, &PictureBox::DblClick, this, [this] {
    foundation::RunTrapped("UC_TreeView.PictureList_DblClick", [&] { ListDblClick(); });
  });
  connect(vbar_, &ListScrollBar::Changed, this,
          [this] { foundation::RunTrapped("UC_TreeView.VBar_Change", [&] { VBarChanged(); }); });
  RowsDragDrop::Handlers drops;
  drops.over = [this](double x, double y) { DragOverAt(x, y); };
  drops.leave = [this] { DragLeft(); };
  drops.drop = [this](RowsDrop& drop) { Dropped(drop); };
  dragDrop_ = std::make_unique<RowsDragDrop>(pictureList_, "UC_TreeView", std::move(drops));
}

UC_TreeView::~UC_TreeView() = default;

void UC_TreeView::SetOneHeight(int32_t twips) {
  // A row less than a pixel high would draw nothing and leave the scroll arithmetic nothing
  // to divide by.
  metrics_.oneHeight = std::max(twips, std::max(metrics_.twipsPerPixel, 1));
}

void UC_TreeView::Init() {
  SetOneHeight(metrics_.oneHeight);
  metrics_ = TreeMetricsFor(metrics_.oneHeight, metrics_.twipsPerPixel);
  ready_ = true;
  model_.SetDropTarget(-1);
  if (!styleSet_) SetStyle(9, false, "", kTextColor, kBackColor);
}

void UC_TreeView::SetStyle(int32_t pSize, bool pBold, const std::string& pName, int32_t pForeColor,
                           int32_t pBackColor) {
  const auto slot = [](int32_t index) { return std::max(index, 0); };
  listFontSlot_ = slot(foundation::SetControlFont(nullptr, -2, nullptr, static_cast<float>(pSize),
                                                  pBold ? -1 : 0, 0, pName));
  tabFontSlot_ = slot(foundation::SetControlFont(nullptr, -2, nullptr, 9, 0, 0, pName));
  pictureList_->Surface().SetFont(foundation::FontOfEntry(listFontSlot_));
  pictureTab_->Surface().SetFont(foundation::FontOfEntry(tabFontSlot_));
  platform::PictureSurface& rows = pictureList_->Surface();
  rows.SetForeColor(pForeColor);
  rows.SetBackColor(pBackColor);
  styleSet_ = true;
}

void UC_TreeView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  foundation::RunTrapped("UC_TreeView.UserControl_Resize", [&] { UserControl_Resize(); });
}

void UC_TreeView::Place(QWidget* part, double left, double top, double width, double height) {
  const int32_t tpp = metrics_.twipsPerPixel;
  const int b = pictureAll_->BorderPixels();
  part->setGeometry(b + platform::TwipsToPixels(left, tpp), b + platform::TwipsToPixels(top, tpp),
                    std::max(0, platform::TwipsToPixels(width, tpp)),
                    std::max(0, platform::TwipsToPixels(height, tpp)));
}

void UC_TreeView::UserControl_Resize() {
  if (!ready_) return;
  const double tpp = metrics_.twipsPerPixel;
  pictureAll_->Move(0, 0, width() * tpp, height() * tpp);
  const double allWidth = pictureAll_->Width();
  const double allHeight = pictureAll_->Height();
  const double listWidth = allWidth - 4 * tpp;
  Place(pictureList_, 0, kTabTwips, listWidth, allHeight - kTabTwips - tpp);
  Place(pictureTab_, 0, 0, listWidth, kTabTwips);
  vbar_->SetWidth(kBarTwips);
  vbar_->SetTop(kTabTwips);
  vbar_->SetLeft(allWidth - vbar_->Width() - 4 * tpp);
  vbar_->SetHeight(allHeight - vbar_->Top() - 4 * tpp);
  Refresh();
}

void UC_TreeView::Refresh() {
  model_.ReOrder();
  model_.CalcMaxLevel();
  ReDraw();
  ReDrawTab();
  UpdateTreeVBar();
}

void UC_TreeView::ReDrawTab() {
  platform::PictureSurface& s = pictureTab_->Surface();
  const int32_t tpp = s.TwipsPerPixel();
  s.Cls();
  foundation::PaintPictureDesign(s, 5, -1, -1, -1);
  s.SetCurrentX(6.0 * tpp);
  s.SetCurrentY(3.0 * tpp);
  s.Print(tabName_, false);
  foundation::DrawEdgeBox(s, 0, 0, foundation::NearestInt32Saturated(pictureTab_->Width()),
                          kTabTwips, 0);
}

void UC_TreeView::UpdateTreeVBar() {
  const TreeBarFit fit =
      FitTreeBar(model_.TreeHeight(), pictureList_->Height(), metrics_.oneHeight);
  vbar_->SetMax(fit.max);
  vbar_->SetLargeChange(fit.largeChange);
  vbar_->SetVisible(fit.visible);
}

void UC_TreeView::VBarChanged() {
  model_.SetTopRow(vbar_->Value());
  if (model_.TopRow() != model_.LastDrawnTop()) ReDraw();
  model_.SetLastDrawnTop(model_.TopRow());
}

void UC_TreeView::ShowSelected() {
  const int32_t current = model_.CurrentItem();
  if (current < 0 || current >= model_.Count() || !vbar_->Visible()) return;
  model_.ShownItems(shown_);
  if (shown_[static_cast<size_t>(current)] == 0) return;
  int64_t bottom = 0;
  for (int32_t i = 0; i <= current; ++i) {
    if (shown_[static_cast<size_t>(i)] != 0) bottom += metrics_.oneHeight;
  }
  const int32_t top =
      CentredTopRow(bottom, pictureList_->Height(), metrics_.oneHeight, vbar_->Max());
  model_.SetTopRow(top);
  vbar_->SetValue(top);
}

}  // namespace lists
