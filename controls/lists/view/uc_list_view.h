#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "controls/lists/drag_origin.h"
#include "controls/lists/drag_over_scroll.h"
#include "controls/lists/list_model.h"
#include "controls/lists/list_scroll.h"
#include "controls/lists/view/list_scroll_bar.h"
#include "controls/lists/view/rows_drag_drop.h"
#include "foundation/list_layout_keys.h"
#include "foundation/view/widget_layout_control.h"
#include "platform/system_colors.h"
#include "platform/view/picture_box.h"
#include "platform/view/picture_surface.h"

class QComboBox;
class QLineEdit;
class QMenu;
class QMimeData;

namespace lists {

// The owner-drawn multi-column list of both programs, over one ListModel (its own, or one an
// engine owns and outlives the view with). Set up in this order: the set-up properties, Init,
// optionally SetStyle, the column properties, InitTab; then rows are added (through the
// members below or the model) and shown with ReDraw or Refresh. Row members follow the
// model's addressing (-1 the current row, -2 the last). Nothing but the members named so
// redraws; nothing pumps messages.
//
// Events (Qt signals), numbered as the hosts know them. Arguments a host may change are passed
// as pointers (direct connections only):
//   1 DblClicked            a double click on a list with rows
//   2 TabMoved              a column border was dragged in the header
//   3 TabReOrderd           a column was moved with the header menu
//   4 RightClicked(X, Y)    right button released on the rows
//   5 MouseDown(Button, Shift, X, Y)  a press on the rows, before the selection changes
//   6 Clicked(X, Y)         any other button released on the rows (also a drag that found no
//                           data to drag)
//   7 OLEStartDrag(Data, AllowedEffects)  the selection is about to be dragged: the host puts
//                           what it drags into Data; an empty Data drags nothing
//   8 OLECompleteDrag(Effect)
//   9 OLEDragDrop(Data, Effect, Button, Shift, X, Y)  something was dropped on the rows
//  10 ComboChaged(pData, pValue)  the user chose an entry of a combo or list editor
//  11 TextComboKeyAction(pIsCombo, pTab, pAction, KeyValue, Shift)  a key in an editor:
//                           pAction 0 up, 1 down, 2 press; KeyValue 0 cancels the key, another
//                           character code in a press replaces it
//  12 OLEDragOver           something is dragged over the rows (repeated while it rests)
// X and Y are twips on the rows area; Button 1 left, 2 right; Shift 1 Shift, 2 Ctrl, 4 Alt.
class UC_ListView : public QWidget, public foundation::ListColumnLayout {
  Q_OBJECT

 public:
  static constexpr int32_t kDefaultForeColor = platform::SystemColorRef(platform::COLOR_WINDOWTEXT);
  static constexpr int32_t kDefaultBackColor = platform::SystemColorRef(platform::COLOR_WINDOW);
  // Height of the header strip, twips.
  static constexpr int32_t kHeaderTwips = 285;
  // Width of the vertical and height of the horizontal bar, twips.
  static constexpr int32_t kBarTwips = 270;

  // Without a model the view keeps its own.
  explicit UC_ListView(QWidget* parent = nullptr, ListModel* model = nullptr);
  ~UC_ListView() override;

  ListModel& Model() { return *model_; }
  const ListModel& Model() const { return *model_; }

