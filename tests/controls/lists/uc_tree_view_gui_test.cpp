#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "controls/lists/view/uc_tree_view.h"
#include "foundation/view/qt_font_factory.h"
#include "platform/system_colors.h"
#include "tests/controls/lists/list_view_fixture.h"

namespace lists {
namespace {

constexpr int kTpp = 15;
constexpr int32_t kRow = 300;  // OneHeight, twips (20 pixels)

struct Node {
  std::string data;
  std::string caption;
  std::string sort;
  std::string parent;  // DataStr of the parent; "" at the top
};

// A station's programme tree, three levels deep; every parent starts closed.
const std::vector<Node> kProgrammes = {
    {"news", "ニュース", "1", ""},
    {"morning", "朝のニュース", "1.1", "news"},
    {"weather", "天気予報", "1.1.1", "morning"},
    {"traffic", "交通情報", "1.1.2", "morning"},
    {"evening", "夕方のニュース", "1.2", "news"},
    {"music", "音楽番組", "2", ""},
    {"jazz", "ジャズの時間", "2.1", "music"},
    {"request", "リクエスト特集", "2.2", "music"},
    {"spots", "ＣＭ素材", "3", ""},
};

// A shown tree built the way hosts build one, 260 x 220 pixels.
std::unique_ptr<UC_TreeView> MakeTree(const std::vector<Node>& nodes) {
  foundation::InstallQtFontFactory();
  auto tv = std::make_unique<UC_TreeView>();
  tv->resize(260, 220);
  tv->SetOneHeight(kRow);
  tv->Init();
  tv->SetTabName("番組表");
  for (const Node& n : nodes) {
    tv->AddItem();
    tv->SetDispStr(-2, n.caption);
    tv->SetDataStr(-2, n.data);
    tv->SetSortStr(-2, n.sort);
    tv->SetIconType1(-2, n.parent.empty() ? 1 : 2);
    tv->SetIconType2(-2, n.parent.empty() ? 0 : 4);
    if (!n.parent.empty()) tv->SetParentItemByValue(-2, n.parent);
  }
  tv->show();
  tv->Refresh();
  return tv;
}

// `count` top-level leaves "item<k>".
std::vector<Node> Leaves(int count) {
  std::vector<Node> out;
  for (int k = 0; k < count; ++k) {
    const std::string s = std::to_string(100 + k);
    out.push_back({"item" + std::to_string(k), "項目" + s, s, ""});
  }
  return out;
}

// The middle of the row drawn at slot `slot` of the rows area, in pixels.
QPoint SlotPoint(int slot, int xPx = 90) { return QPoint(xPx, slot * kRow / kTpp + 10); }

int32_t Index(const UC_TreeView& tv, const std::string& data) {
  for (int32_t i = 0; i < tv.Model().Count(); ++i) {
    if (tv.DataStr(i) == data) return i;
  }
  return -1;
}

// A double click as the platform delivers one: press, release, the second press (a double
// click), release.
void DoubleClick(QWidget& w, QPoint at) {
  QTest::mouseClick(&w, Qt::LeftButton, {}, at);
  QTest::mouseDClick(&w, Qt::LeftButton, {}, at);
  QTest::mouseRelease(&w, Qt::LeftButton, {}, at);
}

// Sends a drag event of `type` at `at` (pixels) to the rows area.
bool SendDrag(UC_TreeView& tv, QEvent::Type type, QPoint at, const QMimeData& data) {
  QDragMoveEvent event(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {}, type);
  QCoreApplication::sendEvent(&tv.PictureList(), &event);
  return event.isAccepted();
}

TEST(UcTreeViewGuiTest, ClicksSelectAndDoubleClicksOpen) {
  auto tv = MakeTree(kProgrammes);
  std::vector<std::string> events;
  QObject::connect(tv.get(), &UC_TreeView::Changed,
                   [&] { events.push_back("Changed " + tv->DataStr(-1)); });
  QObject::connect(tv.get(), &UC_TreeView::ReSelected,
                   [&] { events.push_back("ReSelected " + tv->DataStr(-1)); });
  QObject::connect(tv.get(), &UC_TreeView::RightClicked,
                   [&](float, float) { events.push_back("RightClicked"); });
  platform::PictureBox& rows = tv->PictureList();
  ASSERT_EQ(tv->TreeHeight(), 3 * kRow);  // the three closed top-level items

  QTest::mouseClick(&rows, Qt::LeftButton, {}, SlotPoint(2));
  QTest::mouseClick(&rows, Qt::MiddleButton, {}, SlotPoint(2));
  QTest::mouseClick(&rows, Qt::RightButton, {}, SlotPoint(0));
  // A double click on a closed parent opens it: one event for the first release only.
  DoubleClick(rows, SlotPoint(1));
  EXPECT_EQ(tv->IsOpened(Index(*tv, "music")), 1);
  EXPECT_EQ(tv->TreeHeight(), 5 * kRow);
  // Below the last row the current item stays.
  QTest::mouseClick(&rows, Qt::LeftButton, {}, SlotPoint(9));
  // The children are there to click; a second double click closes the parent again.
  QTest::mouseClick(&rows, Qt::LeftButton, {}, SlotPoint(2));
  DoubleClick(rows, SlotPoint(1));
  EXPECT_EQ(tv->IsOpened(Index(*tv, "music")), 0);
  EXPECT_EQ(tv->TreeHeight(), 3 * kRow);
  EXPECT_EQ(events, (std::vector<std::string>{"Changed spots", "ReSelected spots", "RightClicked",
                                              "Changed music", "ReSelected music", "Changed jazz",
                                              "Changed music"}));

  // Opening by key: a third-level item made reachable, itself left closed.
  tv->OpenItemByValue("WEATHER", 0);
  tv->Refresh();
  EXPECT_EQ(tv->TreeHeight(), 7 * kRow);
  const int32_t weather = Index(*tv, "weather");
  EXPECT_EQ(tv->Model().Item(weather)->RowTop, 2 * kRow);
  QTest::mouseClick(&rows, Qt::LeftButton, {}, SlotPoint(2));
  EXPECT_EQ(tv->CurrentItem(), weather);
  // Double-clicking a leaf opens nothing; only its first release is heard.
  events.clear();
  DoubleClick(rows, SlotPoint(2));
  EXPECT_EQ(tv->IsOpened(weather), 0);
  EXPECT_EQ(events, (std::vector<std::string>{"ReSelected weather"}));
}

TEST(UcTreeViewGuiTest, RowsDrawBoxesMarksAndTheCurrentItem) {
  auto tv = MakeTree(kProgrammes);
  tv->OpenItemByValue("morning", 1);
  tv->SetSelectedItemByValue("weather");
  tv->Refresh();
  const platform::PictureSurface& s = tv->PictureList().Surface();
  const int32_t line = platform::ResolveColor(UC_TreeView::kLineColor);
  const int32_t text = platform::ResolveColor(UC_TreeView::kTextColor);
  const int32_t back = platform::ResolveColor(UC_TreeView::kBackColor);
  // Slot 1 ("morning", level 1, open): the box from MarkNear to MarkFar (6 .. 15 pixels from
  // the row's top and from x0 = 17 + 2 pixels); the minus stroke, no plus stroke.
  const int x0 = 19, y0 = 20;
  EXPECT_EQ(s.GetPixelPx(x0 + 6, y0 + 6), line);
  EXPECT_EQ(s.GetPixelPx(x0 + 15, y0 + 15), line);
  EXPECT_EQ(s.GetPixelPx(x0 + 9, y0 + 10), text);
  EXPECT_EQ(s.GetPixelPx(x0 + 10, y0 + 8), back);
  // Slot 5 ("music", closed): the plus stroke too.
  EXPECT_EQ(s.GetPixelPx(2 + 10, 5 * 20 + 8), text);
  // A leaf's connector: across from its middle to the icon.
  EXPECT_EQ(s.GetPixelPx(36 + 10 + 5, 2 * 20 + 10), line);
  // The current item's text box: merge-pen-not over the white row, left of its text.
  const int textLeft = 36 + 50;  // x0 + 2.5 x OneHeight, pixels
  EXPECT_EQ(s.GetPixelPx(textLeft - 2, 2 * 20 + 3), UC_TreeView::kCurrentBoxColor);
  EXPECT_EQ(s.GetPixelPx(textLeft - 2, 3 * 20 + 3), back);
}

TEST(UcTreeViewGuiTest, BarScrollsAndShowSelectedCentres) {
  auto tv = MakeTree(Leaves(40));
  ListScrollBar& bar = tv->VBar();
  ASSERT_TRUE(bar.Visible());
  const double area = tv->PictureList().Height();
  EXPECT_EQ(bar.Max(), (40 * kRow - static_cast<int>(area)) / kRow + 2);
  bar.SetValue(10);
  EXPECT_EQ(tv->TopRow(), 10);
  EXPECT_EQ(tv->Model().Item(8)->RowTop, -1);
  EXPECT_EQ(tv->Model().Item(9)->RowTop, 0);  // its bottom edge is the window's top
  tv->SetSelectedItemByValue("item30");
  tv->ShowSelected();
  EXPECT_EQ(tv->TopRow(), static_cast<int>(31 * kRow - area / 2) / kRow);
  EXPECT_NE(tv->Model().Item(30)->RowTop, -1);

  // A row height below a pixel is taken as one pixel: the rows still stack and scroll.
  UC_TreeView thin;
  thin.SetOneHeight(0);
  thin.Init();
  EXPECT_EQ(thin.OneHeight(), kTpp);
  for (int k = 0; k < 3; ++k) thin.AddItem();
  thin.resize(200, 100);
  thin.show();
  thin.Refresh();
  EXPECT_EQ(thin.TreeHeight(), 3 * kTpp);

  // A tree shorter than the area hides the bar; ShowSelected then scrolls nothing.
  auto small = MakeTree(Leaves(3));
  EXPECT_FALSE(small->VBar().Visible());
  small->SetSelectedItemByValue("item2");
  small->ShowSelected();
  EXPECT_EQ(small->TopRow(), 0);
}

TEST(UcTreeViewGuiTest, DraggingOverOpensMarksAndDrops) {
  auto tv = MakeTree(kProgrammes);
  std::vector<std::string> drops;
  QObject::connect(tv.get(), &UC_TreeView::OLEDragDrop,
                   [&](const QMimeData* data, int32_t* effect, int16_t, int16_t, float, float,
                       std::string* pDataStr) {
                     drops.push_back(data->text().toStdString() + " on " + *pDataStr);
                     *pDataStr += "+";
                     *effect = 1;
                   });
  QMimeData data;
  data.setText("take");
  const platform::PictureSurface& s = tv->PictureList().Surface();
  const auto markedAt = [&](int slot) {
    return s.GetPixelPx(2 + 50 - 2, slot * 20 + 3) == UC_TreeView::kDropBoxColor;
  };

  // Hovering a closed parent opens it and marks it.
  EXPECT_TRUE(SendDrag(*tv, QEvent::DragEnter, SlotPoint(1), data));
  const int32_t music = Index(*tv, "music");
  EXPECT_EQ(tv->DropTarget(), music);
  EXPECT_EQ(tv->IsOpened(music), 1);
  EXPECT_TRUE(markedAt(1));

  struct Case {
    QPoint at;
    std::string dropped;  // "" for no event
  };
  const Case cases[] = {
      {SlotPoint(2), "take on jazz"},
      // On the line between two rows the upper row takes the drop.
      {QPoint(90, 2 * 20), "take on music"},
      // Below every row: no target, no event.
      {SlotPoint(8), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.at.y());
    drops.clear();
    // Each drop ends a drag; the next one enters anew.
    SendDrag(*tv, QEvent::DragEnter, c.at, data);
    QDropEvent drop(c.at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&tv->PictureList(), &drop);
    EXPECT_EQ(drops,
              c.dropped.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.dropped});
    EXPECT_EQ(tv->DropTarget(), -1);
  }
  // The host's change of pDataStr is kept by the item.
  EXPECT_EQ(tv->DataStr(music), "music+");

