#include "platform/view/raster_ops.h"

namespace platform {

bool IsValidDrawMode(int32_t drawMode) { return drawMode >= R2_BLACK && drawMode <= R2_WHITE; }

bool DrawModeDrawsNothing(int32_t drawMode) { return drawMode == R2_NOP; }

QPainter::CompositionMode CompositionModeForDrawMode(int32_t drawMode) {
  switch (drawMode) {
    case R2_BLACK:
      return QPainter::RasterOp_ClearDestination;
    case R2_NOTMERGEPEN:
      return QPainter::RasterOp_NotSourceAndNotDestination;
    case R2_MASKNOTPEN:
      return QPainter::RasterOp_NotSourceAndDestination;
    case R2_NOTCOPYPEN:
      return QPainter::RasterOp_NotSource;
    case R2_MASKPENNOT:
      return QPainter::RasterOp_SourceAndNotDestination;
    case R2_NOT:
      return QPainter::RasterOp_NotDestination;
    case R2_XORPEN:
      return QPainter::RasterOp_SourceXorDestination;
    case R2_NOTMASKPEN:
      return QPainter::RasterOp_NotSourceOrNotDestination;
    case R2_MASKPEN:
      return QPainter::RasterOp_SourceAndDestination;
    case R2_NOTXORPEN:
      return QPainter::RasterOp_NotSourceXorDestination;
    case R2_MERGENOTPEN:
      return QPainter::RasterOp_NotSourceOrDestination;
    case R2_MERGEPENNOT:
      return QPainter::RasterOp_SourceOrNotDestination;
    case R2_MERGEPEN:
      return QPainter::RasterOp_SourceOrDestination;
    case R2_WHITE:
      return QPainter::RasterOp_SetDestination;
    default:
      return QPainter::CompositionMode_Source;
  }
}

bool CompositionModeForBlitOp(uint32_t op, QPainter::CompositionMode* mode) {
  QPainter::CompositionMode m;
  switch (op) {
    case SRCCOPY:
      m = QPainter::CompositionMode_Source;
      break;
    case SRCPAINT:
      m = QPainter::RasterOp_SourceOrDestination;
      break;
    case SRCAND:
      m = QPainter::RasterOp_SourceAndDestination;
      break;
    case SRCINVERT:
      m = QPainter::RasterOp_SourceXorDestination;
      break;
    case NOTSRCCOPY:
      m = QPainter::RasterOp_NotSource;
      break;
    default:
      return false;
  }
  if (mode != nullptr) *mode = m;
  return true;
}

uint32_t ApplyDrawMode(int32_t drawMode, uint32_t pen, uint32_t dest) {
  const uint32_t p = pen & 0xFFFFFFu;
  const uint32_t d = dest & 0xFFFFFFu;
  uint32_t r;
  switch (drawMode) {
    case R2_BLACK:
      r = 0;
      break;
    case R2_NOTMERGEPEN:
      r = ~(p | d);
      break;
    case R2_MASKNOTPEN:
      r = ~p & d;
      break;
    case R2_NOTCOPYPEN:
      r = ~p;
      break;
    case R2_MASKPENNOT:
      r = p & ~d;
      break;
    case R2_NOT:
      r = ~d;
      break;
    case R2_XORPEN:
      r = p ^ d;
      break;
    case R2_NOTMASKPEN:
      r = ~(p & d);
      break;
    case R2_MASKPEN:
      r = p & d;
      break;
    case R2_NOTXORPEN:
      r = ~(p ^ d);
      break;
    case R2_NOP:
      r = d;
      break;
    case R2_MERGENOTPEN:
      r = ~p | d;
      break;
    case R2_MERGEPENNOT:
      r = p | ~d;
      break;
    case R2_MERGEPEN:
      r = p | d;
      break;
    case R2_WHITE:
      r = 0xFFFFFFu;
      break;
    default:
      r = p;
      break;
  }
  return r & 0xFFFFFFu;
}

}  // namespace platform
