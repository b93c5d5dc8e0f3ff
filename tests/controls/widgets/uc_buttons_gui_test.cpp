#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "controls/widgets/view/uc_buttons.h"
#include "foundation/view/qt_font_factory.h"
#include "platform/system_colors.h"
#include "signal_log.h"

namespace widgets {
namespace {

using Log = std::vector<std::string>;

// Every event of a strip as "Clicked(1)", "Right(1)", "Shift(1,1)", "Down(1)", "Hover(1)".
struct StripEvents : SignalLog {
  explicit StripEvents(UC_Buttons& strip) {
    Watch(&strip, &UC_Buttons::ButtonClicked, "Clicked");
    Watch(&strip, &UC_Buttons::RightClicked, "Right");
    Watch(&strip, &UC_Buttons::ShiftClicked, "Shift");
    Watch(&strip, &UC_Buttons::ButtonDown, "Down");
    Watch(&strip, &UC_Buttons::Hover, "Hover");
  }
};

// Pixels in columns x0 .. x1 - 1 and rows `inset` in from the top and bottom that `ink` accepts.
template <class Ink>
int Count(const platform::PictureSurface& s, int x0, int x1, Ink ink, int inset = 0) {
  int n = 0;
  for (int y = inset; y < s.PixelHeight() - inset; ++y) {
    for (int x = x0; x < x1; ++x) n += ink(s.GetPixelPx(x, y)) ? 1 : 0;
  }
  return n;
}
int CountColour(const platform::PictureSurface& s, int32_t colour, int x0, int x1) {
  return Count(s, x0, x1, [colour](int32_t c) { return c == colour; });
}
// Caption ink (smoothed text never quite reaches its colour): away from the frame rows, darker
// than any face shade, or clearly green.
int DarkInk(const platform::PictureSurface& s, int x0, int x1) {
  const auto dark = [](int32_t c) {
    return (c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && (c >> 16) < 0x60;
  };
  return Count(s, x0, x1, dark, 2);
}
int GreenInk(const platform::PictureSurface& s, int x0, int x1) {
  return Count(s, x0, x1,
               [](int32_t c) { return ((c >> 8) & 0xFF) > std::max(c & 0xFF, c >> 16) + 0x40; });
}

class UcButtonsGuiTest : public ::testing::Test {
 protected:
  void SetUp() override { foundation::InstallQtFontFactory(); }

  // Three caption buttons on a control 2400 × 330 twips (160 × 22 pixels) with ears.
  static std::unique_ptr<UC_Buttons> ThreeButtons() {
    auto strip = std::make_unique<UC_Buttons>();
    strip->Move(0, 0, 2400, 330);
    strip->SetNumButtons(3);
    strip->SetButtonChar(0, "CNT");
    strip->SetButtonChar(1, "START");
    strip->SetButtonChar(2, "STOP");
    strip->Init();
    strip->show();
    return strip;
  }
  // A point on button i of ThreeButtons, and one on the left ear.
  static QPoint On(int i) { return QPoint(9 + 47 * i + 20, 10); }
};

TEST_F(UcButtonsGuiTest, LayoutShrinksToWholeButtonsBetweenTheEars) {
  auto strip = ThreeButtons();
  EXPECT_EQ(strip->width(), 159);
  EXPECT_EQ(strip->Surface().PixelWidth(), 159);
  // Ears copied from the face image, each closed by a dark line.
  const platform::PictureSurface& s = strip->Surface();
  const platform::PictureSurface& face = strip->PictureGrad();
  EXPECT_EQ(face.PixelWidth(), 47);
  const int32_t dark = platform::ResolveColor(platform::SystemColorRef(platform::COLOR_3DDKSHADOW));
  for (int y : {0, 10, 21}) {
    EXPECT_EQ(s.GetPixelPx(3, y), face.GetPixelPx(3, y)) << y;
    EXPECT_EQ(s.GetPixelPx(153, y), face.GetPixelPx(3, y)) << y;
    EXPECT_EQ(s.GetPixelPx(8, y), dark) << y;
    EXPECT_EQ(s.GetPixelPx(158, y), dark) << y;
    EXPECT_EQ(s.GetPixelPx(56 + 2, y), face.GetPixelPx(2, y)) << y;
  }
  // Each caption is drawn inside its own button, in the darkest theme shade.
  for (int i = 0; i < 3; ++i) {
    EXPECT_GT(DarkInk(s, 9 + 47 * i, 9 + 47 * (i + 1)), 5) << i;
  }
}

TEST_F(UcButtonsGuiTest, EventSequences) {
  auto strip = ThreeButtons();
  StripEvents events(*strip);
  QTest::mouseClick(strip.get(), Qt::LeftButton, {}, On(1));
  EXPECT_EQ(events.Take(), (Log{"Down(1)", "Clicked(1)"}));
  QTest::mouseClick(strip.get(), Qt::LeftButton, Qt::ShiftModifier, On(1));
  EXPECT_EQ(events.Take(), (Log{"Down(1)", "Shift(1,1)"}));
  QTest::mouseClick(strip.get(), Qt::LeftButton, Qt::ControlModifier, On(2));
  EXPECT_EQ(events.Take(), (Log{"Down(2)", "Shift(2,2)"}));
  QTest::mouseClick(strip.get(), Qt::RightButton, {}, On(0));
  EXPECT_EQ(events.Take(), (Log{"Right(0)"}));

  // Released over another button: only the press is reported, and the pressed button is drawn
  // released again (its face back at the top row instead of one pixel down).
  const platform::PictureSurface& s = strip->Surface();
  const int32_t top = strip->PictureGrad().GetPixelPx(5, 0);
  QTest::mousePress(strip.get(), Qt::LeftButton, {}, On(0));
  EXPECT_NE(s.GetPixelPx(9 + 5, 0), top);
  EXPECT_EQ(s.GetPixelPx(9 + 5, 1), top);
  QTest::mouseRelease(strip.get(), Qt::LeftButton, {}, On(2));
  EXPECT_EQ(s.GetPixelPx(9 + 5, 0), top);
  EXPECT_EQ(events.Take(), (Log{"Down(0)"}));

  // Ears and disabled buttons raise nothing and are not drawn pressed.
  QTest::mouseClick(strip.get(), Qt::LeftButton, {}, QPoint(3, 10));
  QTest::mouseClick(strip.get(), Qt::LeftButton, {}, QPoint(155, 10));
  strip->SetButtonDisable(1, 1, 1);
  QTest::mousePress(strip.get(), Qt::LeftButton, {}, On(1));
  EXPECT_EQ(s.GetPixelPx(56 + 5, 0), top);
  QTest::mouseRelease(strip.get(), Qt::LeftButton, {}, On(1));
  strip->SetButtonDisable(1, 0, 1);
  strip->SetButtonDisable(2, 1, 0, 1);
  QTest::mouseClick(strip.get(), Qt::RightButton, {}, On(2));
  EXPECT_TRUE(events.Take().empty());
  EXPECT_EQ(strip->GetButtonDisable(2, 1), 1);
  EXPECT_EQ(strip->GetButtonDisable(2), 0);

  // A double click is one more press where the last press was; its release clicks.
  QTest::mouseClick(strip.get(), Qt::LeftButton, {}, On(0));
  QTest::mouseDClick(strip.get(), Qt::LeftButton, {}, On(0));
  QTest::mouseRelease(strip.get(), Qt::LeftButton, {}, On(0));
  EXPECT_EQ(events.Take(), (Log{"Down(0)", "Clicked(0)", "Down(0)", "Clicked(0)"}));
}

TEST_F(UcButtonsGuiTest, HoverWithoutAButtonHeld) {
  auto strip = ThreeButtons();
  StripEvents events(*strip);
  QTest::mouseMove(strip.get(), On(0));  // button 0 is where hovering starts: nothing
  QTest::mouseMove(strip.get(), On(2));
  QTest::mouseMove(strip.get(), On(2) + QPoint(3, 0));
  QTest::mouseMove(strip.get(), QPoint(4, 10));
  QTest::mouseMove(strip.get(), On(1));
  EXPECT_EQ(events.Take(), (Log{"Hover(2)", "Hover(-1)", "Hover(1)"}));
}

TEST_F(UcButtonsGuiTest, OkCancelPairSelectionAndOnColours) {
  UC_Buttons pair;
  pair.move(0, 0);
  pair.SetOKCancel();
  pair.show();
  EXPECT_EQ(pair.width(), 160);
  EXPECT_EQ(pair.height(), 22);
  EXPECT_EQ(pair.GetButtonChar(0), "キャンセル");
  EXPECT_EQ(pair.GetButtonChar(1), "OK");
  EXPECT_EQ(pair.GetButtonChar(2), "");
  EXPECT_EQ(pair.Model().Button(1)->ButtonX, 80);
  // The caption is centred in its button.
  const platform::PictureSurface& s = pair.Surface();
  int first = -1;
  int last = -1;
  for (int x = 82; x < 149; ++x) {  // inside the face's frame
    if (DarkInk(s, x, x + 1) > 0) {
      if (first < 0) first = x;
      last = x;
    }
  }
  ASSERT_GE(first, 0);
  EXPECT_NEAR((first + last) / 2.0, 80 + 35.5, 2);

  // Selected, on and lit captions are in the selected colour.
  EXPECT_EQ(GreenInk(s, 0, 160), 0);
  pair.SetSelectedButton(1);
  EXPECT_GT(GreenInk(s, 80, 151), 3);
  pair.SetSelectedButton(5);  // ignored
  EXPECT_EQ(pair.SelectedButton(), 1);
  pair.SetSelectedButton(-1);  // redraws only the previous one
  EXPECT_EQ(GreenInk(s, 0, 160), 0);
  pair.SetButtonOn(0, 1);  // no redraw asked
  EXPECT_EQ(GreenInk(s, 9, 80), 0);
  EXPECT_EQ(pair.GetButtonOn(0), 1);
  pair.SetButtonOn(0, 1, 1);
  EXPECT_GT(GreenInk(s, 9, 80), 3);
  pair.SetButtonOn(0, 0, 1);
  pair.SetButtonState(0, 2);
  EXPECT_GT(GreenInk(s, 9, 80), 3);
  pair.DrawAll();
  EXPECT_EQ(GreenInk(s, 0, 160), 0);
  pair.SetButtonState(7, 2);  // no such button
  pair.DrawButton(-1, 1);
}

TEST_F(UcButtonsGuiTest, PictureButtonsAreTintedOnceAndLight) {
  UC_Buttons player;
  player.Move(0, 0, 1800, 450);  // 120 × 30 pixels
  player.SetButtonsMCI();
  player.SetMimiWidth(0);
  player.Init();
  player.show();
  ASSERT_TRUE(player.IconsTinted());
  const platform::PictureSurface& icons = player.PictureIcons();
  EXPECT_EQ(icons.PixelWidth(), 468);
  // The plain play picture is adapted to the button face (0x38 × 192 / 210 = 0x33); the lit one
  // keeps its colour.
  EXPECT_EQ(icons.GetPixelPx(18 + 8, 8), 0x333333);
  const int32_t go = 0x30D020;
  EXPECT_EQ(icons.GetPixelPx(9 * 18 + 8, 8), go);
  EXPECT_EQ(icons.GetPixelPx(18 + 8, 18 + 8), 0x000000);  // the mask
  EXPECT_EQ(icons.GetPixelPx(18 + 1, 18 + 1), 0xFFFFFF);

  const platform::PictureSurface& s = player.Surface();
  const int b0 = player.Model().Button(0)->ButtonX;
  const int bw = player.Model().ButtonWidth();
  EXPECT_GT(CountColour(s, 0x333333, b0, b0 + bw), 20);
  EXPECT_EQ(CountColour(s, go, b0, b0 + bw), 0);
  QTest::mousePress(&player, Qt::LeftButton, {}, QPoint(b0 + 5, 5));
  EXPECT_GT(CountColour(s, go, b0, b0 + bw), 20);
  QTest::mouseRelease(&player, Qt::LeftButton, {}, QPoint(b0 + 5, 5));
  EXPECT_EQ(CountColour(s, go, b0, b0 + bw), 0);

  // Disabling all leaves buttons with an active picture as drawn until their next drawing.
  player.SetButtonState(0, 2);
  player.SetButtonDisableAll(1);
  EXPECT_GT(CountColour(s, go, b0, b0 + bw), 20);
  player.DrawButton(0, 0);
  EXPECT_EQ(CountColour(s, go, b0, b0 + bw), 0);
  player.SetButtonDisableAll(0);

  // A strip whose first Init had no pictures never adapts its library.
  UC_Buttons captions;
  captions.Move(0, 0, 1800, 450);
  captions.SetButtonCharNum();
  captions.Init();
  captions.SetButtonsEditorPlay();
  captions.Init();
  EXPECT_FALSE(captions.IconsTinted());
  EXPECT_EQ(captions.PictureIcons().GetPixelPx(18 + 8, 8), 0x383838);
  EXPECT_NE(captions.PiclibHdc(), player.PiclibHdc());
  EXPECT_EQ(SurfaceOfHandle(player.PiclibHdc()), &icons);
}

}  // namespace
}  // namespace widgets
