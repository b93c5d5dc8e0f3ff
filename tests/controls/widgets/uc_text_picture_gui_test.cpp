#include <gtest/gtest.h>

#include <QMimeData>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "controls/widgets/view/uc_text_picture.h"
#include "foundation/app_globals.h"
#include "foundation/view/qt_font_factory.h"
#include "platform/system_colors.h"
#include "signal_log.h"

namespace widgets {
namespace {

constexpr int32_t kWhite = 0xFFFFFF;

// Pixels of the surface in exactly `colour`, `inset` pixels in from every side.
int CountColour(const platform::PictureSurface& s, int32_t colour, int inset = 0) {
  int n = 0;
  for (int y = inset; y < s.PixelHeight() - inset; ++y) {
    for (int x = inset; x < s.PixelWidth() - inset; ++x) n += s.GetPixelPx(x, y) == colour ? 1 : 0;
  }
  return n;
}

// First and last column holding a pixel that differs from the column's background at row 0 of
// a plain panel (the ink of the text), or -1.
std::pair<int, int> InkColumns(const platform::PictureSurface& s, int32_t back, int inset) {
  int first = -1;
  int last = -1;
  for (int x = inset; x < s.PixelWidth() - inset; ++x) {
    for (int y = inset; y < s.PixelHeight() - inset; ++y) {
      if (s.GetPixelPx(x, y) != back) {
        if (first < 0) first = x;
        last = x;
        break;
      }
    }
  }
  return {first, last};
}

// Every MouseUD as "(button,down,cell)", and "Dbl".
struct PanelEvents : SignalLog {
  explicit PanelEvents(UC_TextPicture& panel) {
    Watch(&panel, &UC_TextPicture::MouseUD, "");
    Watch(&panel, &UC_TextPicture::DblClicked, "Dbl");
  }
};
using Log = std::vector<std::string>;

class UcTextPictureGuiTest : public ::testing::Test {
 protected:
  void SetUp() override { foundation::InstallQtFontFactory(); }
  void TearDown() override { foundation::Globals().IsCompanion = false; }

