// CreatePalette with the layer's fault injection; the palette objects themselves are
// platform/win32_core/'s.
#include "platform/sdl/layer.h"

HPALETTE CreatePalette(const LOGPALETTE* logicalPalette) {
  if (!PaletteAcceptable(logicalPalette) || TakeFault(LayerFault::kCreatePalette)) {
    return nullptr;
  }
  return AddPalette(*logicalPalette);
}
