// The test hooks declared in layer_testing.h.
#include "platform/sdl/layer.h"

void LayerInjectFault(LayerFault fault) {
  layer.fault = fault;
}

void LayerReset() {
  for (auto& window : layer.windows) {
    DestroySdlWindow(*window);
  }
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
    SDL_CaptureMouse(SDL_FALSE);
    SDL_GL_MakeCurrent(nullptr, nullptr);
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
  layer = Layer{};
}

const LayerMessageBox& LayerLastMessageBox() {
  return layer.lastBox;
}

void LayerSetDescribedFormat(const PIXELFORMATDESCRIPTOR* description) {
  layer.describedOverride = description != nullptr;
  layer.described = description != nullptr ? *description : PIXELFORMATDESCRIPTOR{};
}

int LayerSwapCount() {
  return layer.swapCount;
}
