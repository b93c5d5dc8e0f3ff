#include "foundation/control_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "foundation/app_globals.h"
#include "foundation/check_control_setup.h"
#include "foundation/font_table.h"

namespace foundation {
namespace {

struct FakeFontWindow : FontWindow {
  void SetWindowFont(int32_t handle) override { fonts.push_back(handle); }
  std::vector<int32_t> fonts;
};

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
  FakeFontWindow font;
};

struct FakeFontFactory : FontFactory {
  int32_t CreateFont(const FontRequest&) override { return next++; }
  void DeleteFont(int32_t) override {}
  int32_t next = 100;
};

// Sets the program state and the font table up for one test and puts them back.
class ControlLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalsForTest();
    ResetFontTableForTest();
    SetFontFactory(&fonts_);
  }
  void TearDown() override {
    ResetFontTableForTest();
    SetFontFactory(nullptr);
    ResetGlobalsForTest();
  }
  FakeFontFactory fonts_;
};

TEST_F(ControlLayoutTest, PlaceControlBesideBySideAndAlignment) {
  struct Case {
    int32_t tpp, side, gap, align, alignValue;
    double left, top;
  };
  // Reference at 1000,2000 sized 1500 x 300; the control starts at 7,9 sized 600 x 240.
  const Case cases[] = {
      {15, 0, 60, 0, 0, 7, 2360},     {15, 0, -1, 1, 0, 1000, 2330}, {12, 0, -1, 1, 0, 1000, 2324},
      {15, 0, 60, 2, 555, 555, 2360}, {15, 1, -1, 0, 0, 2530, 9},    {15, 1, 15, 1, 0, 2515, 2000},
      {15, 1, 15, 2, 444, 2515, 444}, {15, 2, 99, 0, 0, 7, 2030},    {15, 2, 99, 1, 0, 1000, 2030},
      {15, 2, 99, 2, 321, 321, 2030}, {15, 3, -1, 0, 0, 1930, 9},    {15, 3, 0, 1, 0, 1900, 2300},
      {15, 3, 0, 2, 777, 1900, 777},  {15, 1, 0, 3, 5, 2500, 9},     {15, 4, 60, 1, 0, 7, 9},
      {15, -1, 60, 1, 0, 7, 9},
  };
  for (const Case& c : cases) {
    Globals().TwipsPerPixel = c.tpp;
    const FakeControl reference(1000, 2000, 1500, 300);
    FakeControl control(7, 9, 600, 240);
    PlaceControlBeside(control, reference, c.side, c.gap, c.align, c.alignValue);
    EXPECT_EQ(control.left, c.left) << "side " << c.side << " align " << c.align;
    EXPECT_EQ(control.top, c.top) << "side " << c.side << " align " << c.align;
    EXPECT_EQ(control.width, 600);
    EXPECT_EQ(control.height, 240);
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
      {1.25F, false, false, false, 100, 100, 1000, 300, 100, 100, 1245, 375},
      {1.25F, false, false, true, 1000, 100, 1000, 300, 1245, 120, 1245, 375},
      {1.25F, true, false, true, -100, 0, 1000, 300, -120, 0, 1000, 375},
      {1.25F, false, true, false, 0, 0, 1000, 300, 0, 0, 1245, 300},
      // 89 x 0.5 = 44.5 goes to the even 44 (2 pixels), not 45 (3 pixels).
      {0.5F, false, false, false, 0, 0, 89, 59, 0, 0, 30, 30},
      // A rate of exactly 1 changes nothing, not even sizes that are no whole pixels.
      {1.0F, false, false, true, 7, 8, 1001, 302, 7, 8, 1001, 302},
  };
  for (const Case& c : cases) {
    FakeControl control(c.left, c.top, c.width, c.height);
    ScaleControl(c.rate, control, c.keepWidth, c.keepHeight, c.moveToo, 0);
    EXPECT_EQ(control.left, c.eLeft) << c.rate << " " << c.width;
    EXPECT_EQ(control.top, c.eTop) << c.rate << " " << c.width;
    EXPECT_EQ(control.width, c.eWidth) << c.rate << " " << c.width;
    EXPECT_EQ(control.height, c.eHeight) << c.rate << " " << c.width;
    EXPECT_TRUE(control.font.fonts.empty());
  }

  // A font size gives the user-interface face at rate x size, also at a rate of 1.
  FakeControl scaled(0, 0, 1000, 300);
  ScaleControl(1.25F, scaled, false, false, false, 9);
  FakeControl plain(0, 0, 1000, 300);
  ScaleControl(1.0F, plain, false, false, false, 9);
  ASSERT_EQ(scaled.font.fonts.size(), 1u);
  ASSERT_EQ(plain.font.fonts.size(), 1u);
  bool sawScaled = false;
  for (const FontHandleEntry& e : FontHandles()) {
    if (e.handle == scaled.font.fonts[0]) {
      sawScaled = true;
      EXPECT_FLOAT_EQ(e.size, 11.25F);
      EXPECT_EQ(e.face, UiFontFace());
      EXPECT_EQ(e.bold, 0);
      EXPECT_EQ(e.italic, 0);
    }
  }
  EXPECT_TRUE(sawScaled);
  EXPECT_EQ(plain.font.fonts[0], FontHandles().at(0).handle);  // the 9-point entry 0
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
  array.at(0).visible = true;

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
  EXPECT_FLOAT_EQ(FontHandles().at(0).size, 9.0F);

  LoadControlInstance(array, 2, kPlaceRight, 1, 1, 60);
  EXPECT_EQ(array.at(2).left, 100 + 900 + 60);
  EXPECT_EQ(array.at(2).top, 530);
  EXPECT_EQ(array.at(2).tab, 6);
  EXPECT_EQ(array.at(0).font.fonts.size(), 1u);  // only for index 1
  EXPECT_EQ(array.at(2).font.fonts.size(), 1u);

  // Side -1: not placed; hidden when asked; no font.
  LoadControlInstance(array, 3, -1, 0, 0, -1);
  EXPECT_EQ(array.at(3).left, 0);
  EXPECT_EQ(array.at(3).top, 0);
  EXPECT_FALSE(array.at(3).visible);
  EXPECT_EQ(array.at(3).container, "page 1");
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

// Records what InitCheckControl sets, in order.
struct FakePicture {
  int id = 0;
};
struct FakeCheck {
  double Left() const { return left; }
  double Top() const { return top; }
  void SetGradhdc(int32_t h) {
    calls.push_back("Gradhdc");
    if (h != 0) gradient = h;
  }
  void SetBGPic(int32_t x, int32_t y, FakePicture& p) {
    calls.push_back("SetBGPic");
    picX = x;
    picY = y;
    picture = &p;
  }
  void SetFontSize(float s) {
    calls.push_back("FontSize");
    fontSize = s;
  }
  void SetSizeRate(float r) {
    calls.push_back("SizeRate");
    sizeRate = r;
  }
  void SetCaption(const std::string& c) {
    calls.push_back("Caption");
    caption = c;
  }
  void SetValue(int32_t v) {
    calls.push_back("Value");
    value = v;
  }

  double left = 0, top = 0;
  int32_t gradient = 0, picX = -1, picY = -1, value = -1;
  float fontSize = 0, sizeRate = 0;
  std::string caption;
  FakePicture* picture = nullptr;
  std::vector<std::string> calls;
};

TEST(InitCheckControl, SetsEverythingInLayoutOrder) {
  FakePicture page{7};
  FakeCheck check;
  check.left = 1507.5;  // halves go to the even twip
  check.top = 600;
  check.gradient = 42;
  InitCheckControl(check, "自動", 1, page, 9.0F, 0, 1.25F);
  EXPECT_EQ(check.gradient, 42);  // a handle of 0 keeps the previous one
  EXPECT_EQ(check.calls,
            (std::vector<std::string>{"SetBGPic", "FontSize", "SizeRate", "Caption", "Value"}));
  EXPECT_EQ(check.picX, 1508);
  EXPECT_EQ(check.picY, 600);
  EXPECT_EQ(check.picture, &page);
  EXPECT_EQ(check.fontSize, 9.0F);
  EXPECT_EQ(check.sizeRate, 1.25F);
  EXPECT_EQ(check.caption, "自動");
  EXPECT_EQ(check.value, 1);

  check.calls.clear();
  InitCheckControl(check, "x", 0, page, 9.0F, 77, 1.0F);
  EXPECT_EQ(check.calls.front(), "Gradhdc");
  EXPECT_EQ(check.gradient, 77);
  EXPECT_EQ(check.value, 0);
}

}  // namespace
}  // namespace foundation
