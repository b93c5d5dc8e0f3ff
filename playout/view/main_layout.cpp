#include "playout/view/main_layout.h"

#include <algorithm>

#include "foundation/control_layout.h"

namespace playout {

namespace {

using C = MainControl;

// A box seen as a control, so that the scaling is the one every window uses.
class BoxControl final : public foundation::LayoutControl {
 public:
  explicit BoxControl(TwipsBox& box) : box_(box) {}
  double Left() const override { return box_.Left; }
  double Top() const override { return box_.Top; }
  double Width() const override { return box_.Width; }
  double Height() const override { return box_.Height; }
  void SetLeft(double v) override { box_.Left = v; }
  void SetTop(double v) override { box_.Top = v; }
  void SetWidth(double v) override { box_.Width = v; }
  void SetHeight(double v) override { box_.Height = v; }
  bool Visible() const override { return true; }
  void SetVisible(bool) override {}
  int32_t TabIndex() const override { return 0; }
  void SetTabIndex(int32_t) override {}
  bool SetContainerFrom(const LayoutControl&) override { return false; }
  foundation::FontWindow* FontTarget() override { return nullptr; }

 private:
  TwipsBox& box_;
};

void Scale(TwipsBox& box, float rate, bool keepSize, bool moveToo) {
  BoxControl control(box);
  foundation::ScaleControl(rate, control, keepSize, keepSize, moveToo, 0.0F);
}

double NotNegative(double v) { return v < 0 ? 0 : v; }

}  // namespace

MainLayout DesignedLayout() {
  MainLayout l;
  // Top panel and what it holds (inside positions).
  l[C::kPictureF] = {0, 60, 11760, 1020};
  l[C::kTextClock] = {90, 90, 6150, 840};
  l[C::kApsBar] = {6330, 90, 3300, 840};
  l[C::kTextOA] = {9720, 90, 1950, 840};
  // The lists; the heights and the queue's top are start-up's and the resize's.
  l[C::kLVS0] = {120, 1170, 11760, 600};
  l[C::kLVS1] = {120, 1800, 11760, 5400};
  // The load panel and what it holds (inside positions).
  l[C::kPictureLoad] = {120, 1800, 11760, 5400};
  l[C::kLVS2] = {90, 90, 11580, 4700};
  l[C::kLoadButton] = {7980, 4880, 3690, 420};
  l[C::kTextMes] = {90, 4880, 6000, 420};
  // The row of buttons under the queue.
  l[C::kDelButton] = {9150, 7800, 2730, 450};
  l[C::kOPButtons] = {120, 7800, 2700, 450};
  l[C::kSWButtons] = {2880, 7800, 5400, 450};
  // The trace box and its debug button.
  l[C::kTextCom] = {7000, 1950, 4800, 2400};
  l[C::kCommand1] = {7000, 4400, 1350, 360};
  return l;
}

MainLayout ScaleLayout(const MainLayout& designed, float sizeRate) {
  MainLayout l = designed;
  Scale(l[C::kPictureF], sizeRate, false, false);
  for (const C c : {C::kTextClock, C::kApsBar, C::kOPButtons, C::kSWButtons, C::kDelButton,
                    C::kLoadButton, C::kTextMes, C::kTextOA}) {
    Scale(l[c], sizeRate, false, true);
  }
  for (const C c : {C::kLVS0, C::kLVS1, C::kLVS2}) Scale(l[c], sizeRate, true, true);
  return l;
}

MainLayout PlaceAtStartUp(const MainLayout& scaled, const StartUpMeasures& m,
                          int32_t twipsPerPixel) {
  const double px = twipsPerPixel;
  MainLayout l = scaled;
  TwipsBox& onAir = l[C::kLVS0];
  TwipsBox& queue = l[C::kLVS1];
  onAir.Height = m.onAirRowTwips + 360;
  queue.Top = onAir.Top + onAir.Height + 3 * px;
  TwipsBox& load = l[C::kPictureLoad];
  load.Left = queue.Left;
  load.Top = queue.Top;
  TwipsBox& op = l[C::kOPButtons];
  op.Width = m.opButtons * 900 * static_cast<double>(m.sizeRate);
  TwipsBox& sw = l[C::kSWButtons];
  sw.Left = op.Left + op.Width + 4 * px;
  sw.Width = sw.Height * 1.5 * m.numSWCH;
  l[C::kTextCom].Top = queue.Top + 150;
  return l;
}

std::optional<MainLayout> FitToClient(const MainLayout& current, double W, double H,
                                      int32_t twipsPerPixel) {
  if (H <= 0) return std::nullopt;
  const double px = twipsPerPixel;
  MainLayout l = current;
  TwipsBox& top = l[C::kPictureF];
  TwipsBox& onAir = l[C::kLVS0];
  TwipsBox& queue = l[C::kLVS1];
  TwipsBox& load = l[C::kPictureLoad];
  TwipsBox& loadList = l[C::kLVS2];
  TwipsBox& loadButton = l[C::kLoadButton];
  TwipsBox& del = l[C::kDelButton];
  TwipsBox& trace = l[C::kTextCom];
  top.Left = (W - top.Width) / 2;
  onAir.Width = NotNegative(W - 2 * onAir.Left);
  queue.Width = NotNegative(W - 2 * queue.Left);
  queue.Height = NotNegative(H - queue.Top - del.Height - onAir.Left - 2 * px);
  load.Width = NotNegative(W - 2 * load.Left);
  load.Height = queue.Height;
  loadList.Width = NotNegative(load.Width - 2 * loadList.Left);
  loadList.Height = NotNegative(load.Height - 2 * loadList.Top - loadButton.Height - 4 * px);
  loadButton.Top = loadList.Top + loadList.Height + 2 * px;
  loadButton.Left = loadList.Left + loadList.Width - loadButton.Width;
  l[C::kTextMes].Top = loadButton.Top;
  trace.Left = queue.Left + queue.Width - trace.Width - 24 * px;
  del.Top = queue.Top + queue.Height + 2 * px;
  del.Left = W - del.Width - onAir.Left - 2 * px;
  l[C::kOPButtons].Top = del.Top;
  l[C::kSWButtons].Top = del.Top;
  // The debug button stays under the trace box.
  l[C::kCommand1].Left = trace.Left;
  l[C::kCommand1].Top = trace.Top + trace.Height + 2 * px;
  return l;
}

ClientSize MinimumClientSize(const MainLayout& l, double rowTwips, int32_t queueRows,
                             bool channelStripShown, int32_t twipsPerPixel) {
  const double px = twipsPerPixel;
  const TwipsBox& op = l[C::kOPButtons];
  const TwipsBox& sw = l[C::kSWButtons];
  const TwipsBox& del = l[C::kDelButton];
  const TwipsBox& onAir = l[C::kLVS0];
  const TwipsBox& queue = l[C::kLVS1];
  const TwipsBox& load = l[C::kPictureLoad];
  const TwipsBox& loadList = l[C::kLVS2];
  const TwipsBox& loadButton = l[C::kLoadButton];
  const TwipsBox& mes = l[C::kTextMes];
  const double stripsEnd = channelStripShown ? sw.Left + sw.Width : op.Left + op.Width;
  const double buttonsRow = stripsEnd + 2 * px + del.Width + onAir.Left + 2 * px;
  const double loadRow =
      mes.Left + mes.Width + 2 * px + loadButton.Width + 2 * load.Left + loadList.Left;
  const double bottom = del.Height + onAir.Left + 2 * px;
  // The list control draws nothing below 600 twips either way.
  const double loadPanel = 2 * loadList.Top + 600 + loadButton.Height + 4 * px;
  const double queueRowsHeight = std::max(rowTwips * queueRows, 600.0);
  ClientSize size;
  size.width = std::max({l[C::kPictureF].Width, buttonsRow, loadRow});
  size.height = queue.Top + std::max(queueRowsHeight, loadPanel) + bottom;
  return size;
}

}  // namespace playout
