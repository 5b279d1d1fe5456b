// Palette objects, and module, icon and cursor handles. Palettes are kept and counted, never
// shown: every display either backend drives is true-colour.
#include <utility>

#include "platform/win32_core/core.h"
#include "platform/win32_core/hooks.h"
#include "resources/resource.h"

namespace core {

// What a DC holds before any palette is selected into it, as Windows' stock palette.
static Palette defaultPalette;

static HPALETTE PaletteHandle(Palette* palette) {
  return reinterpret_cast<HPALETTE>(palette);
}

static Palette* LookUpPalette(const void* handle) {
  if (handle == &defaultPalette) {
    return &defaultPalette;
  }
  for (auto& palette : state.palettes) {
    if (palette.get() == handle) {
      return palette.get();
    }
  }
  return nullptr;
}

// Any distinct non-null values serve: nothing reads through these handles.
static char moduleTag;
static char iconTag;
static char cursorTag;

bool IsProgramIcon(HICON icon) {
  return icon == reinterpret_cast<HICON>(&iconTag);
}

}  // namespace core

using namespace core;

HPALETTE CreatePalette(const LOGPALETTE* logicalPalette) {
  if (logicalPalette == nullptr || logicalPalette->palNumEntries == 0 ||
      TakeFault(LayerFault::kCreatePalette)) {
    return nullptr;
  }
  auto palette = std::make_unique<Palette>();
  const PALETTEENTRY* entries = logicalPalette->palPalEntry;
  palette->entries.assign(entries, entries + logicalPalette->palNumEntries);
  state.palettes.push_back(std::move(palette));
  return PaletteHandle(state.palettes.back().get());
}

HPALETTE SelectPalette(HDC deviceContext, HPALETTE palette, BOOL) {
  Window* window = LookUpDC(deviceContext);
  if (window == nullptr || LookUpPalette(palette) == nullptr) {
    return nullptr;
  }
  HPALETTE previous =
      window->selectedPalette != nullptr ? window->selectedPalette : PaletteHandle(&defaultPalette);
  window->selectedPalette = palette;
  return previous;
}

UINT RealizePalette(HDC deviceContext) {
  Window* window = LookUpDC(deviceContext);
  Palette* palette = window == nullptr ? nullptr : LookUpPalette(window->selectedPalette);
  return palette == nullptr ? 0 : static_cast<UINT>(palette->entries.size());
}

BOOL UnrealizeObject(HGDIOBJ object) {
  return LookUpPalette(object) != nullptr ? TRUE : FALSE;
}

HMODULE GetModuleHandleA(LPCSTR moduleName) {
  return moduleName == nullptr ? reinterpret_cast<HMODULE>(&moduleTag) : nullptr;
}

// IDI_RIBBON is the program's own icon, a resource of its module: no other module has it.
HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
  bool own = instance == GetModuleHandleA(nullptr) && name == MAKEINTRESOURCEA(IDI_RIBBON);
  return own ? reinterpret_cast<HICON>(&iconTag) : nullptr;
}

HCURSOR LoadCursorA(HINSTANCE, LPCSTR) {
  return reinterpret_cast<HCURSOR>(&cursorTag);
}