  // --- set-up properties (stored; none redraws) ---
  int32_t NumData() const override { return model_->NumData(); }
  void SetNumData(int32_t count) { model_->SetNumData(count); }
  int32_t NumAux() const { return model_->NumAux(); }
  void SetNumAux(int32_t count) { model_->SetNumAux(count); }
  // Ignored once Init has run.
  void SetUseUCBar(int32_t use);
  int32_t HbarDisabled() const { return hbarDisabled_; }
  void SetHbarDisabled(int32_t v) { hbarDisabled_ = v; }
  void SetVbarDisabled(int32_t v) { vbarDisabled_ = v; }
  void SetUseMadara(int32_t v) { useMadara_ = v; }
  void SetNoMultiSelect(int32_t v) { noMultiSelect_ = v; }
  void SetBorderIfBlank(int32_t column1) { borderIfBlank_ = column1; }
  void SetNoOleScroll(int32_t v) { noOleScroll_ = v; }
  int32_t OneHeight() const { return oneHeight_; }
  void SetOneHeight(int32_t twips) { oneHeight_ = twips; }
  void SetSelectedColor(int32_t colour) { selectedColor_ = colour; }
  void SetSelectedColorMode(int32_t mode) { selectedColorMode_ = mode; }
  void SetNumWheelScroll(int32_t rows) { numWheelScroll_ = rows; }
  // Kept for hosts: the list never yields to pending messages, with or without it.
  void SetBarNoDoEvents(int32_t v) { barNoDoEvents_ = v; }
  void SetNoAlign4Tab(int32_t v) { noAlign4Tab_ = v; }
  void SetUseScroll(int32_t v) { useScroll_ = v; }
  void SetVLineColor(int32_t colour) { vLineColor_ = colour; }
  void SetInvertSelectedData(int32_t v) { invertSelectedData_ = v; }
  void SetShowToolTip(int32_t v) { showToolTip_ = v; }
  void SetSortDisabled(int32_t v) { sortDisabled_ = v; }
  void SetIconDisabled(int32_t v) { iconDisabled_ = v; }
  // 1: no header (Init gives it no room).
  int32_t TabDisabled() const { return tabDisabled_; }
  void SetTabDisabled(int32_t v) { tabDisabled_ = v; }
  int32_t ClickDisabled() const { return clickDisabled_; }
  void SetClickDisabled(int32_t v) { clickDisabled_ = v; }
  int32_t UseTabOrder() const { return useTabOrder_; }
  void SetUseTabOrder(int32_t v) { useTabOrder_ = v; }
  int32_t HideTextCombo() const { return hideTextCombo_; }
  void SetHideTextCombo(int32_t v) { hideTextCombo_ = v; }
  // 1 when element 0 of any editor kind is shown.
  int32_t TextComboVisible() const;

  // --- set-up operations ---
  // Columns sized to NumData, no rows; the bars are made on the first call only.
  void Init();
  // The rows' font and colours; leaves OneHeight 0 until the next InitTab.
  void SetStyle(float pSize, bool pBold = false, const std::string& pName = std::string(),
                int32_t pForeColor = kDefaultForeColor, int32_t pBackColor = kDefaultBackColor);
  // Editors for the columns that ask for them (only the missing ones are made), the header
  // menu, the row height and text offsets; then UserControl_Resize.
  void InitTab();
  // Lays the parts out for the present size and redraws; nothing before Init or below 600
  // twips either way.
  void UserControl_Resize();

