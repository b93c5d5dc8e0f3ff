#include "controls/widgets/button_strip_model.h"

#include <gtest/gtest.h>

#include "platform/system_colors.h"

namespace widgets {
namespace {

constexpr int32_t kHighlightRef = platform::SystemColorRef(platform::COLOR_BTNHIGHLIGHT);
constexpr int32_t kDarkest = 0x3C3C3C;  // the button face toned down to a mean of 60

ButtonStripModel Strip(int32_t count, int32_t widthPx, int32_t design = 0, int32_t mimi = -1) {
  ButtonStripModel model;
  model.SetNumButtons(count);
  model.SetDesignType(design);
  model.MimiWidth = mimi;
  model.Layout(widthPx, 22);
  return model;
}

TEST(ButtonStripModelTest, LayoutShrinksTheControlToWholeButtons) {
  struct Case {
    int32_t count, width, design, mimi;
    int32_t ear, buttonWidth, controlWidth;
    std::vector<int32_t> x;
  } const cases[] = {
      {3, 160, 0, -1, 8, 47, 159, {9, 56, 103}},  // 2400 twips: ears from design 0
      {3, 160, 1, -1, 0, 52, 158, {1, 53, 105}},  // designs 1 to 4: no ears
      {3, 160, 5, -1, 0, 52, 158, {1, 53, 105}},  // other designs keep -1, counted as 0
      {2, 160, 0, -1, 8, 71, 160, {9, 80}},       // the OK/Cancel pair
      {8, 288, 0, 0, 0, 35, 282, {1, 36, 71, 106, 141, 176, 211, 246}},
      {3, 10, 0, -1, 8, 0, 18, {9, 9, 9}},  // too narrow for any button
  };
  for (const Case& c : cases) {
    const ButtonStripModel m = Strip(c.count, c.width, c.design, c.mimi);
    EXPECT_EQ(m.Ear(), c.ear) << c.count << "/" << c.width;
    EXPECT_EQ(m.ButtonWidth(), c.buttonWidth) << c.count << "/" << c.width;
    EXPECT_EQ(m.ControlWidth(), c.controlWidth) << c.count << "/" << c.width;
    std::vector<int32_t> x;
    for (const StripButton& b : m.Buttons()) x.push_back(b.ButtonX);
    EXPECT_EQ(x, c.x) << c.count << "/" << c.width;
  }
}

TEST(ButtonStripModelTest, HitTestLeavesEarsAndEdgesOut) {
  const ButtonStripModel m = Strip(3, 160);  // buttons 9..55, 56..102, 103..149
  struct Case {
    double twips;
    int32_t button;
  } const cases[] = {
      {0, -1},   {120, -1},                // left ear and its closing line (pixel 8)
      {135, 0},  {134.4, -1}, {134.6, 0},  // CLng(X) \ 15: 134.6 is pixel 9
      {839, 0},  {840, 1},    {1544, 1},  {1545, 2},
      {2249, 2}, {2250, -1},  {2370, -1},  // pixel 150, the right ear
      {-30, -1}, {1e12, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(m.HitTest(c.twips, 15), c.button) << c.twips;
  EXPECT_EQ(m.HitTest(840, 0), -1);  // no scale
}

// The click, shift, right-click, other-button and ear sequences run through the real mouse in
// the view's test; here the releases it cannot reach.
TEST(ButtonStripModelTest, ReleasesAwayFromThePress) {
  using Event = StripRelease::Event;
  ButtonStripModel m = Strip(3, 160);
  // Below the strip: nothing, and the button drawn pressed is drawn released again.
  EXPECT_EQ(m.Press(1, 900, 15), 1);
  StripRelease r = m.Release(1, 0, 900, 400, 15);
  EXPECT_EQ(r.event, Event::None);
  EXPECT_EQ(r.redraw, 1);
  EXPECT_EQ(m.PressedButton, -1);
  // Disabled while held: the same.
  EXPECT_EQ(m.Press(1, 900, 15), 1);
  m.SetDisabled(1, 1, 0);
  r = m.Release(1, 0, 900, 100, 15);
  EXPECT_EQ(r.event, Event::None);
  EXPECT_EQ(r.redraw, 1);
  // The temporary flag disables as well, and the two flags are kept apart.
  ButtonStripModel d = Strip(3, 160);
  d.SetDisabled(1, 1, 1);
  EXPECT_EQ(d.Press(1, 900, 15), -1);
  EXPECT_EQ(d.Release(2, 0, 900, 100, 15).event, Event::None);
  EXPECT_EQ(d.Disabled(1, 1), 1);
  EXPECT_EQ(d.Disabled(1, 0), 0);
}

TEST(ButtonStripModelTest, CaptionColours) {
  ButtonStripModel m = Strip(3, 160);
  auto look = m.CaptionLook(0, false);
  EXPECT_FALSE(look.shadow.has_value());
  EXPECT_EQ(look.main, kDarkest);
  EXPECT_EQ(m.CaptionLook(0, true).main, 0x00D000);  // lit
  m.SetOn(1, 1);
  EXPECT_EQ(m.CaptionLook(1, false).main, 0x00D000);
  ASSERT_TRUE(m.SetSelectedButton(2).has_value());
  EXPECT_EQ(m.CaptionLook(2, false).main, 0x00D000);
  m.SetDisabled(2, 1, 1);
  EXPECT_EQ(m.CaptionLook(2, false).main, kHighlightRef);
  m.NoGrayAtDisabled = 1;
  EXPECT_EQ(m.CaptionLook(2, false).main, 0x00D000);
  // With 3-D captions a shadow goes under the caption.
  m.Disable3D = 0;
  look = m.CaptionLook(0, false);
  EXPECT_EQ(look.shadow, kDarkest);
  EXPECT_EQ(look.main, kHighlightRef);
  look = m.CaptionLook(1, false);
  EXPECT_EQ(look.shadow, 0x00A000);
  EXPECT_EQ(look.main, 0x00D000);
  EXPECT_EQ(m.CaptionLook(2, false).shadow, kHighlightRef);
  EXPECT_FALSE(m.CaptionLook(3, false).shadow.has_value());
  // Design 1 selects in white, its shadow darkened by 70.
  m.SetDesignType(1);
  EXPECT_EQ(m.SelectedColor(), 0xFFFFFF);
  EXPECT_EQ(m.SelectedDark(), 0xB9B9B9);
}

TEST(ButtonStripModelTest, IndicesOutsideTheButtonsAreIgnored) {
  ButtonStripModel m = Strip(2, 160);
  for (int32_t index : {-1, -2, 2, 500}) {
    EXPECT_FALSE(m.SetCaption(index, "x")) << index;
    EXPECT_EQ(m.Caption(index), "") << index;
    EXPECT_FALSE(m.SetDisabled(index, 1, 0)) << index;
    EXPECT_EQ(m.Disabled(index, 0), 0) << index;
    EXPECT_FALSE(m.SetOn(index, 1)) << index;
    EXPECT_EQ(m.On(index), 0) << index;
    m.SetPicIndexa(index, 3);
    m.SetPicIndexn(index, 3);
    EXPECT_EQ(m.PictureCell(index, true), -1) << index;
  }
  // Selection: -1 is "none"; other values outside the buttons change nothing.
  EXPECT_EQ(m.SetSelectedButton(1), std::vector<int32_t>{1});
  EXPECT_FALSE(m.SetSelectedButton(2).has_value());
  EXPECT_FALSE(m.SetSelectedButton(-2).has_value());
  EXPECT_EQ(m.SelectedButton(), 1);
  EXPECT_EQ(m.SetSelectedButton(0), (std::vector<int32_t>{1, 0}));
  EXPECT_EQ(m.SetSelectedButton(-1), std::vector<int32_t>{0});

  const std::pair<int32_t, int32_t> counts[] = {{0, 1}, {-7, 1}, {5, 5}, {1 << 30, 1024}};
  for (const auto& [asked, kept] : counts) {
    m.SetNumButtons(asked);
    EXPECT_EQ(m.NumButtons(), kept) << asked;
  }
}

TEST(ButtonStripModelTest, CaptionsPicturesAndPresets) {
  ButtonStripModel m;
  m.SetOKCancel(0, 0);
  EXPECT_EQ(m.Caption(0), "キャンセル");
  EXPECT_EQ(m.Caption(1), "OK");
  m.SetOKCancel(1, 1);
  EXPECT_EQ(m.Caption(0), "OK");
  EXPECT_EQ(m.SelectedColor(), 0xFFFFFF);

  m.SetPictures({{15, 18}, {16, 19}, {1, 9}, {3, 11}, {17, 20}}, 1);
  EXPECT_EQ(m.NumButtons(), 5);
  EXPECT_EQ(m.PictureCell(2, false), 1);
  EXPECT_EQ(m.PictureCell(2, true), 9);
  m.SetPictures({{4, 4}, {5, 5}}, 0);
  EXPECT_EQ(m.PictureCell(1, true), 5);  // no active picture
  EXPECT_TRUE(m.Button(1)->IsPicture());
  m.SetCaption(1, "Go");
  EXPECT_FALSE(m.Button(1)->IsPicture());
  m.SetPicIndexa(1, 9);  // a picture again, with an active image
  EXPECT_EQ(m.Caption(1), "");
  EXPECT_EQ(m.PictureCell(1, true), 9);
  EXPECT_EQ(m.PictureCell(1, false), -1);
  m.NumberCaptions();
  EXPECT_EQ(m.Caption(0), "1");
  EXPECT_EQ(m.Caption(1), "2");

  // Content centring, pixels: pictures are 18 square, captions as measured.
  ButtonStripModel c = Strip(2, 160);
  c.SetPicIndexn(0, 1);
  c.CentreContent(0, 0, 0);
  EXPECT_EQ(c.Button(0)->ContentX, 36);  // 9 + 35.5 - 9, halves to even
  EXPECT_EQ(c.Button(0)->ContentY, 2);
  c.SetCaption(1, "OK");
  c.CentreContent(1, 15, 12);
  EXPECT_EQ(c.Button(1)->ContentX, 108);  // 80 + 35.5 - 7.5
  EXPECT_EQ(c.Button(1)->ContentY, 5);
}

TEST(ButtonStripModelTest, PictureTinting) {
  for (int32_t cell = 0; cell < kPictureCellCount; ++cell) {
    const bool kept = cell == 8 || cell == 9 || cell == 10 || cell == 11 || cell == 13 ||
                      cell == 18 || cell == 19 || cell == 20 || cell == 23 || cell == 24;
    EXPECT_EQ(IsTintedCell(cell), !kept) << cell;
  }
  EXPECT_FALSE(IsTintedCell(-1));
  EXPECT_FALSE(IsTintedCell(26));
  EXPECT_EQ(TintChannel(0x38, 0xC0), 51);  // 56 × 192 / 210
  EXPECT_EQ(TintChannel(210, 105), 105);
  EXPECT_EQ(TintChannel(255, 255), 255);  // held at 255
  EXPECT_EQ(TintChannel(100, 0), 0);
}

}  // namespace
}  // namespace widgets
