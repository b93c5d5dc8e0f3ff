// Test labels: threads (the FileHand worker under the view)
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "foundation/debug_log.h"
#include "foundation/view/qt_font_factory.h"
#include "foundation/waits.h"
#include "platform/system_colors.h"
#include "tests/support/temp_dir.h"
#include "transfer/view/uc_file_hand.h"

namespace transfer {
namespace {

constexpr int32_t kBlack = 0x000000;
const int32_t kBarColour =
    platform::ResolveColor(platform::SystemColorRef(platform::COLOR_ACTIVECAPTION));

class UcFileHandGuiTest : public ::testing::Test {
 protected:
  void SetUp() override { foundation::InstallQtFontFactory(); }
  void TearDown() override { foundation::SetPendingWorkHook(nullptr); }

  static void SaveToGallery(QWidget& widget, const char* name) {
    const QString dir = QCoreApplication::applicationDirPath() + "/gallery";
    ASSERT_TRUE(QDir().mkpath(dir));
    EXPECT_TRUE(widget.grab().save(dir + "/" + name));
  }
  // Whether some pixel of row y between x0 and x1 (exclusive) is dark, as text is.
  static bool DarkInRow(const platform::PictureSurface& s, int y0, int y1, int x0, int x1) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        if ((s.GetPixelPx(x, y) & 0xFF) < 0x80) return true;
    return false;
  }

  foundation::DebugLog log_;
};

TEST_F(UcFileHandGuiTest, SizeAndCentringFollowSizeRate) {
  struct Case {
    FileHandVariant variant;
    float rate;
    int32_t halfWidthPx, halfHeightPx;
  } const cases[] = {
      {PlayoutVariant(), 1.0F, 160, 50},
      {PlayoutVariant(), 1.5F, 240, 75},
      {CompanionVariant(), 1.5F, 160, 50},  // the companion's panel is drawn at 1.0 only
  };
  for (const Case& c : cases) {
    UC_FileHand panel(log_, nullptr, c.variant);
    panel.SetSizeRate(c.rate);
    EXPECT_EQ(panel.AdjustX(), c.halfWidthPx * 15);
    EXPECT_EQ(panel.AdjustY(), c.halfHeightPx * 15);
    panel.Init();
    EXPECT_EQ(panel.width(), 2 * c.halfWidthPx);
    EXPECT_EQ(panel.height(), 2 * c.halfHeightPx);
  }
}

// Mode 0: frame, etched track, text below it; the bar grows from the left, a lower rate leaves
// the longer bar standing, a message clears it.
TEST_F(UcFileHandGuiTest, ModeZeroDrawsItsOwnPanel) {
  UC_FileHand panel(log_);
  panel.Init();
  panel.show();
  const platform::PictureSurface& s = panel.Surface();
  panel.ShowFileHandMessage("ファイルコピー中…", false);
  EXPECT_EQ(s.GetPixelPx(0, 0), kBlack);
  EXPECT_EQ(s.GetPixelPx(319, 99), kBlack);
  EXPECT_NE(s.GetPixelPx(20, 20), s.GetPixelPx(25, 25));  // the track's edge
  EXPECT_TRUE(DarkInRow(s, 38, 52, 100, 220));

  panel.ShowFileHandRate(0.5F);
  EXPECT_EQ(s.GetPixelPx(100, 24), kBarColour);
  EXPECT_NE(s.GetPixelPx(250, 24), kBarColour);
  panel.ShowFileHandRate(0.25F);
  EXPECT_EQ(s.GetPixelPx(150, 24), kBarColour);
  SaveToGallery(panel, "file_hand_mode0.png");
  panel.ShowFileHandMessage("", false);
  EXPECT_NE(s.GetPixelPx(100, 24), kBarColour);
  EXPECT_FALSE(DarkInRow(s, 38, 52, 100, 220));

  // A centred text wider than the panel starts 30 twips (2 pixels) from the left.
  panel.ShowFileHandMessage(std::string(80, 'W'), false);
  EXPECT_FALSE(DarkInRow(s, 38, 52, 1, 2));
  EXPECT_TRUE(DarkInRow(s, 38, 52, 2, 6));

  // The cancel button sits centred, its bottom 10 pixels above the panel's.
  const QRect button = panel.CancelButton()->geometry();
  EXPECT_EQ(button.left() + button.width() / 2, 160);
  EXPECT_EQ(button.bottom() + 1, 90);
  QTest::mouseClick(panel.CancelButton(), Qt::LeftButton);
  EXPECT_EQ(panel.Canceled(), 1);
}

// Mode 1: a text panel, a bar and a button strip built at run time on a design picture.
TEST_F(UcFileHandGuiTest, ModeOneBuildsItsChildren) {
  UC_FileHand panel(log_, nullptr, CompanionVariant());
  panel.Init(1);
  panel.show();
  ASSERT_NE(panel.TextMes(), nullptr);
  ASSERT_NE(panel.ProgBar(), nullptr);
  ASSERT_NE(panel.CancelButtonEx(), nullptr);
  EXPECT_FALSE(panel.CancelButton()->isVisible());
  EXPECT_EQ(panel.TextMes()->geometry(), QRect(20, 20, 280, 20));
  EXPECT_EQ(panel.ProgBar()->geometry(), QRect(20, 45, 280, 20));
  EXPECT_EQ(panel.CancelButtonEx()->GetButtonChar(0), "Cancel");

  panel.ShowFileHandMessage("Copying…a.wav", true);
  panel.ShowFileHandRate(0.6F);
  EXPECT_EQ(panel.TextMes()->TextMes(0), "Copying…a.wav");
  EXPECT_FLOAT_EQ(panel.ProgBar()->Value(), 600.0F);
  SaveToGallery(panel, "file_hand_mode1.png");

  const QRect strip = panel.CancelButtonEx()->rect();
  QTest::mouseClick(panel.CancelButtonEx(), Qt::LeftButton, {}, strip.center());
  EXPECT_EQ(panel.Canceled(), 1);
}

// An operation keeps the window alive: the panel shows its progress, the signals arrive, and a
// click on the cancel button, handled while the operation waits, stops it.
TEST_F(UcFileHandGuiTest, TheWindowStaysAliveDuringAnOperation) {
  foundation::SetPendingWorkHook([] { QApplication::processEvents(); });
  testsupport::TempDir dir;
  const std::string source = dir.WriteFile("s.wav", std::string(64 * 1024, 'x'));
  UC_FileHand panel(log_);
  panel.Init();
  panel.show();
  QSignalSpy progress(&panel, &UC_FileHand::MirrorProg);
  EXPECT_EQ(panel.TranspFile(source, dir.Sub("t.wav"), 1, 0, 16 * 1024), 1);
  EXPECT_EQ(progress.count(), 5);
  EXPECT_NE(panel.Surface().GetPixelPx(100, 24), kBarColour);  // cleared at the end

  // The click is queued from the first progress signal and handled during the long pause.
  QObject::connect(&panel, &UC_FileHand::MirrorProg, &panel, [&panel] {
    QTimer::singleShot(0, &panel,
                       [&panel] { QTest::mouseClick(panel.CancelButton(), Qt::LeftButton); });
  });
  EXPECT_EQ(panel.TranspFile(source, dir.Sub("u.wav"), 1, 0, 16 * 1024, 600000), 0);
  EXPECT_EQ(panel.ErrorCode(), 1);
  EXPECT_EQ(panel.ErrorCodeText(), "ユーザーによりキャンセルされました");
}

}  // namespace
}  // namespace transfer
