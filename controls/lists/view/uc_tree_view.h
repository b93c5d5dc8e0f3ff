#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/lists/drag_origin.h"
#include "controls/lists/tree_model.h"
#include "controls/lists/tree_rows.h"
#include "controls/lists/view/list_scroll_bar.h"
#include "controls/lists/view/rows_drag_drop.h"
#include "platform/system_colors.h"
#include "platform/view/picture_box.h"

class QMimeData;

namespace lists {

// The owner-drawn tree list of the control set: one column of items indented by depth, with
// expand boxes, an icon per item and connector lines, over a TreeModel (see there for the
// items and the index rule: -1 the current item, -2 the last). The host sets OneHeight,
// optionally SetStyle, then Init; it builds the tree with AddItem and the item members
// through index -2, and shows it with Refresh. Nothing is drawn before Init; nothing but the
// members named so redraws.
//
// Events (Qt signals), numbered as the hosts know them; what a host may change is passed as a
// pointer (direct connections only):
//   1 Changed        a button other than the right one released on the rows, and the current
//                    item's DataStr differs from the one last reported
//   2 ReSelected     as 1, with the same DataStr
//   3 RightClicked(X, Y)  the right button released on the rows
//   4 OLEStartDrag(Data, AllowedEffects)  a drag starts from the rows: the host fills Data;
//                    an empty Data drags nothing (the gesture stays a click)
//   5 OLEDragDrop(Data, Effect, Button, Shift, X, Y, pDataStr)  a drop on a marked item;
//                    pDataStr is the item's DataStr, and a value the host gives it is stored
//                    in the item
// X and Y are twips on the rows area; Button 1 left, 2 right, 4 middle; Shift 1 Shift, 2 Ctrl,
// 4 Alt.
class UC_TreeView : public QWidget {
  Q_OBJECT

 public:
  // Height of the header strip, twips.
  static constexpr int32_t kTabTwips = 270;
  // Width of the vertical bar, twips (the platform's standard bar).
  static constexpr int32_t kBarTwips = 255;
  static constexpr int32_t kLineColor = platform::SystemColorRef(platform::COLOR_BTNFACE);
  static constexpr int32_t kTextColor = platform::SystemColorRef(platform::COLOR_WINDOWTEXT);
  static constexpr int32_t kBackColor = platform::SystemColorRef(platform::COLOR_WINDOW);
  // Boxes behind the current item's and the drop target's text (merge-pen-not).
  static constexpr int32_t kCurrentBoxColor = 0xC0A0A0;
  static constexpr int32_t kDropBoxColor = 0xA0A0C0;

  explicit UC_TreeView(QWidget* parent = nullptr);
  ~UC_TreeView() override;

  TreeModel& Model() { return model_; }
  const TreeModel& Model() const { return model_; }

  // --- set-up ---
  int32_t OneHeight() const { return metrics_.oneHeight; }
  // Row height in twips, at least one pixel. Set it before Init, which takes the marks from it.
  void SetOneHeight(int32_t twips);
  // The marks, ready, no drop target; the default style when SetStyle has not run. Draws
  // nothing.
  void Init();
  // Row font (empty name: the user-interface face) and colours; the header takes the face at
  // 9 points.
  void SetStyle(int32_t pSize, bool pBold = false, const std::string& pName = std::string(),
                int32_t pForeColor = kTextColor, int32_t pBackColor = kBackColor);
  const std::string& TabName() const { return tabName_; }
  void SetTabName(const std::string& name) { tabName_ = name; }

