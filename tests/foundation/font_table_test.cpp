#include "foundation/font_table.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <string>
#include <vector>

#include "tests/foundation/font_fakes.h"

namespace foundation {
namespace {

struct FakeControl : FontSource {
  float FontSize() const override { return 12; }
  bool FontBold() const override { return true; }
  bool FontItalic() const override { return false; }
  std::string FontName() const override { return "Arial"; }
  FontWindow* Window() override { return &window; }

  testsupport::FakeFontWindow window;
};

class FontTableTest : public ::testing::Test {
 protected:
  testsupport::FontTableScope scope_;
  testsupport::FakeFontFactory& factory_ = scope_.factory;
  testsupport::FakeFontWindow window_;
};

TEST(FontRequestTest, HeightWeightAndCharsetFollowTheScale) {
  struct Case {
    float size;
    int16_t bold, italic;
    const char* face;
    int32_t twipsPerPixel;
    int32_t height, weight;
    bool italicOut;
    uint8_t charset;
  };
  const Case cases[] = {
      {9, -1, 0, kDefaultUiFace, 15, 12, 700, false, kShiftJisCharset},
      {9, -1, -1, kDefaultUiFace, 12, 15, 875, true, kShiftJisCharset},
      // 9 x 20 x 1.34 / 15 = 16.08.
      {9, 0, 0, kLargeCellFace, 15, 16, 0, false, kShiftJisCharset},
      // 9.375 x 20 / 15 = 12.5 rounds to even 12.
      {9.375F, 0, 0, "Arial", 15, 12, 0, false, kShiftJisCharset},
      {20, -1, 0, "Impact", 15, 27, 700, false, kAnsiCharset},
      {20, 0, 0, "impact", 15, 27, 0, false, kShiftJisCharset},
      // Only -1 is true.
      {9, 1, 1, "Arial", 15, 12, 0, false, kShiftJisCharset},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.face << " " << c.size << " tpp " << c.twipsPerPixel);
    FontRequest request;
    ASSERT_TRUE(BuildFontRequest(c.size, c.bold, c.italic, c.face, c.twipsPerPixel, request));
    EXPECT_EQ(request.height, c.height);
    EXPECT_EQ(request.weight, c.weight);
    EXPECT_EQ(request.italic, c.italicOut);
    EXPECT_EQ(request.charset, c.charset);
    EXPECT_EQ(request.face, c.face);
  }
  FontRequest request;
  EXPECT_FALSE(BuildFontRequest(9, 0, 0, "Arial", 0, request));
  EXPECT_FALSE(BuildFontRequest(1e30F, 0, 0, "Arial", 15, request));
  EXPECT_FALSE(
      BuildFontRequest(std::numeric_limits<float>::quiet_NaN(), 0, 0, "Arial", 15, request));
}

TEST_F(FontTableTest, SameFaceSizeBoldItalicReusesOneEntry) {
  // Entry 0 is the user-interface face at 9 points, made on the first call.
  EXPECT_EQ(SetControlFont(&window_, -2, nullptr, 0, 0, 0, ""), 0);
  ASSERT_EQ(FontHandles().size(), 1u);
  EXPECT_EQ(FontHandles()[0].face, kDefaultUiFace);
  EXPECT_EQ(FontHandles()[0].size, 9.0F);
  EXPECT_EQ(window_.fonts, std::vector<int32_t>({100}));

  EXPECT_EQ(SetControlFont(&window_, -2, nullptr, 12, -1, 0, "Arial"), 1);
  // Any difference makes a new entry: size, bold, italic, face case.
  EXPECT_EQ(SetControlFont(&window_, -2, nullptr, 12.5F, -1, 0, "Arial"), 2);
  EXPECT_EQ(SetControlFont(&window_, -2, nullptr, 12, 0, 0, "Arial"), 3);
  EXPECT_EQ(SetControlFont(&window_, -2, nullptr, 12, -1, -1, "Arial"), 4);
  EXPECT_EQ(SetControlFont(&window_, -2, nullptr, 12, -1, 0, "arial"), 5);
  // Size 9 in the UI face is entry 0 again.
  EXPECT_EQ(SetControlFont(&window_, -2, nullptr, 9, 0, 0, kDefaultUiFace), 0);
  EXPECT_EQ(factory_.requests.size(), 6u);
  // Only -1 is true: flags of 1 are an upright, normal-weight font of their own.
  EXPECT_EQ(SetControlFont(&window_, -2, nullptr, 12, 1, 1, "Arial"), 6);
  EXPECT_EQ(factory_.requests.back().weight, 0);
  EXPECT_FALSE(factory_.requests.back().italic);
  EXPECT_EQ(FontHandles()[6].bold, 1);
  EXPECT_EQ(SetControlFont(&window_, -2, nullptr, 12, 1, 1, "Arial"), 6);

  // Mode -1 takes everything from the control and sends to the control's window.
  FakeControl control;
  EXPECT_EQ(SetControlFont(&window_, -1, &control, 30, 0, -1, "Other"), 1);
  EXPECT_EQ(control.window.fonts, std::vector<int32_t>({101}));

  // Mode 0 and above apply that entry.
  EXPECT_EQ(SetControlFont(&window_, 3, nullptr, 0, 0, 0, ""), 3);
  EXPECT_EQ(window_.fonts.back(), FontHandles()[3].handle);
  // No window: nothing sent, the index still comes back.
  EXPECT_EQ(SetControlFont(nullptr, -2, nullptr, 12, -1, 0, "Arial"), 1);
}

TEST_F(FontTableTest, FailuresReturnMinusThreeAndChangeNothing) {
  // Mode below -2.
  EXPECT_EQ(SetControlFont(&window_, -3, nullptr, 9, 0, 0, ""), -3);
  EXPECT_TRUE(FontHandles().empty());
  // Entry 0 cannot be made.
  factory_.failNext = 1;
  EXPECT_EQ(SetControlFont(&window_, -2, nullptr, 9, 0, 0, ""), -3);
  EXPECT_TRUE(FontHandles().empty());

  ASSERT_EQ(SetControlFont(&window_, -2, nullptr, 10, 0, 0, ""), 1);
  ASSERT_EQ(SetControlFont(&window_, -2, nullptr, 11, 0, 0, ""), 2);
  window_.fonts.clear();
  // Index beyond a table of three.
  EXPECT_EQ(SetControlFont(&window_, 3, nullptr, 0, 0, 0, ""), -3);
  // A new font that cannot be made.
  factory_.failNext = 1;
  EXPECT_EQ(SetControlFont(&window_, -2, nullptr, 14, 0, 0, ""), -3);
  factory_.failNext = 1;
  EXPECT_EQ(CreateFontHandle(15, 0, 0, "Arial"), 0);
  // Mode -1 without a control.
  EXPECT_EQ(SetControlFont(&window_, -1, nullptr, 9, 0, 0, ""), -3);
  EXPECT_TRUE(window_.fonts.empty());
  // No twips scale, or no factory: no font.
  Globals().TwipsPerPixel = 0;
  EXPECT_EQ(CreateFontHandle(16, 0, 0, "Arial"), 0);
  Globals().TwipsPerPixel = 15;
  SetFontFactory(nullptr);
  EXPECT_EQ(CreateFontHandle(16, 0, 0, "Arial"), 0);
  EXPECT_EQ(FontHandles().size(), 3u);
}

TEST_F(FontTableTest, LargeCellFaceCarriesItsHeightFactorAndDeleteEmptiesTheTable) {
  SetUiFontFace(kLargeCellFace);
  EXPECT_EQ(SetControlFont(&window_, -2, nullptr, 0, 0, 0, ""), 0);
  EXPECT_EQ(FontHandles()[0].face, kLargeCellFace);
  EXPECT_FLOAT_EQ(FontHeightFactor(0), static_cast<float>(1 / 1.34));
  EXPECT_EQ(factory_.requests[0].height, 16);
  EXPECT_EQ(SetControlFont(&window_, -2, nullptr, 9, 0, 0, "Arial"), 1);
  EXPECT_FLOAT_EQ(FontHeightFactor(1), 1.0F);
  EXPECT_FLOAT_EQ(FontHeightFactor(7), 1.0F);
  EXPECT_FLOAT_EQ(FontHeightFactor(-1), 1.0F);

  DeleteFontHandles();
  EXPECT_TRUE(FontHandles().empty());
  EXPECT_EQ(std::set<int32_t>(factory_.deleted.begin(), factory_.deleted.end()),
            std::set<int32_t>({100, 101}));
  // The face stays; the next call makes entry 0 afresh.
  EXPECT_EQ(UiFontFace(), kLargeCellFace);
  DeleteFontHandles();
  EXPECT_EQ(factory_.deleted.size(), 2u);
  EXPECT_EQ(SetControlFont(&window_, -2, nullptr, 0, 0, 0, ""), 0);
  EXPECT_EQ(FontHandles()[0].handle, 102);
}

}  // namespace
}  // namespace foundation
