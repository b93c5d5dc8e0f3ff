#include "foundation/control_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "foundation/check_control_setup.h"
#include "tests/foundation/font_fakes.h"

namespace foundation {
namespace {

struct FakeControl : LayoutControl {
  FakeControl(double l, double t, double w, double h) : left(l), top(t), width(w), height(h) {}
  double Left() const override { return left; }
  double Top() const override { return top; }
  double Width() const override { return width; }
  double Height() const override { return height; }
  void SetLeft(double v) override { left = v; }
  void SetTop(double v) override { top = v; }
  void SetWidth(double v) override { width = v; }
  void SetHeight(double v) override { height = v; }
  bool Visible() const override { return visible; }
  void SetVisible(bool v) override { visible = v; }
  int32_t TabIndex() const override { return tab; }
  void SetTabIndex(int32_t v) override { tab = v; }
  bool SetContainerFrom(const LayoutControl& other) override {
    container = static_cast<const FakeControl&>(other).container;
    return true;
  }
  FontWindow* FontTarget() override { return &font; }

  double left, top, width, height;
  bool visible = false;
  int32_t tab = 0;
  std::string container;
  testsupport::FakeFontWindow font;
};

class ControlLayoutTest : public ::testing::Test {
 protected:
  testsupport::FontTableScope fonts_;
};

TEST_F(ControlLayoutTest, PlaceControlBesideBySideAndAlignment) {
  struct Case {
    int32_t tpp, side, gap, align, alignValue;
    double left, top;
  };
  // Reference at 1000,2000 sized 1500 x 300; the control starts at 7,9 sized 600 x 240.
  const Case cases[] = {
      {15, 0, 60, 0, 0, 7, 2360}, {15, 0, -1, 1, 0, 1000, 2330},  {12, 0, -1, 1, 0, 1000, 2324},
      {15, 1, -1, 0, 0, 2530, 9}, {15, 1, 15, 2, 444, 2515, 444}, {15, 2, 99, 1, 0, 1000, 2030},
      {15, 3, -1, 0, 0, 1930, 9}, {15, 3, 0, 1, 0, 1900, 2300},   {15, 1, 0, 3, 5, 2500, 9},
      {15, 4, 60, 1, 0, 7, 9},    {15, -1, 60, 1, 0, 7, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "side " << c.side << " align " << c.align);
    Globals().TwipsPerPixel = c.tpp;
    const FakeControl reference(1000, 2000, 1500, 300);
    FakeControl control(7, 9, 600, 240);
    PlaceControlBeside(control, reference, c.side, c.gap, c.align, c.alignValue);
    EXPECT_EQ(control.left, c.left);
    EXPECT_EQ(control.top, c.top);
    EXPECT_EQ(control.width, 600);
  }
  // Centring an odd difference leaves half a twip for the control to round.
  const FakeControl reference(0, 100, 10, 301);
  FakeControl control(0, 0, 10, 200);
  PlaceControlBeside(control, reference, kPlaceCentredLevel, 0, 0, 0);
  EXPECT_EQ(control.top, 150.5);
}

TEST_F(ControlLayoutTest, ScaleControlToWholePixels) {
  struct Case {
    float rate;
    bool keepWidth, keepHeight, moveToo;
    double left, top, width, height;  // before
    double eLeft, eTop, eWidth, eHeight;
  };
  const Case cases[] = {
      // 1000 x 1.25 = 1250 twips = 83.3 pixels: 83 pixels, 1245 twips.
      {1.25F, false, false, true, 1000, 100, 1000, 300, 1245, 120, 1245, 375},
      {1.25F, true, false, true, -100, 0, 1000, 300, -120, 0, 1000, 375},
      {1.25F, false, true, false, 0, 0, 1000, 300, 0, 0, 1245, 300},
      // 89 x 0.5 = 44.5 goes to the even 44 (2 pixels), not 45 (3 pixels).
      {0.5F, false, false, false, 0, 0, 89, 59, 0, 0, 30, 30},
      // A rate of exactly 1 changes nothing, not even sizes that are no whole pixels.
      {1.0F, false, false, true, 7, 8, 1001, 302, 7, 8, 1001, 302},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rate << " " << c.width);
    FakeControl control(c.left, c.top, c.width, c.height);
    ScaleControl(c.rate, control, c.keepWidth, c.keepHeight, c.moveToo, 0);
    EXPECT_EQ(control.left, c.eLeft);
    EXPECT_EQ(control.top, c.eTop);
    EXPECT_EQ(control.width, c.eWidth);
    EXPECT_EQ(control.height, c.eHeight);
    EXPECT_TRUE(control.font.fonts.empty());
  }