  // --- items (see TreeModel) ---
  std::string ItemCount() const { return model_.ItemCount(); }
  int32_t AlreadyHas(const std::string& pStr, int32_t pKey = 0) const {
    return model_.AlreadyHas(pStr, pKey);
  }
  int32_t GetIndexFromID(int32_t pID) const { return model_.GetIndexFromID(pID); }
  std::string IDsSortStr(int32_t pID) const { return model_.IDsSortStr(pID); }
  std::string DispStr(int32_t i) const { return model_.DispStr(i); }
  void SetDispStr(int32_t i, const std::string& v) { model_.SetDispStr(i, v); }
  std::string DataStr(int32_t i) const { return model_.DataStr(i); }
  void SetDataStr(int32_t i, const std::string& v) { model_.SetDataStr(i, v); }
  std::string SortStr(int32_t i) const { return model_.SortStr(i); }
  void SetSortStr(int32_t i, const std::string& v) { model_.SetSortStr(i, v); }
  void SetIconType1(int32_t i, int32_t v) { model_.SetIconType1(i, v); }
  void SetIconType2(int32_t i, int32_t v) { model_.SetIconType2(i, v); }
  int32_t HasChild(int32_t i) const { return model_.HasChild(i); }
  void SetHasChild(int32_t i, int32_t v) { model_.SetHasChild(i, v); }
  int32_t ItemID(int32_t i) const { return model_.ItemID(i); }
  void SetItemID(int32_t i, int32_t v) { model_.SetItemID(i, v); }
  int32_t AuxData(int32_t i) const { return model_.AuxData(i); }
  void SetAuxData(int32_t i, int32_t v) { model_.SetAuxData(i, v); }
  int32_t IsOpened(int32_t i) const { return model_.IsOpened(i); }
  void SetIsOpened(int32_t i, int32_t v) { model_.SetIsOpened(i, v); }
  int32_t ParentItem(int32_t i) const { return model_.ParentItem(i); }
  void SetParentItem(int32_t i, int32_t v) { model_.SetParentItem(i, v); }
  void SetParentItemByValue(int32_t i, const std::string& v) { model_.SetParentItemByValue(i, v); }
  void SetParentItemBySortStr(int32_t i, const std::string& v) {
    model_.SetParentItemBySortStr(i, v);
  }
  void SetSelectedItemByValue(const std::string& v) { model_.SetSelectedItemByValue(v); }
  void OpenItemByValue(const std::string& v, int32_t pOpenItself) {
    model_.OpenItemByValue(v, pOpenItself);
  }
  void AddItem() { model_.AddItem(); }
  void DeleteItem(int32_t i) { model_.DeleteItem(i); }
  void DeleteAll() { model_.DeleteAll(); }
  void ReOrder() { model_.ReOrder(); }
  int32_t CurrentItem() const { return model_.CurrentItem(); }
  int32_t DropTarget() const { return model_.DropTarget(); }
  int32_t TopRow() const { return model_.TopRow(); }
  int32_t TreeHeight() const { return model_.TreeHeight(); }

  // --- drawing and scrolling ---
  // Lays the parts out for the control's size and refreshes; nothing before Init.
  void UserControl_Resize();
  // Repaints the rows; nothing before Init.
  void ReDraw();
  void ReDrawTab();
  // ReOrder, the deepest level, the rows, the header and the bar, in this order.
  void Refresh();
  // Scrolls the current item, when it is shown, to about the middle of the rows area.
  void ShowSelected();

  // --- the parts, for hosts' tests and for looking at ---
  platform::PictureBox& PictureAll() { return *pictureAll_; }
  platform::PictureBox& PictureTab() { return *pictureTab_; }
  platform::PictureBox& PictureList() { return *pictureList_; }
  ListScrollBar& VBar() { return *vbar_; }
  // Icon k at x 16k .. 16k + 15: the image in rows 0 .. 15, its mask in rows 16 .. 31.
  QImage& PictureIcons() { return pictureIcons_; }
  void SetDragStarter(DragStarter starter) { dragDrop_->SetStarter(std::move(starter)); }

 signals:
  void Changed();
  void ReSelected();
  void RightClicked(float X, float Y);
  void OLEStartDrag(QMimeData* Data, int32_t* AllowedEffects);
  void OLEDragDrop(const QMimeData* Data, int32_t* Effect, int16_t Button, int16_t Shift, float X,
                   float Y, std::string* pDataStr);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  class RowPainter;

  void UpdateTreeVBar();
  void VBarChanged();
  void Place(QWidget* part, double left, double top, double width, double height);
  // tree_view_mouse
  void ListMouseDown(int32_t button, double x, double y);
  void ListMouseMove(int32_t button, double x, double y);
  void ListMouseUp(int32_t button, double x, double y);
  void ListDblClick();
  void StartDrag();
  void DragOverAt(double x, double y);
  void DragLeft();
  void Dropped(RowsDrop& drop);

  TreeModel model_;
  TreeRowMetrics metrics_;
  std::string tabName_;
  bool ready_ = false;
  bool styleSet_ = false;
  int32_t listFontSlot_ = 0;
  int32_t tabFontSlot_ = 0;
  int32_t afterDblClick_ = 0;
  DragOrigin dragOrigin_;
  // Set when a drag ran: the platform's drag took the button's release.
  bool dragTookRelease_ = false;
  std::vector<uint8_t> shown_;

  platform::PictureBox* pictureAll_ = nullptr;
  platform::PictureBox* pictureTab_ = nullptr;
  platform::PictureBox* pictureList_ = nullptr;
  ListScrollBar* vbar_ = nullptr;
  QImage pictureIcons_;
  std::unique_ptr<RowsDragDrop> dragDrop_;
};

}  // namespace lists
