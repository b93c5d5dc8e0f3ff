#include "controls/widgets/text_panel_model.h"

#include <cmath>
#include <iterator>

#include "foundation/colors.h"
#include "foundation/conversions.h"
#include "platform/system_colors.h"

namespace widgets {

namespace {

bool InRange(int32_t index, size_t count) {
  return index >= 0 && static_cast<size_t>(index) < count;
}

}  // namespace

std::optional<ColorSet> StdColorSet(int32_t pType) {
  static constexpr ColorSet kSets[] = {
      {0x909090, 0, 0x686868, 0}, {0xD0B0B0, 0, 0x886868, 0}, {0xB0B0D0, 0, 0x686888, 0},
      {0xB0D0B0, 0, 0x688868, 0}, {0xE0E0E0, 0, 0x686868, 0}, {0x90B0E0, 0, 0x4878A8, 0},
  };
  if (!InRange(pType, std::size(kSets))) return std::nullopt;
  return kSets[pType];
}

const TextSpace* TextPanelModel::Cell(int32_t index) const {
  return InRange(index, cells_.size()) ? &cells_[index] : nullptr;
}

const ColorSet* TextPanelModel::ShownSet() const {
  return InRange(CurrentSet, colorSets_.size()) ? &colorSets_[CurrentSet] : nullptr;
}

void TextPanelModel::Reset() {
  cells_.clear();
  colorSets_.clear();
  DesignType = 0;
  CurrentSet = 0;
}

void TextPanelModel::AddColorSet(const ColorSet& set) {
  DesignType = 1;
  colorSets_.push_back(set);
}

bool TextPanelModel::AddStdColorSet(int32_t pType) {
  DesignType = 1;
  const auto set = StdColorSet(pType);
  if (!set) return false;
  colorSets_.push_back(*set);
  return true;
}

bool TextPanelModel::SelectColorSet(int32_t pType) {
  if (!InRange(pType, colorSets_.size())) return false;
  CurrentSet = pType;
  return true;
}

void TextPanelModel::SetUseClick(int32_t index, int32_t value) {
  if (InRange(index, cells_.size())) cells_[index].UseClick = value;
}

bool TextPanelModel::DispMes(int32_t index, const std::string& text) {
  if (!InRange(index, cells_.size()) || cells_[index].Text == text) return false;
  cells_[index].Text = text;
  return true;
}

std::string TextPanelModel::TextMes(int32_t index) const {
  const TextSpace* cell = Cell(index);
  return cell != nullptr ? cell->Text : std::string();
}

int32_t TextPanelModel::HitTest(double x, double y) const {
  int32_t result = 0;
  int32_t bestTop = 0;
  int32_t bestLeft = 0;
  for (size_t i = 0; i < cells_.size(); ++i) {
    const TextSpace& c = cells_[i];
    const bool below = c.Left == -1 || x > c.Left;
    const bool right = c.Top == -1 || y > c.Top;
    if (below && right && c.Top >= bestTop && c.Left >= bestLeft) {
      result = static_cast<int32_t>(i);
      bestTop = c.Top;
      bestLeft = c.Left;
    }
  }
  return result;
}

bool TextPanelModel::ClickCell(int32_t index) const {
  const TextSpace* cell = Cell(index);
  return cell != nullptr && cell->UseClick != 0;
}

std::optional<PanelMouse> TextPanelModel::Press(double x, double y) {
  if (Locked != 0) return std::nullopt;
  const int32_t index = HitTest(x, y);
  pressed_ = true;
  return PanelMouse{index, ClickCell(index)};
}

std::optional<PanelMouse> TextPanelModel::Release(double x, double y) {
  if (Locked != 0 || !pressed_) return std::nullopt;
  const int32_t index = HitTest(x, y);
  pressed_ = false;
  return PanelMouse{index, ClickCell(index)};
}

int32_t PanelMargin(int32_t isFlat, bool usesColorSets, int32_t tpp) {
  return (isFlat != 0 && !usesColorSets ? 2 : 4) * tpp;
}

int32_t CellTopFor(int32_t pTop, double lineHeight, float ratio, int32_t tpp) {
  return foundation::NearestInt32Saturated(
      pTop - (1.0 - static_cast<double>(ratio)) * lineHeight / 2 + tpp);
}

int32_t CentredCellTop(double scaleHeight, double lineHeight, bool oneLower, int32_t tpp) {
  double t = (scaleHeight - lineHeight) / 2;
  if (oneLower) t += tpp;
  return t < 0 ? 0 : foundation::NearestInt32Saturated(t);
}

double CellTextX(int32_t left, double textWidth, double scaleWidth, double margin) {
  if (left != -1) return left;
  const double x = (scaleWidth - textWidth) / 2;
  return x < margin ? margin : x;
}

int32_t LitTextColor(int32_t baseColor) {
  if (platform::IsSystemColor(baseColor)) return 0xFFFFFF;
  return foundation::BlendColor(baseColor, 30, 30, 30, -1);
}

}  // namespace widgets