  // --- columns (column numbers 0 .. NumData - 1; see ListColumns) ---
  std::string TabName(int32_t c) const { return model_->Columns().TabName(c); }
  void SetTabName(int32_t c, const std::string& name) { model_->Columns().SetTabName(c, name); }
  int32_t TabHidden(int32_t c) const { return model_->Columns().TabHidden(c); }
  void SetTabHidden(int32_t c, int32_t hidden) { model_->Columns().SetTabHidden(c, hidden); }
  int32_t TabWidth(int32_t c) const override { return model_->Columns().TabWidth(c); }
  void SetTabWidth(int32_t c, int32_t twips) { model_->Columns().SetTabWidth(c, twips); }
  int32_t TabAlign(int32_t c) const { return model_->Columns().TabAlign(c); }
  void SetTabAlign(int32_t c, int32_t align) { model_->Columns().SetTabAlign(c, align); }
  int32_t TabOrder(int32_t c) const override { return model_->Columns().TabOrder(c); }
  void SetTabOrder(int32_t c, int32_t position) { model_->Columns().SetTabOrder(c, position); }
  // Every column's display position at once (a saved order); the default order when the
  // positions are not a permutation. False then.
  bool RestoreTabOrder(const std::vector<int32_t>& positions) {
    return model_->Columns().RestoreTabOrder(positions);
  }
  int32_t DataNumeric(int32_t c) const { return model_->Columns().DataNumeric(c); }
  void SetDataNumeric(int32_t c, int32_t v) { model_->Columns().SetDataNumeric(c, v); }
  void SetTextIsTime(int32_t c, int32_t v) { model_->Columns().SetTextIsTime(c, v); }
  void SetUseTextCombo(int32_t c, int32_t bits) { model_->Columns().SetUseTextCombo(c, bits); }
  void SetFrontObj(int32_t c, int32_t kind) { model_->Columns().SetFrontObj(c, kind); }
  // Draws the header (column `pPushedData` pressed, -1 none) and places the editors across.
  void ReDrawTab(int32_t pPushedData);
  // Every column as wide as its widest cell text (at least 450 twips); then redraws.
  void SetTabWidthAuto();
  // The shown column under x twips of the header or rows (the scroll offset added).
  int32_t TabAtX(double x) const;
  // How wide a cell text of column c, or its header caption, may be before the drawing cuts
  // it (twips; the first shown column gives the room for the icon away).
  double CellTextRoom(int32_t c) const;
  double CaptionRoom(int32_t c) const;
  // Position of the cell's text among the entries of the column's combo editor; -1 none.
  int32_t ComboIndex(int32_t pIndex, int32_t pData) const;
  void AddComboItem(int32_t pData, const std::string& text);
  void AddListItem(int32_t pData, const std::string& text);
  void ClearComboItem(int32_t pData);
  void ClearListItem(int32_t pData);

  // --- rows (see ListModel) ---
  int32_t ItemCount() const { return model_->ItemCount(); }
  int32_t SelectedItem() const { return model_->SelectedItem(); }
  void SetSelectedItem(int32_t index) { model_->SetSelectedItem(index); }
  int32_t SelectedData() const { return model_->SelectedData(); }
  ListValue Value(int32_t i, int32_t c) const { return model_->Value(i, c); }
  void SetValue(int32_t i, int32_t c, const ListValue& v) { model_->SetValue(i, c, v); }
  ListValue AuxID(int32_t i, int32_t a) const { return model_->AuxID(i, a); }
  void SetAuxID(int32_t i, int32_t a, const ListValue& v) { model_->SetAuxID(i, a, v); }
  int32_t IconType(int32_t i) const { return model_->IconType(i); }
  void SetIconType(int32_t i, int32_t icon) { model_->SetIconType(i, icon); }
  int32_t DispColor(int32_t i) const { return model_->DispColor(i); }
  void SetDispColor(int32_t i, int32_t colour) { model_->SetDispColor(i, colour); }
  int32_t HLine(int32_t i) const { return model_->HLine(i); }
  void SetHLine(int32_t i, int32_t colour) { model_->SetHLine(i, colour); }
  int32_t IsSelected(int32_t i) const { return model_->IsSelected(i); }
  void SetIsSelected(int32_t i, int32_t flag) { model_->SetIsSelected(i, flag); }
  int32_t NumSelectedItems() const { return model_->NumSelectedItems(); }
  int32_t MultiSelected() const { return model_->MultiSelected(); }
  // The row under y twips of the rows area, ItemCount below the last row.
  int32_t YsItem(double y) const;
  void AddItem(int32_t count) { model_->AddItem(count); }
  void InsertItem(int32_t index, int32_t count = 0) { model_->InsertItem(index, count); }
  void ResetNumTab() { model_->ResetNumTab(); }
  void DeleteItem(int32_t index) { model_->DeleteItem(index); }
  void DeleteItemEx(int32_t first, int32_t last) { model_->DeleteItemEx(first, last); }
  void DeleteAll() { model_->DeleteAll(); }
  void DeleteSelected() { model_->DeleteSelected(); }
  void UnSelectAll() { model_->UnSelectAll(); }
  void SelectAll() { model_->SelectAll(); }
  void ExchangeItem(int32_t offset) { model_->ExchangeItem(offset); }
  void MoveCursor(int32_t down) { model_->MoveCursor(down); }
  void ReOrder(int32_t c, int32_t force, int32_t reverse = -1) {
    model_->ReOrder(c, force, reverse);
  }
  void RndItem() { model_->RndItem(); }
  int32_t OrderData() const { return model_->OrderData(); }
  int32_t OrderInverted() const { return model_->OrderInverted(); }

