// The built-in icon on the SDL window, for a class that asked LoadIconA for it.
#include "platform/sdl/layer.h"
#include "resources/icon.h"

void ApplyIcon(LayerWindow& window) {
  if (!IsProgramIcon(window.icon)) {
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
