// Feeds window messages and idle turns to the viewer's own window (offscreen SDL,
// real Mesa) and checks the shared state after every step. Input: steps, each an opcode byte and
// the bytes it needs (zeros past the end); every input starts from a fresh window.
#include <SDL.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/viewer.h"
#include "app/viewer_state.h"
#include "platform/win32_core/testing.h"
#include "tests/unit/palette_format.h"

namespace {

const std::uint8_t* data = nullptr;
std::size_t size = 0, at = 0;

// The next bytes as a big-endian number.
std::uint32_t Take(int bytes) {
  std::uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) {
    value = (value << 8) | (at < size ? data[at++] : 0);
  }
  return value;
}

HWND window = nullptr;
bool sceneReady = false;

void Check(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "viewer_fuzzer: invariant broken: %s\n", what);
    std::abort();
  }
}

void CheckInvariants() {
  const ViewerState& s = viewerState;
  Check(s.idleHandler == nullptr || s.idleHandler == &IdleRender, "idleHandler is not IdleRender");
  Check(s.dragging != 1 || (s.rotating == 1 && s.keepSpinning == 0),
        "dragging without rotating, or spinning while dragging");
  Check((s.fogEnabled | s.wireframe) <= 1, "a display toggle holds neither 0 nor 1");
  Check(!sceneReady || std::isfinite(s.modelMatrix[0] + s.modelMatrix[5] + s.modelMatrix[10]),
        "modelMatrix is not finite");
}

// A fresh layer, state and window, as at start-up; variant 1 lacks a context, 2 uses a palette.
void CreateWindow(std::uint8_t variant) {
  LayerReset();
  viewerState = ViewerState{};
  viewerState.windowWidth = viewerState.windowHeight = 160;  // small: frames are quick
  const PIXELFORMATDESCRIPTOR palette = PaletteFormat332();
  if (variant % 4 == 1) {
    LayerInjectFault(LayerFault::kCreateContext);
  } else if (variant % 4 == 2) {
    LayerSetDescribedFormat(&palette);
  }
  RegisterViewerClass(GetModuleHandleA(nullptr));
  window = CreateViewerWindow(GetModuleHandleA(nullptr));
  LayerSetDescribedFormat(nullptr);
  Check(window != nullptr, "the viewer window could not be created");
  sceneReady = viewerState.renderContext != nullptr;
  ShowWindow(window, SW_SHOWDEFAULT);
  UpdateWindow(window);
  CheckInvariants();
}

// The viewer's WM_DESTROY, by whatever road, posts the quit.
bool Destroyed() {
  return LayerCallCount("PostQuitMessage") > 0;
}

// A message sent to the procedure or posted: from 0x300 on any number (WM_CREATE and WM_DESTROY
// come only from real creation and destruction); characters are single bytes.
void DeliverMessage(bool post) {
  const UINT pick = Take(2);
  const UINT message = pick == WM_CREATE || pick == WM_DESTROY ? WM_NULL : pick % 0x300;
  const WPARAM wParam = message == WM_CHAR ? Take(1) : Take(4);
  const LPARAM lParam = static_cast<std::int32_t>(Take(4));
  post ? void(PostMessageA(window, message, wParam, lParam))
       : void(ViewerWindowProc(window, message, wParam, lParam));
}

// Bounded turns of the viewer's own loop: draw when idle and nothing waits, otherwise take one
// message; WM_QUIT or an empty queue ends the turns.
void LoopTurns() {
  MSG msg = {};
  for (int turns = 1 + Take(1) % 8; turns > 0; --turns) {
    if (viewerState.idleHandler != nullptr && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      viewerState.idleHandler();
    } else if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    } else {
      return;
    }
    CheckInvariants();
  }
}

void (*const kSteps[])() = {[] { DeliverMessage(false); }, [] { DeliverMessage(true); }, LoopTurns,
                            [] { DestroyWindow(window); }};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  // Asking for the screen size starts SDL's video; keeping the GL library loaded spares every
  // window reloading Mesa, and keeps its code mapped so that leak reports can name it.
  if (GetSystemMetrics(SM_CYSCREEN) == 0 || SDL_GL_LoadLibrary(nullptr) != 0) {
    std::fprintf(stderr, "viewer_fuzzer: no offscreen GL: %s\n", SDL_GetError());
    std::exit(1);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t count) {
  data = bytes;
  size = count;
  at = 0;
  CreateWindow(Take(1));
  for (int step = 0; step < 64 && at < size; ++step) {
    kSteps[Take(1) % 4]();
    CheckInvariants();
    // After a destruction, by any road, the program would have ended: start a new one.
    if (Destroyed()) {
      CreateWindow(Take(1));
    }
  }
  if (!Destroyed()) {
    DestroyWindow(window);
    CheckInvariants();
  }
  return 0;
}
