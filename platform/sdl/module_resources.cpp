// Module, icon and cursor handles, and the built-in icon on the SDL window.
#include "platform/sdl/layer.h"
#include "resources/icon.h"

// Any distinct non-null values serve: nothing reads through these handles.
static char moduleTag;
static char iconTag;
static char cursorTag;
constexpr WORD kIconResource = 101;

HMODULE GetModuleHandleA(LPCSTR moduleName) {
  return moduleName == nullptr ? reinterpret_cast<HMODULE>(&moduleTag) : nullptr;
}

HICON LoadIconA(HINSTANCE, LPCSTR name) {
  return name == MAKEINTRESOURCEA(kIconResource) ? reinterpret_cast<HICON>(&iconTag) : nullptr;
}

HCURSOR LoadCursorA(HINSTANCE, LPCSTR) {
  return reinterpret_cast<HCURSOR>(&cursorTag);
}

void ApplyIcon(LayerWindow& window) {
  if (window.icon != reinterpret_cast<HICON>(&iconTag)) {
    return;
  }
  void* pixels = const_cast<std::uint32_t*>(RibbonIconPixels());
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(pixels, kIconSize, kIconSize, 32,
                                                         kIconSize * 4, SDL_PIXELFORMAT_ARGB8888);
  if (icon != nullptr) {
    SDL_SetWindowIcon(window.sdl, icon);
    SDL_FreeSurface(icon);
  }
}
