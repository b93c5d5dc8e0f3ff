#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "controls/widgets/view/uc_slider.h"
#include "foundation/app_globals.h"
#include "platform/system_colors.h"

namespace widgets {
namespace {

// Every event of a slider, in order, as "MouseUD(1,1)", "Scrolled(1)", "DblClicked".
class EventLog {
 public:
  explicit EventLog(UC_Slider& slider) {
    QObject::connect(&slider, &UC_Slider::MouseUD, [this](bool down, int16_t button) {
      events.push_back("MouseUD(" + std::to_string(down ? 1 : 0) + "," + std::to_string(button) +
                       ")");
    });
    QObject::connect(&slider, &UC_Slider::Scrolled, [this](int16_t button) {
      events.push_back("Scrolled(" + std::to_string(button) + ")");
    });
    QObject::connect(&slider, &UC_Slider::DblClicked, [this] { events.push_back("DblClicked"); });
  }
  std::vector<std::string> Take() { return std::exchange(events, {}); }
  std::vector<std::string> events;
};

using Events = std::vector<std::string>;

// A horizontal bar of 3000 × 270 twips at 15 twips per pixel, as the list view sets one up: the
// track is 163 pixels wide from pixel 19, the pointer 480 twips (32 pixels) with 1905 twips of
// travel.
std::unique_ptr<UC_Slider> MakeBar(int32_t vertical = 0) {
  auto slider = std::make_unique<UC_Slider>();
  slider->SetIsVertical(vertical);
  if (vertical != 0) {
    slider->Move(0, 0, 270, 3000);
  } else {
    slider->Move(0, 0, 3000, 270);
  }
  slider->Init();
  slider->SetValue(0);
  slider->show();
  return slider;
}

// A point of the track widget for a surface coordinate in twips along the axis.
QPoint TrackPoint(UC_Slider& slider, double twips) {
  const int b = slider.PictureSlider().BorderPixels();
  const int along = b + static_cast<int>(twips / 15);
  return slider.IsVertical() != 0 ? QPoint(b + 5, along) : QPoint(along, b + 5);
}

TEST(UcSliderGuiTest, PressDragReleaseOnTheTrack) {
  auto slider = MakeBar();
  EventLog log(*slider);
  platform::PictureBox& track = slider->PictureSlider();

  // Pressing inside the pointer keeps the grab point: the pointer does not move.
  QTest::mousePress(&track, Qt::LeftButton, {}, TrackPoint(*slider, 150));
  EXPECT_EQ(slider->Value(), 0);
  EXPECT_TRUE(slider->Clicked());
  QTest::mouseMove(&track, TrackPoint(*slider, 1500));
  // The pointer start follows the cursor less the grab point: 1500 - 150 twips.
  EXPECT_EQ(slider->Value(), 709);                      // 1000 / 1905 × 1350
  QTest::mouseMove(&track, TrackPoint(*slider, 2400));  // past the end
  EXPECT_EQ(slider->Value(), 1000);
  EXPECT_DOUBLE_EQ(slider->Model().PointerPos(), 1905);
  QTest::mouseRelease(&track, Qt::LeftButton, {}, TrackPoint(*slider, 2400));
  EXPECT_FALSE(slider->Clicked());
  EXPECT_EQ(log.Take(), (Events{"MouseUD(1,1)", "Scrolled(1)", "Scrolled(1)", "Scrolled(1)",
                                "MouseUD(0,1)", "Scrolled(1)"}));

  // Pressing beside the pointer centres it on the cursor.
  QTest::mousePress(&track, Qt::LeftButton, {}, TrackPoint(*slider, 990));
  EXPECT_DOUBLE_EQ(slider->Model().PointerPos(), 750);  // 990 - 240
  EXPECT_EQ(slider->Value(), 394);                      // 1000 / 1905 × 750 = 393.7
  QTest::mouseRelease(&track, Qt::LeftButton, {}, TrackPoint(*slider, 990));

  // The right button reports press and release but moves nothing.
  log.Take();
  QTest::mousePress(&track, Qt::RightButton, {}, TrackPoint(*slider, 60));
  QTest::mouseRelease(&track, Qt::RightButton, {}, TrackPoint(*slider, 60));
  EXPECT_EQ(slider->Value(), 394);
  EXPECT_EQ(log.Take(), (Events{"MouseUD(1,2)", "MouseUD(0,2)"}));

  // A vertical bar goes by the height.
  auto vertical = MakeBar(1);
  QTest::mousePress(&vertical->PictureSlider(), Qt::LeftButton, {}, TrackPoint(*vertical, 1200));
  EXPECT_EQ(vertical->Value(), 504);  // 1000 / 1905 × 960 = 503.9
  QTest::mouseRelease(&vertical->PictureSlider(), Qt::LeftButton, {}, TrackPoint(*vertical, 1200));
}

TEST(UcSliderGuiTest, DoubleClicks) {
  auto slider = MakeBar();
  EventLog log(*slider);
  // The toolkit's double-click event alone (its presses are reported separately).
  QTest::mouseDClick(&slider->PictureSlider(), Qt::LeftButton, {}, TrackPoint(*slider, 60));
  EXPECT_EQ(log.Take(), (Events{"DblClicked", "Scrolled(1)"}));
  EXPECT_EQ(slider->Value(), 0);

  // On an arrow it is one more press: a step at once and the repeat on until the release.
  platform::PictureBox& up = slider->PictureArrow(1);
  QTest::mouseDClick(&up, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(slider->Value(), 10);
  EXPECT_TRUE(slider->TimerCheck().isActive());
  QTest::mouseRelease(&up, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_FALSE(slider->TimerCheck().isActive());
  EXPECT_EQ(log.Take(), (Events{"Scrolled(1)", "MouseUD(0,1)"}));
}

TEST(UcSliderGuiTest, ArrowPressStepsAndRepeatsUntilRelease) {
  auto slider = MakeBar();
  EventLog log(*slider);
  platform::PictureBox& up = slider->PictureArrow(1);
  const QPoint middle(up.width() / 2, up.height() / 2);
  EXPECT_EQ(slider->TimerCheck().interval(), 200);
  // The arrow's image shows it held: arrow 1 points right, its base column at x 6 + 1.
  const platform::PictureSurface& image = up.Surface();
  EXPECT_EQ(image.GetPixelPx(7, 9), 0x000000);

  QTest::mousePress(&up, Qt::LeftButton, {}, middle);
  EXPECT_EQ(image.GetPixelPx(7, 9), 0xFFFFFF);
  EXPECT_EQ(slider->Value(), 10);  // one step at once
  EXPECT_TRUE(slider->TimerCheck().isActive());
  EXPECT_TRUE(slider->Clicked());
  slider->TimerCheck_Timer();  // two repeats
  slider->TimerCheck_Timer();
  EXPECT_EQ(slider->Value(), 30);
  QTest::mouseRelease(&up, Qt::LeftButton, {}, middle);
  EXPECT_EQ(image.GetPixelPx(7, 9), 0x000000);
  EXPECT_FALSE(slider->TimerCheck().isActive());
  EXPECT_FALSE(slider->Clicked());
  slider->TimerCheck_Timer();  // no arrow held: nothing
  EXPECT_EQ(slider->Value(), 30);
  EXPECT_EQ(log.Take(), (Events{"Scrolled(1)", "Scrolled(1)", "Scrolled(1)", "MouseUD(0,1)"}));

  // At the bound every step still reports.
  slider->SetValue(5);
  platform::PictureBox& down = slider->PictureArrow(0);
  QTest::mousePress(&down, Qt::LeftButton, {}, middle);
  slider->TimerCheck_Timer();
  EXPECT_EQ(slider->Value(), 0);
  QTest::mouseRelease(&down, Qt::LeftButton, {}, middle);
  EXPECT_EQ(log.Take(), (Events{"Scrolled(1)", "Scrolled(1)", "MouseUD(0,1)"}));

  // The right button on an arrow only reports its release.
  QTest::mousePress(&up, Qt::RightButton, {}, middle);
  QTest::mouseRelease(&up, Qt::RightButton, {}, middle);
  EXPECT_FALSE(slider->TimerCheck().isActive());
  EXPECT_EQ(log.Take(), (Events{"MouseUD(0,2)"}));
}

TEST(UcSliderGuiTest, TheRepeatTimerDrivesTheSteps) {
  auto slider = MakeBar();
  QSignalSpy scrolled(slider.get(), &UC_Slider::Scrolled);
  platform::PictureBox& up = slider->PictureArrow(1);
  QTest::mousePress(&up, Qt::LeftButton, {}, QPoint(5, 5));
  ASSERT_EQ(scrolled.count(), 1);
  EXPECT_TRUE(scrolled.wait(10000));  // a repeat, whenever it comes
  EXPECT_GE(slider->Value(), 20);
  QTest::mouseRelease(&up, Qt::LeftButton, {}, QPoint(5, 5));
}

TEST(UcSliderGuiTest, CodeRaisesNothingAndRefusedInputIsIgnored) {
  auto slider = MakeBar();
  EventLog log(*slider);
  slider->SetValue(400);
  slider->Draw(1000);
  slider->SetPointerSize(0.3F);
  slider->Init();
  EXPECT_EQ(slider->Value(), 525);  // 1000 / 1905 × 1000
  EXPECT_TRUE(log.Take().empty());

  slider->SetRefuseInput(true);
  platform::PictureBox& track = slider->PictureSlider();
  QTest::mousePress(&track, Qt::LeftButton, {}, TrackPoint(*slider, 60));
  QTest::mouseMove(&track, TrackPoint(*slider, 900));
  QTest::mouseRelease(&track, Qt::LeftButton, {}, TrackPoint(*slider, 900));
  QTest::mouseDClick(&track, Qt::LeftButton, {}, TrackPoint(*slider, 60));
  QTest::mouseClick(&slider->PictureArrow(1), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(slider->Value(), 525);
  EXPECT_FALSE(slider->Clicked());
  EXPECT_TRUE(log.Take().empty());
}

TEST(UcSliderGuiTest, NoArrowFillsTheControlWithTheTrack) {
  auto slider = std::make_unique<UC_Slider>();
  slider->SetNoArrow(1);
  slider->Move(0, 0, 3000, 270);
  slider->Init();
  slider->show();
  EXPECT_TRUE(slider->PictureArrow(0).isHidden());
  EXPECT_TRUE(slider->PictureArrow(1).isHidden());
  EXPECT_EQ(slider->PictureSlider().geometry(), QRect(0, 0, 200, 18));
  EventLog log(*slider);
  slider->TimerCheck_Timer();
  QTest::mouseClick(&slider->PictureArrow(1), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(log.Take().empty());
  EXPECT_EQ(slider->Value(), 0);
}

TEST(UcSliderGuiTest, PointerImageAndItsCopyIntoTheTrack) {
  const int32_t track = platform::ResolveColor(platform::SystemColorRef(platform::COLOR_SCROLLBAR));
  const int32_t dark = platform::ResolveColor(platform::SystemColorRef(platform::COLOR_3DDKSHADOW));
  for (int vertical = 0; vertical < 2; ++vertical) {
    SCOPED_TRACE(vertical);
    auto slider = MakeBar(vertical);
    const platform::PictureSurface& grad = slider->PictureGrad();
    const int across = vertical != 0 ? grad.PixelWidth() : grad.PixelHeight();
    const int along = vertical != 0 ? grad.PixelHeight() : grad.PixelWidth();
    EXPECT_EQ(across, 14);
    EXPECT_EQ(along, 32);
    // The closing line runs across the pointer, one pixel before its end, in both orientations.
    for (int i = 0; i < across; ++i) {
      const int x = vertical != 0 ? i : along - 1;
      const int y = vertical != 0 ? along - 1 : i;
      EXPECT_EQ(grad.GetPixelPx(x, y), dark) << i;
    }
    // Only the pointer is copied: the track beyond it keeps the track's colour.
    slider->SetValue(500);  // 952 twips: pixels 63 .. 94
    const platform::PictureSurface& box = slider->PictureSlider().Surface();
    const auto at = [&](int a, int c) {
      return vertical != 0 ? box.GetPixelPx(c, a) : box.GetPixelPx(a, c);
    };
    EXPECT_EQ(at(62, 5), track);
    EXPECT_EQ(at(63 + 31, 5), dark);
    EXPECT_EQ(at(63 + 32, 5), track);
    EXPECT_EQ(at(150, 5), track);
    EXPECT_EQ(at(10, 5), track);
  }
}

// Sizes and scales where the parts do not fit: nothing may divide by zero or draw outside.
TEST(UcSliderGuiTest, TinySizesAndNoScaleDoNotBreakIt) {
  const double sizes[][2] = {{0, 0}, {15, 15}, {30, 3000}, {3000, 30}, {300, 300}, {600, 15}};
  for (int vertical = 0; vertical < 2; ++vertical) {
    for (int noArrow = 0; noArrow < 2; ++noArrow) {
      for (const auto& size : sizes) {
        auto slider = std::make_unique<UC_Slider>();
        slider->SetIsVertical(vertical);
        if (noArrow != 0) slider->SetNoArrow(1);
        slider->SetCenterLined(noArrow != 0);
        slider->Move(0, 0, size[0], size[1]);
        slider->Init();
        slider->SetPointerSize(0.5F);
        slider->SetValue(700);
        slider->Draw(200);
        slider->LetPointerSize(100000);  // far longer than the track
        slider->Init2();
        slider->SetValue(300);
        slider->Draw(50);
        slider->SetPointerSize(2.0F);
        slider->show();
        QTest::mouseClick(&slider->PictureSlider(), Qt::LeftButton, {}, QPoint(0, 0));
        EXPECT_GE(slider->Value(), 0);
        EXPECT_LE(slider->Value(), 1000);
      }
    }
  }

  foundation::Globals().TwipsPerPixel = 0;
  auto unscaled = std::make_unique<UC_Slider>();
  foundation::Globals().TwipsPerPixel = 15;
  unscaled->resize(200, 18);
  unscaled->Init();
  unscaled->SetPointerSize(0.5F);
  unscaled->SetValue(500);
  unscaled->Draw(100);
  EXPECT_EQ(unscaled->Value(), 500);  // kept, though nothing could be drawn
  EXPECT_EQ(unscaled->PictureGrad().PixelWidth(), 0);
}

}  // namespace
}  // namespace widgets
