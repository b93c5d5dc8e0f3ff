#pragma once

#include <cstdint>
#include <string>

#include "controls/widgets/tab_strip_model.h"
#include "controls/widgets/view/background_picture.h"
#include "foundation/view/qt_font_factory.h"
#include "platform/view/picture_box.h"

namespace widgets {

// The owner-drawn strip of tabs of the settings dialog (PictureTab): tabs side by side from the
// left, hidden tabs skipped, the selected one in full text colour with a light band along its
// top and open to the page below, the others dimmed and closed by a bottom edge. A click
// inside a tab selects it and raises TabClicked(pIndex); a click on a border or past the last
// tab does nothing.
class UC_Tab : public platform::PictureBox {
  Q_OBJECT

 public:
  // The scale is the process's TwipsPerPixel at creation.
  explicit UC_Tab(QWidget* parent = nullptr);
  ~UC_Tab() override;

  // The strip's background is cut from this picture at (pX, pY) twips; no redraw.
  void SetBGPic(int32_t pX, int32_t pY, platform::PictureBox& pObj) {
    background_.Set(pX, pY, pObj);
  }
  void SetBGPic(int32_t pX, int32_t pY, const platform::PictureSurface& pObj) {
    background_.Set(pX, pY, pObj);
  }
  void SetTabMinWidth(int32_t twips) { model_.TabMinWidth = twips; }
  void SetUseIndpWidth(int32_t value) { model_.UseIndpWidth = value; }
  int32_t SelectedTab() const { return model_.SelectedTab(); }
  // No redraw.
  void SetSelectedTab(int32_t index) { model_.SetSelectedTab(index); }
  void SetClickDisabled(int32_t value) { model_.ClickDisabled = value; }
  void SetTabHidden(int32_t pIndex, int32_t pValue) { model_.SetTabHidden(pIndex, pValue); }
  // Whole points; used from the next NumTab on.
  void SetFontSize(float pValue);
  int32_t NumTab() const { return model_.NumTab(); }
  // The font at FontSize, then the tab count (the remaining tabs are kept).
  void SetNumTab(int32_t count);
  // The tab's text, measured with the strip's font, and the widths that follow from it.
  void SetTabStr(int32_t pIndex, const std::string& pValue);
  void SetTabWidth(int32_t pTab, int32_t pValue) { model_.SetTabWidth(pTab, pValue); }
  // Selects the first visible tab, redraws and raises TabClicked with it.
  void RaiseMinTabClick();
  void DrawAll();

  // For the owner's tests.
  const TabStripModel& Model() const { return model_; }

 signals:
  void TabClicked(int32_t pIndex);

 private:
  void DrawTab(const TabSpan& span, int32_t base, bool selected);
  void Released(double x);

  TabStripModel model_;
  BackgroundPicture background_;
  int32_t fontSize_ = 9;
  foundation::WidgetFontWindow fontWindow_;
};

}  // namespace widgets