  // A font size gives the user-interface face at rate x size, also at a rate of 1.
  FakeControl scaled(0, 0, 1000, 300);
  ScaleControl(1.25F, scaled, false, false, false, 9);
  FakeControl plain(0, 0, 1000, 300);
  ScaleControl(1.0F, plain, false, false, false, 9);
  ASSERT_EQ(scaled.font.fonts.size(), 1u);
  ASSERT_EQ(plain.font.fonts.size(), 1u);
  EXPECT_EQ(plain.font.fonts[0], FontHandles().at(0).handle);  // the 9-point entry 0
  const FontHandleEntry& entry = FontHandles().at(1);
  EXPECT_EQ(entry.handle, scaled.font.fonts[0]);
  EXPECT_FLOAT_EQ(entry.size, 11.25F);
  EXPECT_EQ(entry.face, UiFontFace());
  EXPECT_EQ(entry.bold, 0);
}

// Elements are made at 0,0 sized like element 0, hidden, in no container.
struct FakeArray : ControlArray {
  FakeArray() { elements[0] = std::make_unique<FakeControl>(100, 200, 900, 300); }
  LayoutControl* Element(int32_t index) override {
    const auto it = elements.find(index);
    return it == elements.end() ? nullptr : it->second.get();
  }
  LayoutControl* Load(int32_t index) override {
    if (elements.count(index) != 0 || failLoad) return nullptr;
    auto& slot = elements[index];
    slot = std::make_unique<FakeControl>(0, 0, 900, 300);
    return slot.get();
  }
  FakeControl& at(int32_t index) { return *elements.at(index); }

  std::map<int32_t, std::unique_ptr<FakeControl>> elements;
  bool failLoad = false;
};

TEST_F(ControlLayoutTest, LoadControlInstanceNextToItsPredecessor) {
  FakeArray array;
  array.at(0).container = "page 1";
  array.at(0).tab = 4;

  LoadControlInstance(array, 1, kPlaceBelow, 1, 1, -1);
  FakeControl& first = array.at(1);
  EXPECT_EQ(first.container, "page 1");
  EXPECT_EQ(first.tab, 5);
  EXPECT_EQ(first.left, 100);
  EXPECT_EQ(first.top, 200 + 300 + 30);
  EXPECT_TRUE(first.visible);
  ASSERT_EQ(array.at(0).font.fonts.size(), 1u);  // element 0 gets the font with element 1
  ASSERT_EQ(first.font.fonts.size(), 1u);
  EXPECT_EQ(first.font.fonts[0], FontHandles().at(0).handle);

  LoadControlInstance(array, 2, kPlaceRight, 1, 1, 60);
  EXPECT_EQ(array.at(2).left, 100 + 900 + 60);
  EXPECT_EQ(array.at(2).top, 530);
  EXPECT_EQ(array.at(2).tab, 6);
  EXPECT_EQ(array.at(0).font.fonts.size(), 1u);  // only for index 1

  // Side -1: not placed; hidden when asked; no font.
  LoadControlInstance(array, 3, -1, 0, 0, -1);
  EXPECT_EQ(array.at(3).left, 0);
  EXPECT_FALSE(array.at(3).visible);
  EXPECT_TRUE(array.at(3).font.fonts.empty());

  // Nothing happens for an element that exists, index 0, a gap in the array or a failed load.
  array.at(2).left = 1;
  LoadControlInstance(array, 2, kPlaceBelow, 1, 1, -1);
  EXPECT_EQ(array.at(2).left, 1);
  LoadControlInstance(array, 0, kPlaceBelow, 1, 1, -1);
  LoadControlInstance(array, 9, kPlaceBelow, 1, 1, -1);
  array.failLoad = true;
  LoadControlInstance(array, 4, kPlaceBelow, 1, 1, -1);
  EXPECT_EQ(array.elements.size(), 4u);
}

// Records the order of what InitCheckControl sets.
struct FakePicture {};
struct FakeCheck {
  double Left() const { return left; }
  double Top() const { return top; }
  void SetGradhdc(int32_t h) { calls.push_back("Gradhdc " + std::to_string(h)); }
  void SetBGPic(int32_t x, int32_t y, FakePicture& p) {
    calls.push_back("SetBGPic " + std::to_string(x) + "," + std::to_string(y));
    picture = &p;
  }
  void SetFontSize(float s) { calls.push_back("FontSize " + std::to_string(s)); }
  void SetSizeRate(float r) { calls.push_back("SizeRate " + std::to_string(r)); }
  void SetCaption(const std::string& c) { calls.push_back("Caption " + c); }
  void SetValue(int32_t v) { calls.push_back("Value " + std::to_string(v)); }

  double left = 1507.5;  // halves go to the even twip
  double top = 600;
  FakePicture* picture = nullptr;
  std::vector<std::string> calls;
};

TEST(InitCheckControl, SetsEverythingInLayoutOrder) {
  FakePicture page;
  FakeCheck check;
  InitCheckControl(check, "自動", 1, page, 9.0F, 0, 1.25F);  // a handle of 0 is not passed on
  EXPECT_EQ(check.calls,
            (std::vector<std::string>{"SetBGPic 1508,600", "FontSize 9.000000", "SizeRate 1.250000",
                                      "Caption 自動", "Value 1"}));
  EXPECT_EQ(check.picture, &page);

  check.calls.clear();
  InitCheckControl(check, "x", 0, page, 9.0F, 77, 1.0F);
  EXPECT_EQ(check.calls.front(), "Gradhdc 77");
  EXPECT_EQ(check.calls.back(), "Value 0");
}

}  // namespace
}  // namespace foundation