  // Leaving the rows takes the mark away.
  SendDrag(*tv, QEvent::DragEnter, SlotPoint(4), data);
  EXPECT_TRUE(markedAt(4));
  QDragLeaveEvent leave;
  QCoreApplication::sendEvent(&tv->PictureList(), &leave);
  EXPECT_EQ(tv->DropTarget(), -1);
  EXPECT_FALSE(markedAt(4));

  // Resting in the bottom row of a tall tree scrolls a row per notification.
  auto tall = MakeTree(Leaves(40));
  const QPoint bottom(90, tall->PictureList().height() - 5);
  SendDrag(*tall, QEvent::DragEnter, bottom, data);
  SendDrag(*tall, QEvent::DragMove, bottom, data);
  EXPECT_EQ(tall->TopRow(), 2);
  SendDrag(*tall, QEvent::DragMove, QPoint(90, 5), data);
  EXPECT_EQ(tall->TopRow(), 1);
  QDragLeaveEvent away;
  QCoreApplication::sendEvent(&tall->PictureList(), &away);
}

TEST(UcTreeViewGuiTest, DragStartsOnlyPastTheDragDistance) {
  auto tv = MakeTree(kProgrammes);
  int dragged = 0;
  tv->SetDragStarter([&](QWidget*, QMimeData* data, int32_t) {
    ++dragged;
    delete data;
    return 1;
  });
  int changed = 0;
  QObject::connect(tv.get(), &UC_TreeView::Changed, [&] { ++changed; });
  QObject::connect(tv.get(), &UC_TreeView::OLEStartDrag, [&](QMimeData* data, int32_t*) {
    data->setText(QString::fromStdString(tv->DataStr(-1)));
  });
  platform::PictureBox& rows = tv->PictureList();
  const QPoint from = SlotPoint(0);
  QTest::mousePress(&rows, Qt::LeftButton, {}, from);
  QTest::mouseMove(&rows, from + QPoint(8, 8));  // within the distance: still a click
  EXPECT_EQ(dragged, 0);
  QTest::mouseMove(&rows, from + QPoint(0, 9));
  QTest::mouseMove(&rows, from + QPoint(0, 30));  // one press, one drag
  EXPECT_EQ(dragged, 1);
  // The drag took the release.
  QTest::mouseRelease(&rows, Qt::LeftButton, {}, from + QPoint(0, 30));
  EXPECT_EQ(changed, 0);
  QTest::mouseClick(&rows, Qt::LeftButton, {}, from);
  EXPECT_EQ(changed, 1);
}

TEST(UcTreeViewGuiTest, GalleryThreeLevelsInJapanese) {
  auto tv = MakeTree(kProgrammes);
  tv->OpenItemByValue("weather", 1);
  tv->OpenItemByValue("jazz", 1);
  tv->SetSelectedItemByValue("traffic");
  tv->Refresh();
  EXPECT_EQ(tv->Model().MaxLevel(), 2);
  EXPECT_TRUE(tv->grab().save(testing::GalleryDir() + "/tree_view.png"));
  // Scrolled into a long branch: the lines of the levels above run in from the top and on
  // below the bottom.
  tv->OpenItemByValue("news", 1);
  tv->OpenItemByValue("music", 1);
  for (int k = 0; k < 12; ++k) {
    tv->AddItem();
    tv->SetDispStr(-2, "天気予報 第" + std::to_string(k + 1) + "回");
    tv->SetDataStr(-2, "weather" + std::to_string(k));
    tv->SetSortStr(-2, "1.1.1." + std::to_string(10 + k));
    tv->SetIconType2(-2, 2);
    tv->SetParentItemByValue(-2, "weather");
  }
  tv->Refresh();
  ASSERT_TRUE(tv->VBar().Visible());
  tv->VBar().SetValue(4);
  EXPECT_TRUE(tv->grab().save(testing::GalleryDir() + "/tree_view_scrolled.png"));
}

}  // namespace
}  // namespace lists
