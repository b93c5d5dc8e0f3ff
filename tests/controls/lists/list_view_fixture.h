#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "controls/lists/view/uc_list_view.h"
#include "foundation/view/qt_font_factory.h"

namespace lists::testing {

// Twips per pixel of the offscreen platform.
inline constexpr int kTpp = 15;

// A shown list of `rows` rows and `widths.size()` columns 6000 x 3000 twips, set up in the
// order hosts use; cell (r, c) holds "<r>-<c>". `before` runs before Init (flags), `setUp`
// between Init and InitTab (column properties).
template <typename SetUp, typename Before = void (*)(UC_ListView&)>
std::unique_ptr<UC_ListView> MakeListView(
    int32_t rows, std::vector<int32_t> widths, SetUp setUp, int32_t useUCBar = 0,
    Before before = [](UC_ListView&) {}) {
  foundation::InstallQtFontFactory();
  auto lv = std::make_unique<UC_ListView>();
  lv->resize(400, 200);
  lv->SetNumData(static_cast<int32_t>(widths.size()));
  lv->SetNumAux(2);
  lv->SetUseUCBar(useUCBar);
  lv->SetIconDisabled(1);
  before(*lv);
  lv->Init();
  lv->SetStyle(9, false, "", 0x000000, 0xFFFFFF);
  for (size_t c = 0; c < widths.size(); ++c) {
    lv->SetTabName(static_cast<int32_t>(c), "列" + std::to_string(c));
    lv->SetTabWidth(static_cast<int32_t>(c), widths[c]);
  }
  setUp(*lv);
  lv->InitTab();
  lv->AddItem(rows);
  for (int32_t r = 0; r < rows; ++r) {
    for (size_t c = 0; c < widths.size(); ++c) {
      lv->SetValue(r, static_cast<int32_t>(c), std::to_string(r) + "-" + std::to_string(c));
    }
  }
  lv->show();
  lv->Refresh();
  return lv;
}

inline std::unique_ptr<UC_ListView> MakeListView(int32_t rows, std::vector<int32_t> widths) {
  return MakeListView(rows, std::move(widths), [](UC_ListView&) {});
}

// A point on the rows area for twips coordinates.
inline QPoint RowsPoint(double x, double y) {
  return QPoint(static_cast<int>(x / kTpp), static_cast<int>(y / kTpp));
}

// The middle of row slot `slot` on the rows area, in pixels (below the 4-pixel hit offset).
inline QPoint RowPoint(const UC_ListView& lv, int32_t slot, int xPx = 100) {
  return QPoint(xPx, (slot * lv.OneHeight() + lv.OneHeight() / 2) / kTpp + 4);
}

// The build folder's gallery, made when missing.
inline QString GalleryDir() {
  const QString dir = QCoreApplication::applicationDirPath() + "/gallery";
  QDir().mkpath(dir);
  return dir;
}

}  // namespace lists::testing
