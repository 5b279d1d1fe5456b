// The test hooks declared in hooks.h and testing.h; linked only into test programs.
#include "platform/win32_core/testing.h"

#include <algorithm>
#include <string>

#include "platform/win32_core/core.h"

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

bool core::TakeFault(LayerFault fault) {
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

void core::NoteCall(const char* call, std::uintptr_t a, std::uintptr_t b, std::uintptr_t c) {
  hooks.calls.push_back(LayerCall(call, a, b, c));
}

void core::NoteMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  LayerMessageBox& box = hooks.lastBox;
  box = {owner, text, caption, type, box.count + 1, static_cast<int>(state.windows.size())};
  NoteCall("MessageBoxA", type);
}

const PIXELFORMATDESCRIPTOR* core::DescribedFormatOverride() {
  return hooks.describedOverride ? &hooks.described : nullptr;
}

void LayerInjectFault(LayerFault fault) {
  hooks.fault = fault;
}

// The native side goes first, then whatever input it still had is taken in and dropped.
void LayerReset() {
  using core::state;
  for (auto& window : state.windows) {
    core::DropNative(*window);
  }
  state.windows.clear();
  if (core::OpenDisplay()) {
    core::backend.capturePointer(nullptr);
    wglMakeCurrent(nullptr, nullptr);
    core::backend.pump();
  }
  state = core::State{};
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
