#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QWidget>

#include "foundation/app_globals.h"
#include "foundation/control_layout.h"
#include "foundation/font_table.h"
#include "foundation/view/combo_selection.h"
#include "foundation/view/qt_font_factory.h"
#include "foundation/view/widget_layout_control.h"
#include "tests/support/app_globals_reset.h"

namespace foundation {
namespace {

TEST(WidgetLayoutControl, TwipsPixelsAndPlacement) {
  testsupport::ResetAppGlobals();
  QWidget page;
  QLineEdit reference(&page);
  QLineEdit field(&page);
  reference.setGeometry(10, 20, 100, 30);
  field.setGeometry(0, 0, 50, 20);
  WidgetLayoutControl ref(&reference);
  WidgetLayoutControl control(&field);
  EXPECT_EQ(ref.Left(), 150);
  EXPECT_EQ(ref.Height(), 450);

  // Two pixels below the reference, left edges together.
  PlaceControlBeside(control, ref, kPlaceBelow, -1, 1, 0);
  EXPECT_EQ(field.geometry(), QRect(10, 52, 50, 20));
  // Centred on the reference's row: 20 + 15 - 10 = 25 pixels.
  PlaceControlBeside(control, ref, kPlaceCentredLevel, 0, 0, 0);
  EXPECT_EQ(field.y(), 25);

  control.SetLeft(1507.5);  // 100.5 pixels: halves go to even
  control.SetWidth(-30);    // no negative sizes
  EXPECT_EQ(field.x(), 100);
  EXPECT_EQ(field.width(), 0);

  // 66 pixels = 990 twips; x 1.25 = 1237.5 -> 1238 twips -> 82 whole pixels.
  field.resize(66, 20);
  ScaleControl(1.25F, control, false, true, false, 0);
  EXPECT_EQ(field.width(), 82);
  EXPECT_EQ(field.height(), 20);
}

TEST(WidgetControlArray, LoadsSiblingsInTheNextTabPlace) {
  testsupport::ResetAppGlobals();
  ResetFontTableForTest();
  InstallQtFontFactory();
  QWidget page;
  QLineEdit first(&page);
  QLineEdit after(&page);
  first.setGeometry(10, 20, 100, 30);
  first.setText("model");
  WidgetControlArray array(first, [](QWidget& model) -> QWidget* {
    auto* made = new QLineEdit();  // no container: the array puts it into the model's
    made->setText(static_cast<QLineEdit&>(model).text());
    return made;
  });
  WidgetLayoutControl afterControl(&after);
  EXPECT_EQ(afterControl.TabIndex(), 1);

  LoadControlInstance(array, 1, kPlaceRight, 1, 1, -1);
  auto* added = qobject_cast<QLineEdit*>(array.widget(1));
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->parentWidget(), &page);
  EXPECT_EQ(added->text(), "model");
  EXPECT_EQ(added->geometry(), QRect(112, 20, 100, 30));
  EXPECT_FALSE(added->isHidden());
  EXPECT_EQ(array.Element(1)->TabIndex(), 1);
  EXPECT_EQ(afterControl.TabIndex(), 2);
  EXPECT_EQ(first.nextInFocusChain(), added);
  EXPECT_EQ(added->nextInFocusChain(), &after);
  ASSERT_FALSE(FontHandles().empty());
  EXPECT_EQ(added->font(), FontOfEntry(0));

  // Hidden and not placed; loading an element twice makes nothing.
  LoadControlInstance(array, 2, -1, 0, 0, -1);
  ASSERT_NE(array.widget(2), nullptr);
  EXPECT_TRUE(array.widget(2)->isHidden());
  QWidget* second = array.widget(2);
  LoadControlInstance(array, 2, kPlaceBelow, 1, 0, -1);
  EXPECT_EQ(array.widget(2), second);
  EXPECT_EQ(page.findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly).size(), 4);

  // A destroyed element reads as missing.
  delete array.widget(2);
  EXPECT_EQ(array.Element(2), nullptr);
  ResetFontTableForTest();
  SetFontFactory(nullptr);
}

TEST(SelectComboItemByText, LastExactMatchWinsAndNotifies) {
  QComboBox combo;
  combo.addItems({"A", "B", "A", "番組"});
  combo.setCurrentIndex(1);
  QSignalSpy changes(&combo, &QComboBox::currentIndexChanged);

  struct Case {
    const char* text;
    int index;          // selected afterwards
    int notifications;  // change notifications raised by the call
  };
  const Case cases[] = {
      {"A", 2, 2},     // 0 then 2
      {"a", 2, 0},     // case-sensitive: no match, selection kept
      {"番組", 3, 1},  //
      {"B", 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    changes.clear();
    SelectComboItemByText(combo, c.text);
    EXPECT_EQ(combo.currentIndex(), c.index);
    EXPECT_EQ(changes.count(), c.notifications);
  }

  // A handler that empties the box on the first change ends the walk without harm.
  combo.setCurrentIndex(1);
  QObject::connect(&combo, &QComboBox::currentIndexChanged, &combo, [&](int index) {
    if (index == 0) combo.clear();
  });
  SelectComboItemByText(combo, "A");
  EXPECT_EQ(combo.count(), 0);
}

}  // namespace
}  // namespace foundation
