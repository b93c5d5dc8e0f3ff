#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>

#include "foundation/app_globals.h"
#include "foundation/font_table.h"
#include "foundation/view/qt_font_factory.h"
#include "tests/support/app_globals_reset.h"

namespace foundation {
namespace {

FontRequest Request(const std::string& face, int32_t height, int32_t weight = 0) {
  FontRequest request;
  request.face = face;
  request.height = height;
  request.weight = weight;
  return request;
}

TEST(QtFonts, WindowsFacesResolveToInstalledFaces) {
  InstallFontSubstitutions();
  struct Case {
    const char* face;
    QStringList accepted;
  };
  const Case cases[] = {
      {kDefaultUiFace, {"IPAPGothic", "IPAGothic"}},
      {"ＭＳ ゴシック", {"IPAGothic", "IPAPGothic"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.face);
    const QFont font = BuildQFont(Request(c.face, 12));
    const QString family = QFontInfo(font).family();
    EXPECT_TRUE(c.accepted.contains(family)) << family.toStdString();
  }

  // Impact: a condensed bold sans face, even when asked for normal weight.
  const QFont impact = BuildQFont(Request("Impact", 27));
  const QFontInfo impactInfo(impact);
  EXPECT_TRUE(impactInfo.family().startsWith(QStringLiteral("DejaVu Sans")))
      << impactInfo.family().toStdString();
  EXPECT_GE(impactInfo.weight(), static_cast<int>(QFont::Bold));
  EXPECT_EQ(impact.stretch(), static_cast<int>(QFont::Condensed));
  // Condensed really is narrower than the plain face at the same size.
  QFont plain(QStringLiteral("DejaVu Sans"));
  plain.setPixelSize(impact.pixelSize());
  plain.setBold(true);
  EXPECT_LT(QFontMetrics(impact).horizontalAdvance("MMMM"),
            QFontMetrics(plain).horizontalAdvance("MMMM"));
}

TEST(QtFonts, CellHeightWeightAndSlantFollowTheRequest) {
  for (int32_t cell : {12, 27, 40}) {
    SCOPED_TRACE(cell);
    const QFont font = BuildQFont(Request(kDefaultUiFace, cell));
    const int measured = QFontMetrics(font).height();
    EXPECT_LE(measured, cell);
    EXPECT_GE(measured, cell - 2);
  }
  FontRequest bold = Request(kDefaultUiFace, 16, 875);
  bold.italic = true;
  const QFont font = BuildQFont(bold);
  EXPECT_EQ(font.weight(), static_cast<QFont::Weight>(875));
  EXPECT_TRUE(font.italic());
  EXPECT_EQ(BuildQFont(Request("Arial", -14)).pixelSize(), 14);
}

TEST(QtFonts, SetControlFontGivesTheWidgetTheTablesFont) {
  testsupport::ResetAppGlobals();
  ResetFontTableForTest();
  InstallQtFontFactory();
  QLabel label;
  WidgetFontWindow window(&label);

  EXPECT_EQ(SetControlFont(&window, -2, nullptr, 0, 0, 0, ""), 0);
  EXPECT_EQ(QFontInfo(label.font()).family(), QStringLiteral("IPAPGothic"));
  EXPECT_EQ(label.font(), FontOfEntry(0));

  SetUiFontFace(kLargeCellFace);
  const int32_t large = SetControlFont(&window, -2, nullptr, 9, -1, 0, "");
  ASSERT_EQ(large, 1);
  EXPECT_EQ(label.font(), FontOfHandle(FontHandles()[1].handle));
  // 9 points at 1.34 times: a 16-pixel cell, bold.
  EXPECT_LE(QFontMetrics(label.font()).height(), 16);
  EXPECT_GE(QFontInfo(label.font()).weight(), static_cast<int>(QFont::Bold));

  DeleteFontHandles();
  EXPECT_EQ(FontOfEntry(0), QFont());
  ResetFontTableForTest();
  SetFontFactory(nullptr);
  testsupport::ResetAppGlobals();
}

}  // namespace
}  // namespace foundation
