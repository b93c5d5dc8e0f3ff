#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

#include "controls/widgets/view/uc_check.h"
#include "controls/widgets/view/uc_slider.h"
#include "foundation/view/qt_font_factory.h"

namespace widgets {
namespace {

// Renders the slider and the check box in their variants at two size rates into the build
// folder's gallery/ (widgets_rate_100.png, widgets_rate_150.png) for a person to look at.
TEST(WidgetsGalleryGuiTest, RendersBothControlsAtTwoSizeRates) {
  foundation::InstallQtFontFactory();
  const QString dir = QCoreApplication::applicationDirPath() + "/gallery";
  ASSERT_TRUE(QDir().mkpath(dir));
  for (float rate : {1.0F, 1.5F}) {
    QWidget page;
    page.resize(620, 360);
    page.setStyleSheet("background: #c0c0c0");
    const double bar = 270 * rate;
    double top = 150;
    // Horizontal sliders: gradient, plain, centre grip, no arrows.
    for (int variant = 0; variant < 4; ++variant) {
      auto* slider = new UC_Slider(&page);
      slider->SetNoGrad(variant == 1 ? 1 : 0);
      slider->SetCenterLined(variant == 2);
      if (variant == 3) slider->SetNoArrow(1);
      slider->Move(150, top, 4200, bar);
      slider->Init();
      slider->SetPointerSize(0.25F);
      slider->SetValue(250 * variant + 100);
      top += bar + 150;
    }
    // Vertical sliders beside them.
    for (int variant = 0; variant < 2; ++variant) {
      auto* slider = new UC_Slider(&page);
      slider->SetIsVertical(1);
      slider->SetNoGrad(variant);
      slider->Move(7200 + variant * (bar + 300), 150, bar, 3600);
      slider->Init();
      slider->SetPointerSize(0.2F);
      slider->SetValue(300 + 400 * variant);
    }
    // Check boxes and options: off, on, disabled on.
    for (int kind = 0; kind < 2; ++kind) {
      for (int state = 0; state < 3; ++state) {
        auto* check = new UC_Check(&page);
        check->SetIsOption(kind);
        check->Move(150 + kind * 2700, top + state * 420 * rate, 2550, 390 * rate);
        check->SetSizeRate(rate);
        check->SetFontSize(9 * rate);
        check->SetCaption(kind == 0 ? "チェック Check" : "Option オプション");
        check->SetValue(state == 0 ? 0 : 1);
        if (state == 2) check->SetEnabled(false);
      }
    }
    page.show();
    const QString path =
        dir + QString("/widgets_rate_%1.png").arg(static_cast<int>(rate * 100), 3, 10, QChar('0'));
    EXPECT_TRUE(page.grab().save(path)) << path.toStdString();
  }
}

}  // namespace
}  // namespace widgets
