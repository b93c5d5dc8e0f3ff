// Test labels: threads (the real-time virtual wave device's ticker)
// The main window's layout: the designed table as start-up places it, and Form_Resize.
#include "controls/lists/view/uc_list_view.h"
#include "controls/widgets/view/uc_buttons.h"
#include "platform/view/picture_box.h"
#include "tests/playout/frm_main_rig.h"

namespace playouttest {
namespace {

using playout::MainControl;
using C = playout::MainControl;

constexpr int kTpp = 15;

// Growing the window by 1500 twips lengthens the queue, the load panel and its list by as much
// and moves the controls under them down; minimised nothing moves, restored it catches up; a
// resize during start-up changes nothing.
TEST(FrmMainLayoutGuiTest, FollowsTheClientArea) {
  FrmMainRig rig;
  rig.Ini();
  playout::FrmMain& w = rig.Start();
  // Start-up's own sizing came before FormReady: the queue keeps its designed height.
  EXPECT_EQ(w.Layout()[C::kLVS1].Height, playout::DesignedLayout()[C::kLVS1].Height);
  rig.Show();
  const playout::MainLayout before = w.Layout();
  const playout::FrmMainControls& c = w.Controls();
  // The queue's left margin is the window's bottom margin.
  EXPECT_EQ(c.DelButton->geometry().bottom() + 1, c.client->height() - 120 / kTpp);
  EXPECT_EQ(c.DelButton->geometry().right() + 1, c.client->width() - 120 / kTpp - 2);

  w.resize(w.width(), w.height() + 100);
  QCoreApplication::processEvents();
  const playout::MainLayout grown = w.Layout();
  for (const C k : {C::kLVS1, C::kPictureLoad, C::kLVS2}) {
    EXPECT_EQ(grown[k].Height, before[k].Height + 1500) << static_cast<int>(k);
  }
  for (const C k : {C::kDelButton, C::kOPButtons, C::kSWButtons, C::kLoadButton, C::kTextMes}) {
    EXPECT_EQ(grown[k].Top, before[k].Top + 1500) << static_cast<int>(k);
  }
  EXPECT_EQ(c.OPButtons->y(), c.DelButton->y());

  w.showMinimized();
  QCoreApplication::processEvents();
  w.resize(w.width(), w.height() + 100);
  QCoreApplication::processEvents();
  EXPECT_EQ(w.Layout(), grown);
  w.showNormal();
  QCoreApplication::processEvents();
  EXPECT_EQ(w.Layout()[C::kLVS1].Height, grown[C::kLVS1].Height + 1500);
}

// The layout as a function of the client size: no negative size, nothing without a height, and
// at the minimum size the strips and the load panel's controls do not overlap.
TEST(FrmMainLayoutGuiTest, FitsAnyClientSize) {
  foundation::Globals().TwipsPerPixel = kTpp;
  playout::StartUpMeasures m;
  m.onAirRowTwips = 450;
  m.opButtons = 4;
  const playout::MainLayout placed = playout::PlaceAtStartUp(playout::DesignedLayout(), m, kTpp);
  EXPECT_FALSE(playout::FitToClient(placed, 12000, 0, kTpp));
  const auto tiny = playout::FitToClient(placed, 300, 300, kTpp);
  ASSERT_TRUE(tiny);
  for (const playout::TwipsBox& box : tiny->boxes) {
    EXPECT_GE(box.Width, 0);
    EXPECT_GE(box.Height, 0);
  }
  for (const float rate : {1.0F, 1.5F, 3.0F}) {
    SCOPED_TRACE(rate);
    m.sizeRate = rate;
    const playout::MainLayout l =
        playout::PlaceAtStartUp(playout::ScaleLayout(playout::DesignedLayout(), rate), m, kTpp);
    const playout::ClientSize min = playout::MinimumClientSize(l, 450, 3, true, kTpp);
    const auto fit = playout::FitToClient(l, min.width, min.height, kTpp);
    ASSERT_TRUE(fit);
    const playout::MainLayout& f = *fit;
    EXPECT_LE(f[C::kSWButtons].Left + f[C::kSWButtons].Width, f[C::kDelButton].Left);
    EXPECT_LE(f[C::kTextMes].Left + f[C::kTextMes].Width, f[C::kLoadButton].Left);
    EXPECT_GE(f[C::kLVS1].Height, 3 * 450);
    EXPECT_GE(f[C::kLVS2].Height, 600);
    EXPECT_GE(f[C::kPictureF].Left, 0);
  }
}

}  // namespace
}  // namespace playouttest
