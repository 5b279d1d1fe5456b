// Palette objects: kept and counted, never shown (the displays here are true-colour).
#include <algorithm>

#include "platform/sdl/layer.h"

// What a DC holds before any palette is selected into it, as Windows' stock palette.
static LayerPalette defaultPalette;

static HPALETTE PaletteHandle(LayerPalette* palette) {
  return reinterpret_cast<HPALETTE>(palette);
}

static LayerPalette* LookUpPalette(const void* handle) {
  if (handle == &defaultPalette) {
    return &defaultPalette;
  }
  for (auto& palette : layer.palettes) {
    if (palette.get() == handle) {
      return palette.get();
    }
  }
  return nullptr;
}

HPALETTE CreatePalette(const LOGPALETTE* logicalPalette) {
  if (logicalPalette == nullptr || logicalPalette->palNumEntries == 0 ||
      TakeFault(LayerFault::kCreatePalette)) {
    return nullptr;
  }
  auto palette = std::make_unique<LayerPalette>();
  const PALETTEENTRY* entries = logicalPalette->palPalEntry;
  palette->entries.assign(entries, entries + logicalPalette->palNumEntries);
  layer.palettes.push_back(std::move(palette));
  return PaletteHandle(layer.palettes.back().get());
}

HPALETTE SelectPalette(HDC deviceContext, HPALETTE palette, BOOL) {
  LayerWindow* window = LookUpWindowOfDC(deviceContext);
  if (window == nullptr || LookUpPalette(palette) == nullptr) {
    return nullptr;
  }
  HPALETTE previous =
      window->selectedPalette != nullptr ? window->selectedPalette : PaletteHandle(&defaultPalette);
  window->selectedPalette = palette;
  return previous;
}

UINT RealizePalette(HDC deviceContext) {
  LayerWindow* window = LookUpWindowOfDC(deviceContext);
  if (window == nullptr) {
    return 0;
  }
  LayerPalette* palette = LookUpPalette(window->selectedPalette);
  return palette == nullptr ? 0 : static_cast<UINT>(palette->entries.size());
}

BOOL UnrealizeObject(HGDIOBJ object) {
  return LookUpPalette(object) != nullptr ? TRUE : FALSE;
}

BOOL DeleteObject(HGDIOBJ object) {
  auto& palettes = layer.palettes;
  auto found = std::find_if(palettes.begin(), palettes.end(),
                            [object](const auto& palette) { return palette.get() == object; });
  if (found == palettes.end()) {
    return FALSE;
  }
  for (auto& window : layer.windows) {
    if (window->selectedPalette == object) {
      window->selectedPalette = nullptr;
    }
  }
  palettes.erase(found);
  return TRUE;
}
