#pragma once

#include <cstdint>

class QPainter;

namespace platform {

// 3-D edge kinds: an outer and an inner ring, each raised or sunken.
enum EdgeCode : uint32_t {
  BDR_RAISEDOUTER = 0x1,
  BDR_SUNKENOUTER = 0x2,
  BDR_RAISEDINNER = 0x4,
  BDR_SUNKENINNER = 0x8,
  EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,  // 5
  EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,  // 10
  EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER,  // 6
  EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER,    // 9
};

// Which sides to draw, and how.
enum EdgeFlag : uint32_t {
  BF_LEFT = 0x1,
  BF_TOP = 0x2,
  BF_RIGHT = 0x4,
  BF_BOTTOM = 0x8,
  BF_RECT = 0xF,
  BF_MIDDLE = 0x800,  // fill the inside with the button face first
  BF_SOFT = 0x1000,   // brighter outer ring on the lit sides (soft buttons instead of tiles)
};

// Draws a 3-D edge inside the pixel rectangle left..right-1, top..bottom-1 with the fixed system
// colours (button highlight, 3-D light, button shadow, 3-D dark shadow), always as a plain copy:
// the outer ring on the rectangle's border, the inner ring one pixel inside. The lit sides (top,
// left) are drawn first and the shaded sides (bottom, right) over them, so the shaded colour owns
// the top-right and bottom-left corners. A ring whose kind is both raised and sunken is not
// drawn; an empty rectangle draws nothing.
void PaintEdge(QPainter& painter, int left, int top, int right, int bottom, uint32_t edge,
               uint32_t flags);

}  // namespace platform