  // The ON AIR box: two colour sets, one centred cell.
  static std::unique_ptr<UC_TextPicture> OnAirBox() {
    auto panel = std::make_unique<UC_TextPicture>();
    panel->Move(0, 0, 1800, 600);
    panel->SetDesignType(1);
    panel->AddTextSpace(20, false, false, "Impact");
    panel->AddColorSet(0xB0B0B0, 0x0, 0xB0B0B0);
    panel->AddColorSet(0xC0C0FF, 0x202050, 0xA0A0FF);
    panel->Init();
    panel->DispMes(0, "ON AIR");
    panel->show();
    return panel;
  }
};

TEST_F(UcTextPictureGuiTest, DispMesRedrawsOnlyAChangedText) {
  auto panel = OnAirBox();
  platform::PictureSurface& s = panel->Surface();
  s.SetPixelPx(1, 1, 0x00FF00);  // a mark only a redraw removes
  panel->DispMes(0, "ON AIR");
  EXPECT_EQ(s.GetPixelPx(1, 1), 0x00FF00);
  panel->DispMes(5, "elsewhere");
  panel->DispMes(-1, "elsewhere");
  EXPECT_EQ(s.GetPixelPx(1, 1), 0x00FF00);
  panel->DispMes(0, "ON AIR", 1);  // unchanged anyway
  panel->DispMes(0, "OFF", 1);     // stored, not drawn
  EXPECT_EQ(s.GetPixelPx(1, 1), 0x00FF00);
  EXPECT_EQ(panel->TextMes(0), "OFF");
  panel->DispMes(0, "ON AIR");
  EXPECT_NE(s.GetPixelPx(1, 1), 0x00FF00);
}

TEST_F(UcTextPictureGuiTest, ColourSetsAreRenderedOnceAndSwitched) {
  auto panel = OnAirBox();
  const platform::PictureSurface& strip = panel->PicStrip();
  const platform::PictureSurface& s = panel->Surface();
  ASSERT_EQ(strip.PixelWidth(), 2 * s.PixelWidth());
  // Set 0 is on show: its text colour is there, set 1's is not.
  EXPECT_GT(CountColour(s, 0xB0B0B0), 20);
  EXPECT_EQ(CountColour(s, 0xC0C0FF), 0);
  const int32_t corner = s.GetPixelPx(0, 0);
  panel->SetColor(1);  // no redraw asked
  EXPECT_EQ(s.GetPixelPx(0, 0), corner);
  panel->SetColor(1, 1);
  EXPECT_EQ(s.GetPixelPx(0, 0), strip.GetPixelPx(s.PixelWidth(), 0));
  EXPECT_GT(CountColour(s, 0xC0C0FF), 20);
  panel->SetColor(2, 1);  // no such set: set 1 stays
  panel->SetColor(-1, 1);
  EXPECT_EQ(panel->Model().CurrentSet, 1);
  EXPECT_GT(CountColour(s, 0xC0C0FF), 20);
}

TEST_F(UcTextPictureGuiTest, APressedCellLightsUntilTheRelease) {
  auto panel = OnAirBox();
  PanelEvents events(*panel);
  panel->SetColor(1, 1);
  const platform::PictureSurface& s = panel->Surface();
  const int32_t lit = 0xDEDEFF;  // &HC0C0FF lightened by 30, clamped
  EXPECT_EQ(CountColour(s, lit), 0);
  // Without UseClick the press only reports.
  QTest::mousePress(panel.get(), Qt::LeftButton, {}, QPoint(60, 20));
  EXPECT_EQ(CountColour(s, lit), 0);
  QTest::mouseRelease(panel.get(), Qt::LeftButton, {}, QPoint(60, 20));
  panel->SetUseClick(0, 1);
  QTest::mousePress(panel.get(), Qt::LeftButton, {}, QPoint(60, 20));
  EXPECT_GT(CountColour(s, lit), 20);
  EXPECT_EQ(CountColour(s, 0xC0C0FF), 0);
  QTest::mouseRelease(panel.get(), Qt::LeftButton, {}, QPoint(60, 20));
  EXPECT_EQ(CountColour(s, lit), 0);
  EXPECT_GT(CountColour(s, 0xC0C0FF), 20);
  EXPECT_EQ(events.Take(), (Log{"(1,1,0)", "(1,0,0)", "(1,1,0)", "(1,0,0)"}));

  // On a plain panel whose text colour is a system colour the lit text is white, and the
  // next drawing is back in the panel's own colour.
  UC_TextPicture plain;
  plain.Move(0, 0, 1800, 450);
  plain.SetColorEx(platform::SystemColorRef(platform::COLOR_BTNTEXT), 0x404040);
  plain.AddTextSpace(20, true, false, "");
  plain.SetUseClick(0, 1);
  plain.Init();
  plain.DispMes(0, "MMMM");
  plain.show();
  const platform::PictureSurface& p = plain.Surface();
  EXPECT_EQ(CountColour(p, kWhite, 3), 0);
  QTest::mousePress(&plain, Qt::RightButton, {}, QPoint(30, 10));
  EXPECT_GT(CountColour(p, kWhite, 3), 20);
  QTest::mouseRelease(&plain, Qt::RightButton, {}, QPoint(30, 10));
  EXPECT_EQ(CountColour(p, kWhite, 3), 0);
  EXPECT_GT(CountColour(p, 0x000000, 3), 20);
}

TEST_F(UcTextPictureGuiTest, DoubleClicksLockingAndDrops) {
  auto panel = OnAirBox();
  PanelEvents events(*panel);
  // Without UseDblClick a double click is a left press at (0, 0); its release ends it.
  QTest::mouseDClick(panel.get(), Qt::LeftButton, {}, QPoint(60, 20));
  QTest::mouseRelease(panel.get(), Qt::LeftButton, {}, QPoint(60, 20));
  EXPECT_EQ(events.Take(), (Log{"(1,1,0)", "(1,0,0)"}));
  panel->SetUseDblClick(1);
  panel->SetLocked(1);
  QTest::mouseDClick(panel.get(), Qt::LeftButton, {}, QPoint(60, 20));
  EXPECT_EQ(events.Take(), (Log{"Dbl"}));  // locked: only the double click itself
  panel->SetUseDblClick(0);
  QTest::mouseDClick(panel.get(), Qt::LeftButton, {}, QPoint(60, 20));
  EXPECT_TRUE(events.Take().empty());

  // A drop reaches the owner with its place in twips, unless locked.
  std::vector<std::string> drops;
  QObject::connect(
      panel.get(), &UC_TextPicture::OLEDragDrop,
      [&](const QMimeData* data, int32_t effect, int16_t, int16_t, double x, double y) {
        drops.push_back(data->text().toStdString() + " " + std::to_string(effect) + " " +
                        std::to_string(static_cast<int>(x)) + "," +
                        std::to_string(static_cast<int>(y)));
      });
  QMimeData mime;
  mime.setText("song.wav");
  const auto drop = [&] {
    QDragEnterEvent enter(QPoint(10, 4), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(panel.get(), &enter);
    QDropEvent dropped(QPointF(10, 4), Qt::CopyAction, &mime, Qt::LeftButton, {});
    dropped.setDropAction(Qt::CopyAction);
    QCoreApplication::sendEvent(panel.get(), &dropped);
    return enter.isAccepted();
  };
  EXPECT_FALSE(drop());
  panel->SetLocked(0);
  EXPECT_TRUE(drop());
  EXPECT_EQ(drops, (std::vector<std::string>{"song.wav 1 150,60"}));
}

TEST_F(UcTextPictureGuiTest, CentredCellsAndWideTexts) {
  // A cell added without a position is centred both ways.
  auto panel = OnAirBox();
  const TextSpace* cell = panel->Model().Cell(0);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->Left, -1);
  const platform::PictureSurface& s = panel->Surface();
  EXPECT_EQ(cell->Top, CentredCellTop(s.ScaleHeight(), s.TextHeight("漢"), false, 15));

  // The companion places every centred cell one pixel lower.
  foundation::Globals().IsCompanion = true;
  UC_TextPicture companion;
  companion.Move(0, 0, 1800, 600);
  companion.AddTextSpace(20, false, false, "Impact");
  EXPECT_EQ(companion.Model().Cell(0)->Top,
            CentredCellTop(s.ScaleHeight(), s.TextHeight("漢"), true, 15));
  EXPECT_GT(companion.Model().Cell(0)->Top, cell->Top);
  foundation::Globals().IsCompanion = false;

  // Narrow text centred; a text wider than the panel starts at the margin and is cut to fit.
  UC_TextPicture line;
  line.Move(0, 0, 1500, 300);  // 100 × 20 pixels
  line.SetColorEx(0x000000, 0xFFFFFF);
  line.SetIsFlat(1);
  line.AddTextSpace(9, false, false, "");
  line.Init();
  line.show();
  line.DispMes(0, "ab");
  const auto narrow = InkColumns(line.Surface(), 0xFFFFFF, 0);
  ASSERT_GE(narrow.first, 0);
  EXPECT_NEAR((narrow.first + narrow.second) / 2.0, 50, 3);
  const std::string wide = "a long message that never fits in one hundred pixels";
  line.DispMes(0, wide);
  const auto cut = InkColumns(line.Surface(), 0xFFFFFF, 0);
  EXPECT_GE(cut.first, 2);  // the flat plain panel's margin
  EXPECT_LE(cut.first, 4);
  EXPECT_LE(cut.second, 98);
  EXPECT_EQ(line.TextMes(0), wide);  // only the drawing is cut
}

TEST_F(UcTextPictureGuiTest, PlainPanelsKeepTheirEdgeOnTheBorder) {
  // Marked for colour sets but given none: drawn as a plain panel with its sunken edge.
  UC_TextPicture panel;
  panel.Move(0, 0, 1500, 450);
  panel.SetDesignType(1);
  panel.AddTextSpace(9, false, false, "", 90, 60);
  panel.Init(2, 0);
  panel.DispMes(0, "text");
  panel.show();
  EXPECT_EQ(panel.PicStrip().PixelWidth(), 0);
  const int32_t shadow =
      platform::ResolveColor(platform::SystemColorRef(platform::COLOR_BTNSHADOW));
  const platform::PictureSurface& s = panel.Surface();
  EXPECT_EQ(s.GetPixelPx(0, 0), shadow);
  EXPECT_EQ(s.GetPixelPx(99, 29), kWhite);
  panel.SetColor(3, 1);  // the plain designs apply
  EXPECT_EQ(s.GetPixelPx(50, 15), 0x0000FF);

  panel.resize(140, 40);
  EXPECT_EQ(panel.EdgeRight(), 140);
  EXPECT_EQ(s.GetPixelPx(0, 0), shadow);
  EXPECT_EQ(s.GetPixelPx(139, 39), kWhite);
  EXPECT_EQ(s.GetPixelPx(99, 29), 0x0000FF);  // the old corner is inside now

  // A colour-set panel renders its backgrounds again for the new size.
  auto onAir = OnAirBox();
  onAir->resize(150, 50);
  EXPECT_EQ(onAir->PicStrip().PixelWidth(), 300);
  EXPECT_EQ(onAir->Surface().GetPixelPx(149, 49), onAir->PicStrip().GetPixelPx(149, 49));

  panel.ResetMe();
  panel.Draw(-1);  // nothing left to draw but the background
  EXPECT_EQ(panel.TextMes(0), "");
}

}  // namespace
}  // namespace widgets
