#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace widgets {

// One text cell of a text panel. Left and Top are twips of the panel's surface; Left -1 centres
// the text across the panel. Top is already adjusted for the cell's font (CellTopFor,
// CentredCellTop).
struct TextSpace {
  int32_t FontIndex = 0;  // entry of the shared font table
  int32_t Left = -1;
  int32_t Top = 0;
  std::string Text;
  int32_t UseClick = 0;  // non-zero: the cell lights up while pressed
};

// One background of a colour-set panel: the text colour and the two colours of its gradient.
// Color3 is kept for the owner and not drawn.
struct ColorSet {
  int32_t FontColor = 0;
  int32_t Color1 = 0;
  int32_t Color2 = 0;
  int32_t Color3 = 0;
};

// The standard colour sets 0 .. 5 (dark gradients with light text); none for another number.
std::optional<ColorSet> StdColorSet(int32_t pType);

// What a press or a release on the panel does: the cell under the mouse, and whether the panel
// is redrawn (lit for a press, unlit for a release) because that cell reacts to clicks.
struct PanelMouse {
  int32_t index = 0;
  bool redraw = false;
};

// The text panel's cells, colour sets and mouse state, free of drawing. Indices count from 0;
// an index outside the cells or sets is ignored by every setter and gives "" or nothing.
class TextPanelModel {
 public:
  // 0 plain surface with a sunken edge; non-zero: pre-rendered colour-set backgrounds.
  int32_t DesignType = 0;
  int32_t CurrentSet = 0;
  int32_t IsFlat = 0;
  int32_t Locked = 0;  // non-zero: presses, releases and drops are ignored
  int32_t UseDblClick = 0;

  const std::vector<TextSpace>& Cells() const { return cells_; }
  const std::vector<ColorSet>& ColorSets() const { return colorSets_; }
  const TextSpace* Cell(int32_t index) const;
  // The colour set on show; none when CurrentSet names no set.
  const ColorSet* ShownSet() const;

  // Cells, colour sets and the design all back to none (ResetMe).
  void Reset();
  // Appends a set and makes the panel a colour-set panel.
  void AddColorSet(const ColorSet& set);
  // Makes the panel a colour-set panel and appends standard set pType; false (nothing added)
  // for a number without a standard set.
  bool AddStdColorSet(int32_t pType);
  // Shows set pType from the next drawing on; false (the current set kept) for a set that does
  // not exist.
  bool SelectColorSet(int32_t pType);
  // A panel marked for colour sets that has none draws as a plain panel, so it is never asked
  // to show a background that was not rendered.
  bool UsesColorSets() const { return DesignType != 0 && !colorSets_.empty(); }

  void AddCell(const TextSpace& cell) { cells_.push_back(cell); }
  void SetUseClick(int32_t index, int32_t value);
  // Stores the text of a cell; true only when the cell exists and its text changed (exact
  // comparison), the one case in which the panel must be redrawn.
  bool DispMes(int32_t index, const std::string& text);
  // The cell's text; "" for a cell that does not exist.
  std::string TextMes(int32_t index) const;

  // The cell under (x, y) twips: the last cell in order whose top-left corner lies above and
  // left of the point and whose Top and Left are not smaller than those of the cell taken before
  // it; 0 when none is taken (a centred cell is reached only that way).
  int32_t HitTest(double x, double y) const;

  // A button press at (x, y); none while Locked.
  std::optional<PanelMouse> Press(double x, double y);
  // The release that ends a press; none while Locked or without a press.
  std::optional<PanelMouse> Release(double x, double y);
  bool Pressed() const { return pressed_; }

 private:
  bool ClickCell(int32_t index) const;

  std::vector<TextSpace> cells_;
  std::vector<ColorSet> colorSets_;
  bool pressed_ = false;
};

// --- geometry, twips; tpp is twips per pixel ---

// The margin kept at a cell's sides: 2 pixels on a flat plain panel, else 4.
int32_t PanelMargin(int32_t isFlat, bool usesColorSets, int32_t tpp);

// Top of a cell placed at pTop: CLng(pTop - (1 - ratio) × lineHeight / 2 + 1 pixel), so a face
// drawn with a taller cell (ratio below 1) keeps its letters where pTop says.
int32_t CellTopFor(int32_t pTop, double lineHeight, float ratio, int32_t tpp);

// Top of a vertically centred cell: (scaleHeight - lineHeight) / 2, one pixel lower when
// oneLower, rounded; 0 when the text is higher than the panel.
int32_t CentredCellTop(double scaleHeight, double lineHeight, bool oneLower, int32_t tpp);

// Left of a cell's text: its Left, or for a centred cell (Left -1) the text centred across the
// panel but never left of the margin.
double CellTextX(int32_t left, double textWidth, double scaleWidth, double margin);

// The colour of a lit cell's text: white on a panel whose text colour is a system colour, else
// that colour lightened by 30 per channel.
int32_t LitTextColor(int32_t baseColor);

}  // namespace widgets