  // --- drawing and scrolling ---
  // Repaints the visible rows and places the editors on the current row; the widget repaints
  // at the next paint event. Nothing before Init or while OneHeight is below 1.
  void ReDraw();
  // Which bars are needed, their ranges and pages, the rows area's size; the first visible
  // row follows the vertical bar (0 when it is hidden). No redraw.
  void SetVbarParm();
  // SetVbarParm, back to the first row and the left edge, rows and header redrawn.
  void Refresh();
  void VBarMove(int32_t pValue);
  // pValue wheel steps of NumWheelScroll rows; redraws.
  void VBarScroll(int32_t pValue);
  void HBarMove(int32_t pValue);
  void HBarScroll(int32_t pValue);
  void ShowSelected(int32_t pIfHidden = 0);
  void ShowItem(int32_t pTopItem, int32_t pIfHidden = 0);
  void SetTopItem(int32_t pItem, int32_t pSetToTop, int32_t pIfHidden);
  int32_t TopItem() const { return model_->TopItem(); }
  int32_t VisibleRows() const { return visibleRows_; }
  int32_t HScrollOffset() const { return hScrollOffset_; }

  // --- the parts, for hosts' tests and for looking at ---
  platform::PictureBox& PictureAll() { return *pictureAll_; }
  platform::PictureBox& PictureTab() { return *pictureTab_; }
  platform::PictureBox& PictureList() { return *pictureList_; }
  const platform::PictureSurface& PictureTabGrad() const { return pictureTabGrad_; }
  // Icon k at x 16k .. 16k + 15: the image in rows 0 .. 15, its mask in rows 16 .. 31.
  QImage& PictureIcons() { return pictureIcons_; }
  QMenu& MenuRCTab() { return *menuRCTab_; }
  QLineEdit* TextLV(int32_t index) const;
  QComboBox* ComboLV(int32_t index) const;
  QComboBox* ListLV(int32_t index) const;
  ListScrollBar* HBar() const { return hbar_; }
  ListScrollBar* VBar() const { return vbar_; }
  // 9 while the header shows the sizing pointer, else 0.
  int32_t MousePointer() const { return pointer_; }
  int32_t RowBoxHeight() const { return rowBoxHeight_; }
  int32_t TextTop() const { return textTop_; }
  int32_t EditorTop() const { return editorTop_; }

  // The platform's drag runs until the button is released; tests put their own here.
  void SetDragStarter(DragStarter starter) { dragDrop_->SetStarter(std::move(starter)); }

 signals:
  void DblClicked();
  void TabMoved();
  void TabReOrderd();
  void RightClicked(float X, float Y);
  void MouseDown(int16_t Button, int16_t Shift, float X, float Y);
  void Clicked(float X, float Y);
  void OLEStartDrag(QMimeData* Data, int32_t* AllowedEffects);
  void OLECompleteDrag(int32_t Effect);
  void OLEDragDrop(const QMimeData* Data, int32_t* Effect, int16_t Button, int16_t Shift, float X,
                   float Y);
  void ComboChaged(int32_t pData, int32_t pValue);
  void TextComboKeyAction(int32_t pIsCombo, int32_t pTab, int32_t pAction, int16_t* KeyValue,
                          int16_t* Shift);
  void OLEDragOver();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum EditorKind { kText = 0, kCombo = 1, kList = 2 };

