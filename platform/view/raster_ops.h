#pragma once

#include <QPainter>
#include <cstdint>

namespace platform {

// Pen mixing modes (a surface's DrawMode): how a drawn pixel combines the pen colour P with the
// pixel D already there. Numbered as the binary raster-op codes the controls were designed with.
enum DrawModeCode : int32_t {
  R2_BLACK = 1,         // 0
  R2_NOTMERGEPEN = 2,   // ~(P | D)
  R2_MASKNOTPEN = 3,    // ~P & D
  R2_NOTCOPYPEN = 4,    // ~P
  R2_MASKPENNOT = 5,    // P & ~D
  R2_NOT = 6,           // ~D
  R2_XORPEN = 7,        // P ^ D
  R2_NOTMASKPEN = 8,    // ~(P & D)
  R2_MASKPEN = 9,       // P & D
  R2_NOTXORPEN = 10,    // ~(P ^ D)
  R2_NOP = 11,          // D (nothing drawn)
  R2_MERGENOTPEN = 12,  // ~P | D
  R2_COPYPEN = 13,      // P (the default)
  R2_MERGEPENNOT = 14,  // P | ~D
  R2_MERGEPEN = 15,     // P | D
  R2_WHITE = 16,        // 1
};

// Image transfer operations between surfaces (source S, destination D).
enum BlitOpCode : uint32_t {
  SRCCOPY = 0x00CC0020,     // S
  SRCPAINT = 0x00EE0086,    // S | D
  SRCAND = 0x008800C6,      // S & D   (mask pass of a masked sprite)
  SRCINVERT = 0x00660046,   // S ^ D   (image pass of a masked sprite)
  NOTSRCCOPY = 0x00330008,  // ~S
};

// True for the sixteen codes R2_BLACK .. R2_WHITE.
bool IsValidDrawMode(int32_t drawMode);

// The composition mode that performs `drawMode` on an opaque RGB32 image. Every code has an
// exact bitwise counterpart among the toolkit's raster operations, with two remarks:
//  - R2_NOP has none; callers skip the drawing instead (DrawModeDrawsNothing).
//  - R2_BLACK and R2_WHITE clear or set every bit of the pixel; on an RGB32 image the unused
//    alpha byte is ignored, so the pixel reads back as black or white.
// An unknown code maps to plain copy.
QPainter::CompositionMode CompositionModeForDrawMode(int32_t drawMode);
bool DrawModeDrawsNothing(int32_t drawMode);

// The composition mode of a transfer operation; false for an operation not listed above.
bool CompositionModeForBlitOp(uint32_t op, QPainter::CompositionMode* mode);

// The pen result of `drawMode` for one pixel, on 0x00RRGGBB values; the reference the tests
// hold the composition modes to.
uint32_t ApplyDrawMode(int32_t drawMode, uint32_t pen, uint32_t dest);

}  // namespace platform
