#include "tools/demo_station/list_view_measure.h"

#include <algorithm>
#include <cmath>

#include "controls/lists/view/uc_list_view.h"
#include "foundation/font_table.h"
#include "foundation/view/qt_font_factory.h"

namespace demo_station {

namespace {

// A screen of another resolution hints the same text a little wider or narrower.
constexpr double kHintingAllowance = 1.05;

}  // namespace

ColumnMeasure ListViewMeasure() {
  foundation::InstallQtFontFactory();
  return [](const ListFont& font, const ColumnTexts& texts) {
    // The list takes the user-interface face for its header and for rows of no face of their
    // own, as in the program it stands for.
    const std::string uiFace = foundation::UiFontFace();
    foundation::SetUiFontFace(font.face);
    lists::UC_ListView lv;
    lv.SetNumData(1);
    lv.SetIconDisabled(1);
    lv.SetStyle(font.points, font.bold, "");
    lv.Init();
    foundation::SetUiFontFace(uiFace);
    const double width = lv.TabWidth(0);
    const platform::PictureSurface& rows = lv.PictureList().Surface();
    double need = lv.PictureTab().Surface().TextWidth(texts.caption) + width - lv.CaptionRoom(0);
    for (const std::string& cell : texts.cells)
      need = std::max(need, rows.TextWidth(cell) * kHintingAllowance + width - lv.CellTextRoom(0));
    // Whole pixels, one more for the column line drawn over the column's last pixel.
    const int32_t tpp = std::max(1, rows.TwipsPerPixel());
    return static_cast<int32_t>((std::ceil(need / tpp) + 1) * tpp);
  };
}

}  // namespace demo_station
