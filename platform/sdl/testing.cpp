// The test hooks declared in layer_hooks.h and layer_testing.h; linked only into test programs.
#include <algorithm>
#include <string>

#include "platform/sdl/layer.h"
#include "platform/sdl/layer_testing.h"

namespace {

struct Hooks {
  LayerFault fault = LayerFault::kNone;
  LayerMessageBox lastBox;
  std::vector<std::string> calls;
  bool describedOverride = false;
  PIXELFORMATDESCRIPTOR described = {};
};
Hooks hooks;

}  // namespace

bool TakeFault(LayerFault fault) {
  if (hooks.fault != fault) {
    return false;
  }
  hooks.fault = LayerFault::kNone;
  return true;
}

std::string LayerCall(const char* call, std::uintptr_t a, std::uintptr_t b, std::uintptr_t c) {
  return std::string(call) + " " + std::to_string(a) + " " + std::to_string(b) + " " +
         std::to_string(c);
}

void NoteCall(const char* call, std::uintptr_t a, std::uintptr_t b, std::uintptr_t c) {
  hooks.calls.push_back(LayerCall(call, a, b, c));
}

void NoteMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  LayerMessageBox& box = hooks.lastBox;
  box = {owner, text, caption, type, box.count + 1, static_cast<int>(core.windows.size())};
  NoteCall("MessageBoxA", type);
}

const PIXELFORMATDESCRIPTOR* DescribedFormatOverride() {
  return hooks.describedOverride ? &hooks.described : nullptr;
}

void LayerInjectFault(LayerFault fault) {
  hooks.fault = fault;
}

void LayerReset() {
  for (auto& window : core.windows) {
    DestroySdlWindow(LayerWindowOf(*window));
  }
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
    SDL_CaptureMouse(SDL_FALSE);
    SDL_GL_MakeCurrent(nullptr, nullptr);
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
  core = Win32Core{};
  layer = Layer{};
  hooks = Hooks{};
}

const LayerMessageBox& LayerLastMessageBox() {
  return hooks.lastBox;
}

const std::vector<std::string>& LayerCalls() {
  return hooks.calls;
}

int LayerCallCount(const char* call) {
  const std::string prefix = std::string(call) + " ";
  return static_cast<int>(
      std::count_if(hooks.calls.begin(), hooks.calls.end(),
                    [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
}

void LayerSetDescribedFormat(const PIXELFORMATDESCRIPTOR* description) {
  hooks.describedOverride = description != nullptr;
  hooks.described = description != nullptr ? *description : PIXELFORMATDESCRIPTOR{};
}
