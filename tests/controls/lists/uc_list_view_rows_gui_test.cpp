#include <gtest/gtest.h>

#include <QMimeData>
#include <QSignalSpy>
#include <QWheelEvent>
#include <algorithm>

#include "platform/clock.h"
#include "platform/view/raster_ops.h"
#include "tests/controls/lists/list_view_fixture.h"
#include "tests/fakes/platform/simulated_clock.h"

namespace lists {
namespace {

using testing::kTpp;
using testing::MakeListView;
using testing::RowPoint;

std::vector<int32_t> Flags(const UC_ListView& lv) {
  std::vector<int32_t> out;
  for (int32_t r = 0; r < lv.ItemCount(); ++r) out.push_back(lv.IsSelected(r));
  return out;
}

TEST(UcListViewRowsGuiTest, SelectionBoxAndLineMarkPixels) {
  auto lv = MakeListView(6, {1500, 1500}, [](UC_ListView& l) { l.SetUseMadara(1); });
  lv->SetIsSelected(1, 1);  // the default box: mask pen &HC0A0A0 over the white rows
  lv->SetHLine(3, 0x0000FF);
  lv->SetSelectedColorMode(platform::R2_COPYPEN);
  lv->SetSelectedColor(0x00FF00);
  lv->SetIsSelected(4, 1);
  lv->ReDraw();
  const platform::PictureSurface& s = lv->PictureList().Surface();
  const int oh = lv->OneHeight() / kTpp;  // whole pixels of a row (rows start at i x OneHeight)
  const auto rowTop = [&](int r) { return r * lv->OneHeight() / kTpp; };
  const int x = 150;  // right of the texts, inside column 1
  EXPECT_EQ(s.GetPixelPx(x, rowTop(0) + 3), 0xFFFFFF);
  EXPECT_EQ(s.GetPixelPx(x, rowTop(4) + 3), 0x00FF00);  // copy pen: the box colour
  // Odd rows are striped (&HFFFFCC) from one pixel below their top.
  EXPECT_EQ(s.GetPixelPx(x, rowTop(5) + 3), 0xFFFFCC);
  // The line mark: the row's top pixels in the line colour across the row.
  EXPECT_EQ(s.GetPixelPx(x, rowTop(3)), 0x0000FF);
  EXPECT_EQ(s.GetPixelPx(x, rowTop(3) + 1), 0x0000FF);
  EXPECT_EQ(s.GetPixelPx(x, rowTop(3) + 3), 0xFFFFCC);
  EXPECT_EQ(s.GetPixelPx(2, rowTop(3)), 0x0000FF);
  // The column lines lie over everything, one pixel left of each column's right edge.
  EXPECT_EQ(s.GetPixelPx(99, rowTop(4) + 3), platform::ResolveColor(platform::SystemColorRef(15)));
  EXPECT_GE(oh, 16);

  // The default box masks (AND) the row: white becomes the box colour, the text stays dark.
  lv->SetSelectedColorMode(9);
  lv->SetSelectedColor(0xC0A0A0);
  lv->ReDraw();
  EXPECT_EQ(s.GetPixelPx(x, rowTop(1) + 3), 0xC0A0A0 & 0xFFFFCC);
  EXPECT_EQ(s.GetPixelPx(x, rowTop(4) + 3), 0xC0A0A0);

  // BorderIfBlank: a row whose cell is empty gets the grey box.
  lv->SetBorderIfBlank(2);
  lv->SetValue(0, 1, "");
  lv->ReDraw();
  EXPECT_EQ(s.GetPixelPx(x, rowTop(0) + 3), 0xE0E0E0);
  lv->PictureList().grab().save(testing::GalleryDir() + "/list_view_marks.png");
}

TEST(UcListViewRowsGuiTest, IconsBesideTheFirstColumn) {
  auto lv = MakeListView(
      3, {1500, 9000}, [](UC_ListView&) {}, 0, [](UC_ListView& l) { l.SetIconDisabled(0); });
  lv->SetIconType(1, 1);
  lv->SetIconType(2, -1);
  lv->ReDraw();
  const platform::PictureSurface& s = lv->PictureList().Surface();
  const int oh = lv->OneHeight() / kTpp;
  const auto inkIn = [&](int row, int x0, int x1) {
    int ink = 0;
    for (int x = x0; x < x1; ++x) {
      for (int y = row * lv->OneHeight() / kTpp + 1; y < (row + 1) * lv->OneHeight() / kTpp; ++y) {
        ink += s.GetPixelPx(x, y) != 0xFFFFFF ? 1 : 0;
      }
    }
    return ink;
  };
  EXPECT_GT(inkIn(0, 2, 18), 10);  // icon 0
  EXPECT_GT(inkIn(1, 2, 18), 10);  // icon 1
  EXPECT_EQ(inkIn(2, 2, 18), 0);   // -1: none
  // The first column's text starts 22 pixels in, right of the icon.
  EXPECT_EQ(inkIn(2, 18, 22), 0);
  EXPECT_GT(inkIn(2, 22, 60), 0);
  // Scrolled 16 pixels or more to the right the icons go; the text keeps its place.
  lv->HBarScroll(16 * kTpp);
  ASSERT_EQ(lv->HScrollOffset(), 16 * kTpp);
  EXPECT_EQ(inkIn(0, 0, 6), 0);
  EXPECT_GE(oh, 16);
  lv->HBarScroll(-16 * kTpp);
  lv->PictureList().grab().save(testing::GalleryDir() + "/list_view_icons.png");
}

TEST(UcListViewRowsGuiTest, MouseSelectionAndEvents) {
  auto lv = MakeListView(8, {1500, 1500});
  std::vector<std::string> events;
  QObject::connect(lv.get(), &UC_ListView::MouseDown, [&](int16_t b, int16_t s, float, float) {
    events.push_back("MouseDown " + std::to_string(b) + " " + std::to_string(s) + " current " +
                     std::to_string(lv->SelectedItem()));
  });
  QObject::connect(lv.get(), &UC_ListView::Clicked, [&](float, float) {
    events.push_back("Clicked current " + std::to_string(lv->SelectedItem()));
  });
  QObject::connect(lv.get(), &UC_ListView::RightClicked,
                   [&](float, float) { events.push_back("RightClicked"); });
  QObject::connect(lv.get(), &UC_ListView::DblClicked, [&] { events.push_back("DblClicked"); });
  platform::PictureBox& rows = lv->PictureList();

  QTest::mouseClick(&rows, Qt::LeftButton, {}, RowPoint(*lv, 2));
  QTest::mouseClick(&rows, Qt::LeftButton, Qt::ShiftModifier, RowPoint(*lv, 5));
  EXPECT_EQ(Flags(*lv), (std::vector<int32_t>{0, 0, 1, 1, 1, 1, 0, 0}));
  QTest::mouseClick(&rows, Qt::LeftButton, Qt::ControlModifier, RowPoint(*lv, 3, 150));
  EXPECT_EQ(Flags(*lv), (std::vector<int32_t>{0, 0, 1, 0, 1, 1, 0, 0}));
  EXPECT_EQ(lv->SelectedData(), 1);  // the column under the press
  QTest::mouseClick(&rows, Qt::RightButton, {}, RowPoint(*lv, 7));
  EXPECT_EQ(Flags(*lv), (std::vector<int32_t>{0, 0, 1, 0, 1, 1, 0, 0}));  // right: no change
  // The top 4 pixels of a drawn row still belong to the row above it.
  QTest::mouseClick(&rows, Qt::LeftButton, {}, QPoint(50, lv->OneHeight() / kTpp + 2));
  QTest::mouseClick(&rows, Qt::LeftButton, {}, QPoint(50, lv->OneHeight() / kTpp + 2));
  EXPECT_EQ(lv->SelectedItem(), 0);
  EXPECT_EQ(events, (std::vector<std::string>{
                        "MouseDown 1 0 current -1", "Clicked current 2", "MouseDown 1 1 current 2",
                        "Clicked current 5", "MouseDown 1 2 current 5", "Clicked current 5",
                        "MouseDown 2 0 current 5", "RightClicked",
                        // after a Ctrl click the first plain click changes nothing
                        "MouseDown 1 0 current 5", "Clicked current 5", "MouseDown 1 0 current 5",
                        "Clicked current 0"}));
  events.clear();
  QTest::mouseDClick(&rows, Qt::LeftButton, {}, RowPoint(*lv, 1));
  EXPECT_EQ(std::count(events.begin(), events.end(), "DblClicked"), 1);

  // ClickDisabled: presses, releases and double clicks do nothing.
  events.clear();
  lv->SetClickDisabled(1);
  const int32_t before = lv->SelectedItem();
  QTest::mouseDClick(&rows, Qt::LeftButton, {}, RowPoint(*lv, 4));
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(lv->SelectedItem(), before);
}

TEST(UcListViewRowsGuiTest, DragStartsOnlyWithDataFromTheHost) {
  auto lv = MakeListView(5, {1500, 1500});
  int dragged = 0;
  int32_t completedWith = -1;
  lv->SetDragStarter([&](QWidget*, QMimeData* data, int32_t allowed) {
    ++dragged;
    EXPECT_EQ(data->text(), "rows");
    EXPECT_EQ(allowed, 1);
    delete data;
    return 1;
  });
  QSignalSpy clicked(lv.get(), &UC_ListView::Clicked);
  QObject::connect(lv.get(), &UC_ListView::OLECompleteDrag,
                   [&](int32_t effect) { completedWith = effect; });
  platform::PictureBox& rows = lv->PictureList();
  const QPoint from = RowPoint(*lv, 1);

  // The host leaves the data empty: no drag, the gesture is a click.
  QTest::mousePress(&rows, Qt::LeftButton, {}, from);
  QTest::mouseMove(&rows, from + QPoint(0, 8));  // 8 pixels: not yet
  QTest::mouseMove(&rows, from + QPoint(0, 9));
  QTest::mouseRelease(&rows, Qt::LeftButton, {}, from + QPoint(0, 9));
  EXPECT_EQ(dragged, 0);
  EXPECT_EQ(clicked.count(), 1);

  // With data the selection is dragged, and the release belongs to the drag.
  QObject::connect(lv.get(), &UC_ListView::OLEStartDrag, [](QMimeData* data, int32_t* allowed) {
    data->setText("rows");
    *allowed = 1;
  });
  QTest::mousePress(&rows, Qt::LeftButton, {}, from);
  QTest::mouseMove(&rows, from + QPoint(9, 0));
  QTest::mouseMove(&rows, from + QPoint(30, 0));  // one press starts one drag
  QTest::mouseRelease(&rows, Qt::LeftButton, {}, from + QPoint(30, 0));
  EXPECT_EQ(dragged, 1);
  EXPECT_EQ(completedWith, 1);
  EXPECT_EQ(clicked.count(), 1);

  // With UseScroll the same gesture scrolls instead of dragging.
  auto tall = MakeListView(40, {1500});
  tall->SetUseScroll(1);
  QTest::mousePress(&tall->PictureList(), Qt::LeftButton, {}, RowPoint(*tall, 6));
  QTest::mouseMove(&tall->PictureList(), RowPoint(*tall, 1));
  EXPECT_EQ(tall->TopItem(), 5);
  QTest::mouseRelease(&tall->PictureList(), Qt::LeftButton, {}, RowPoint(*tall, 1));
}

TEST(UcListViewRowsGuiTest, WheelAndBarsMoveTheTopRow) {
  for (int32_t slider : {0, 1}) {
    SCOPED_TRACE(slider);
    auto lv = MakeListView(
        40, {1500, 1500}, [](UC_ListView&) {}, slider);
    ASSERT_TRUE(lv->VBar()->Visible());
    EXPECT_EQ(lv->VBar()->IsSlider(), slider == 1);
    EXPECT_EQ(lv->VBar()->Max(), 40 - lv->VisibleRows() + 1);
    QWheelEvent down(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(lv.get(), &down);
    EXPECT_EQ(lv->TopItem(), 3);
    lv->VBarScroll(-5);
    EXPECT_EQ(lv->TopItem(), 0);
    lv->ShowItem(39);
    EXPECT_EQ(lv->TopItem(), lv->VBar()->Max());
    EXPECT_EQ(lv->VBar()->Value(), lv->VBar()->Max());
    // The queue cut from many rows to a few: the top row follows the bar back to 0.
    lv->DeleteItemEx(3, 39);
    lv->SetVbarParm();
    EXPECT_FALSE(lv->VBar()->Visible());
    EXPECT_EQ(lv->TopItem(), 0);
    lv->ReDraw();
    // Row 0's text is drawn again.
    const platform::PictureSurface& s = lv->PictureList().Surface();
    bool ink = false;
    for (int x = 6; x < 40; ++x) {
      for (int y = 2; y < lv->OneHeight() / kTpp; ++y) ink |= s.GetPixelPx(x, y) != 0xFFFFFF;
    }
    EXPECT_TRUE(ink);
  }
}

TEST(UcListViewRowsGuiTest, HorizontalBarScrollsColumnsAndHeader) {
  auto lv = MakeListView(
      3, {3000, 3000, 3000}, [](UC_ListView&) {}, 1);
  ListScrollBar& h = *lv->HBar();
  ASSERT_TRUE(h.Visible());
  EXPECT_EQ(h.Max(), 9000 - 6000 + 2 * kTpp + 4 * kTpp);
  lv->HBarScroll(1500);
  EXPECT_EQ(lv->HScrollOffset(), 1500);
  // Column 1 starts at 3000 - 1500 twips: its left edge is where its line of column 0 was.
  EXPECT_EQ(lv->TabAtX(1500), 1);
  lv->HBarScroll(-99999);
  EXPECT_EQ(lv->HScrollOffset(), 0);
  lv->Refresh();
  EXPECT_EQ(lv->HScrollOffset(), 0);
}

TEST(UcListViewRowsGuiTest, DraggingOverTheRowsScrollsAndDrops) {
  platform::SimulatedClock clock;
  platform::SetCurrentClock(&clock);
  auto lv = MakeListView(
      60, {1500}, [](UC_ListView&) {}, 1);
  int overs = 0;
  QObject::connect(lv.get(), &UC_ListView::OLEDragOver, [&] { ++overs; });
  std::string dropped;
  QObject::connect(lv.get(), &UC_ListView::OLEDragDrop,
                   [&](const QMimeData* data, int32_t* effect, int16_t, int16_t, float, float y) {
                     dropped =
                         data->text().toStdString() + " at row " + std::to_string(lv->YsItem(y));
                     *effect = 1;
                   });
  QMimeData data;
  data.setText("rows");
  platform::PictureBox& rows = lv->PictureList();
  const QPoint bottom(50, rows.height() - 3);  // the bottom half row: pages down
  const auto send = [&](QEvent::Type type, QPoint at) {
    QDragMoveEvent event(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {}, type);
    QCoreApplication::sendEvent(&rows, &event);
    return event.isAccepted();
  };
  EXPECT_TRUE(send(QEvent::DragEnter, bottom));
  clock.Advance(2000);
  send(QEvent::DragMove, bottom);  // resting after a pause: the clock starts
  EXPECT_EQ(lv->TopItem(), 0);
  clock.Advance(25);
  send(QEvent::DragMove, bottom);
  EXPECT_EQ(lv->TopItem(), lv->VBar()->LargeChange());  // a slider's move is applied at once
  EXPECT_EQ(overs, 3);
  lv->SetNoOleScroll(1);
  clock.Advance(25);
  send(QEvent::DragMove, bottom);
  EXPECT_EQ(lv->TopItem(), lv->VBar()->LargeChange());
  EXPECT_EQ(overs, 4);
  QDropEvent drop(QPointF(50, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
  QCoreApplication::sendEvent(&rows, &drop);
  EXPECT_EQ(dropped, "rows at row " + std::to_string(lv->TopItem()));
  EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
  platform::SetCurrentClock(nullptr);
}

}  // namespace
}  // namespace lists
