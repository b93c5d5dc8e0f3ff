#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "controls/widgets/view/uc_check.h"
#include "foundation/app_globals.h"
#include "foundation/check_control_setup.h"
#include "foundation/view/qt_font_factory.h"
#include "platform/system_colors.h"

namespace widgets {
namespace {

static_assert(foundation::CheckControlSetup<UC_Check, platform::PictureBox>);
static_assert(foundation::CheckControlSetup<UC_Check, platform::PictureSurface>);

constexpr int32_t kBlack = 0x000000;
constexpr int32_t kGrey = 0x808080;

class UcCheckGuiTest : public ::testing::Test {
 protected:
  void SetUp() override { foundation::InstallQtFontFactory(); }

  static std::unique_ptr<UC_Check> MakeCheck(int32_t isOption, int32_t value) {
    auto check = std::make_unique<UC_Check>();
    check->Move(0, 0, 2000, 300);
    check->SetIsOption(isOption);
    check->SetCaption("Auto");
    check->SetValue(value);
    check->show();
    return check;
  }

  // A pixel on the tick's first stroke, (45, 105) to (105, 165) twips from the box's corner.
  static int32_t TickPixel(UC_Check& check) {
    return check.Surface().GetPixelPx(5, static_cast<int>(check.BoxTop()) / 15 + 9);
  }
  static int32_t DotPixel(UC_Check& check) {
    return check.Surface().GetPixelPx(7, static_cast<int>(check.BoxTop()) / 15 + 7);
  }
};

TEST_F(UcCheckGuiTest, AClickTogglesByTheRules) {
  struct Case {
    int32_t isOption, before, after;
  } const cases[] = {{0, 0, 1}, {0, 1, 0}, {1, 1, 1}};  // the model test has every rule
  for (const Case& c : cases) {
    auto check = MakeCheck(c.isOption, c.before);
    QSignalSpy clicks(check.get(), &UC_Check::Click);
    QTest::mouseClick(check.get(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(check->Value(), c.after) << c.isOption << " " << c.before;
    EXPECT_EQ(clicks.count(), 1);  // also for an option that stays on
  }
  // Disabled: nothing changes and nothing is raised.
  auto check = MakeCheck(0, 1);
  check->SetEnabled(false);
  QSignalSpy clicks(check.get(), &UC_Check::Click);
  QTest::mouseClick(check.get(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(check->Value(), 1);
  EXPECT_EQ(clicks.count(), 0);
}

TEST_F(UcCheckGuiTest, TickDotAndGreyText) {
  auto check = MakeCheck(0, 1);
  EXPECT_EQ(check->BoxSize(), 240);
  EXPECT_EQ(TickPixel(*check), kBlack);
  check->SetEnabled(false);
  EXPECT_EQ(TickPixel(*check), kGrey);
  check->SetEnabled(true);
  check->SetValue(2);  // not 1: no tick
  EXPECT_NE(TickPixel(*check), kBlack);
  const int32_t untickedPixel = TickPixel(*check);
  check->SetValue(0);
  EXPECT_EQ(TickPixel(*check), untickedPixel);

  // The caption is printed beside the box (smoothed: dark rather than black).
  const auto dark = [](int32_t c) {
    return (c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && ((c >> 16) & 0xFF) < 0x60;
  };
  bool inked = false;
  const platform::PictureSurface& s = check->Surface();
  for (int x = 20; x < s.PixelWidth() && !inked; ++x) {
    for (int y = 0; y < s.PixelHeight() && !inked; ++y) inked = dark(s.GetPixelPx(x, y));
  }
  EXPECT_TRUE(inked);

  auto option = MakeCheck(1, 1);
  EXPECT_EQ(DotPixel(*option), kBlack);
  option->SetValue(0);
  EXPECT_NE(DotPixel(*option), kBlack);
}

TEST_F(UcCheckGuiTest, BoxImageComesFromGradhdc) {
  auto check = MakeCheck(0, 0);
  // Without a picture of its own the control makes one the size of its box.
  const int32_t own = check->Gradhdc();
  ASSERT_NE(own, 0);
  const platform::PictureSurface* image = SurfaceOfHandle(own);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->PixelWidth(), 16);
  // ... and keeps it the size of the box when the layout runs again at another rate.
  check->Move(0, 0, 2000, 450);
  check->SetSizeRate(1.5F);
  check->SetCaption("Auto");
  EXPECT_EQ(check->Gradhdc(), own);
  EXPECT_EQ(SurfaceOfHandle(own)->PixelWidth(), 24);

  platform::PictureSurface red(40, 40);
  red.SetBackColor(0x0000FF);
  SurfaceHandle redHandle(&red);
  check->SetGradhdc(redHandle.handle());
  check->SetGradhdc(0);  // ignored
  EXPECT_EQ(check->Gradhdc(), redHandle.handle());
  check->Draw();
  const int top = static_cast<int>(check->BoxTop()) / 15;
  EXPECT_EQ(check->Surface().GetPixelPx(1, top + 1), 0x0000FF);
  EXPECT_EQ(check->Surface().GetPixelPx(23, top + 23), 0x0000FF);
  EXPECT_NE(check->Surface().GetPixelPx(24, top + 23), 0x0000FF);  // only the box is copied
}

TEST_F(UcCheckGuiTest, InitCheckControlSetsItUpOverItsBackground) {
  QWidget page;
  page.resize(400, 200);
  platform::PictureBox background(&page);
  background.setGeometry(0, 0, 400, 200);
  platform::PictureSurface& bg = background.Surface();
  for (int y = 0; y < bg.PixelHeight(); ++y) {
    for (int x = 0; x < bg.PixelWidth(); ++x) bg.SetPixelPx(x, y, (x * 3) + (y << 8));
  }
  UC_Check check(&page);
  check.Move(300, 150, 2400, 450);  // pixels (20, 10), 160 × 30
  check.SetGradhdc(12345);
  foundation::InitCheckControl(check, "Fade out", 1, background, 9.0F, 0, 1.5F);
  EXPECT_EQ(check.Gradhdc(), 12345);  // a gradient handle of 0 keeps the previous one
  EXPECT_EQ(check.Caption(), "Fade out");
  EXPECT_EQ(check.Value(), 1);
  EXPECT_FLOAT_EQ(check.SizeRate(), 1.5F);
  EXPECT_EQ(check.BoxSize(), 360);
  // Away from the box and the caption the control shows the picture behind it.
  const int x = 150;
  const int y = 28;
  EXPECT_EQ(check.Surface().GetPixelPx(x, y), bg.GetPixelPx(20 + x, 10 + y));

  // A background that goes away leaves the plain back colour, and so does closing it.
  auto gone = std::make_unique<platform::PictureBox>();
  gone->resize(300, 300);
  check.SetBGPic(0, 0, *gone);
  gone.reset();
  check.Draw();
  const int32_t face = platform::ResolveColor(platform::SystemColorRef(platform::COLOR_BTNFACE));
  EXPECT_EQ(check.Surface().GetPixelPx(x, y), face);
  check.SetBGPic(0, 0, bg);
  check.CloseBGObj();
  check.Draw();
  EXPECT_EQ(check.Surface().GetPixelPx(x, y), face);
}

TEST_F(UcCheckGuiTest, TinyAndUnscaledControls) {
  for (float rate : {0.0F, 0.01F, 1.0F, 8.0F, -1.0F}) {
    auto check = std::make_unique<UC_Check>();
    check->Move(0, 0, 15, 15);
    check->SetSizeRate(rate);
    check->SetCaption("x");
    check->SetValue(1);
    check->SetIsOption(1);
    check->Draw();
    QTest::mouseClick(check.get(), Qt::LeftButton, {}, QPoint(0, 0));
  }
  foundation::Globals().TwipsPerPixel = 0;
  auto unscaled = std::make_unique<UC_Check>();
  foundation::Globals().TwipsPerPixel = 15;
  unscaled->resize(100, 20);
  unscaled->SetCaption("x");
  unscaled->SetValue(1);
  EXPECT_EQ(unscaled->Gradhdc(), 0);  // never laid out
  QSignalSpy clicks(unscaled.get(), &UC_Check::Click);
  QTest::mouseClick(unscaled.get(), Qt::LeftButton, {}, QPoint(3, 3));
  EXPECT_EQ(unscaled->Value(), 0);
  EXPECT_EQ(clicks.count(), 1);
}

}  // namespace
}  // namespace widgets