  // list_view_setup
  void MakeBars();
  void PlaceInAll(QWidget* part, double left, double top, double width, double height);
  double ListTop() const;
  void ApplyFontSlots();
  // list_view_editors
  foundation::WidgetControlArray& EditorArray(EditorKind kind);
  QWidget* Editor(EditorKind kind, int32_t index) const;
  int32_t EditorIndexOf(int32_t column, EditorKind kind) const;
  void MakeEditors();
  void WireEditor(EditorKind kind, int32_t index);
  void EditorHeights();
  void HideAllEditors();
  void PlaceEditorsAcross(const ListColumn& column, double x0);
  void PlaceEditorsOnRow(int32_t column, double editorY, const std::string& text);
  void TextLV_Change(int32_t index);
  void ComboClicked(EditorKind kind, int32_t index);
  bool EditorKey(QObject* editor, QEvent* event);
  // list_view_header
  void TabMouseDown(int32_t button, double x);
  void TabMouseMove(int32_t button, double x);
  void TabMouseUp(int32_t button, double x);
  void MenuRCTab_Click(int32_t index);
  void SetPointer(int32_t pointer);
  // list_view_mouse
  void ListMouseDown(int32_t button, int32_t shift, double x, double y);
  void ListMouseMove(int32_t button, double x, double y);
  void ListMouseUp(int32_t button, double x, double y);
  void ListDblClick();
  void StartDrag();
  void Dropped(RowsDrop& drop);
  void DragOverAt(double x, double y);
  // list_view_scrolling
  void VBarValueChanged();
  void HBarValueChanged();
  void ApplyBar(ListScrollBar& bar, const BarFit& fit, bool vertical);

  ListModel* model_;
  std::unique_ptr<ListModel> ownModel_;

  int32_t useUCBar_ = 0;
  int32_t hbarDisabled_ = 0;
  int32_t vbarDisabled_ = 0;
  int32_t useMadara_ = 0;
  int32_t noMultiSelect_ = 0;
  int32_t borderIfBlank_ = 0;
  int32_t noOleScroll_ = 0;
  int32_t oneHeight_ = 0;
  int32_t rowBoxHeight_ = 0;
  int32_t textTop_ = 0;
  int32_t editorTop_ = 0;
  int32_t iconMargin_ = 22;
  int32_t selectedColor_ = 0xC0A0A0;
  int32_t selectedColorMode_ = 9;
  int32_t numWheelScroll_ = 3;
  int32_t barNoDoEvents_ = 0;
  int32_t noAlign4Tab_ = 0;
  int32_t useScroll_ = 0;
  int32_t vLineColor_ = platform::SystemColorRef(platform::COLOR_BTNFACE);
  int32_t invertSelectedData_ = 0;
  int32_t showToolTip_ = 0;
  int32_t sortDisabled_ = 0;
  int32_t iconDisabled_ = 0;
  int32_t tabDisabled_ = 0;
  int32_t clickDisabled_ = 0;
  int32_t useTabOrder_ = 0;
  int32_t hideTextCombo_ = 0;
  int32_t rightClickedTab_ = 0;
  int32_t resizeColumn_ = -1;
  int32_t hScrollOffset_ = 0;
  int32_t visibleRows_ = 0;
  int32_t pointer_ = 0;
  bool initialised_ = false;
  bool styled_ = false;
  // Font table entries: rows, header, text, combo and list editors.
  std::array<int32_t, 5> fontSlots_ = {-1, -1, -1, -1, -1};

  bool pressed_ = false;
  DragOrigin dragOrigin_;
  int32_t vbarAtPress_ = 0;
  int32_t hbarAtPress_ = 0;
  DragOverScroll dragOver_;
  std::unique_ptr<RowsDragDrop> dragDrop_;
  int wheelRest_ = 0;

  platform::PictureBox* pictureAll_ = nullptr;
  platform::PictureBox* pictureTab_ = nullptr;
  platform::PictureBox* pictureList_ = nullptr;
  platform::PictureSurface pictureTabGrad_;
  QImage pictureIcons_;
  QMenu* menuRCTab_ = nullptr;
  std::unique_ptr<foundation::WidgetControlArray> editors_[3];
  ListScrollBar* hbar_ = nullptr;
  ListScrollBar* vbar_ = nullptr;
};

}  // namespace lists
