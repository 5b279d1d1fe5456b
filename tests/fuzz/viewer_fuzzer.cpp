// Feeds window messages and idle turns to the viewer's own window (offscreen SDL,
// real Mesa) and checks the shared state after every step. Input: steps, each an opcode byte and
// the bytes it needs (zeros past the end). Every input starts as at start-up: the window and its
// GL context of the previous input are kept when they are of the same kind, with the viewer's
// state, the capture, the timer and the queue reset through the viewer's own calls and Win32;
// making a window and a context for every input would spend nearly all the time there.
#include <SDL.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/viewer.h"
#include "app/viewer_state.h"
#include "render/render.h"
#include "platform/sdl/layer_testing.h"
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
int windowKind = -1;
bool sceneReady = false;
// The test layer notes calls as they come and only a fresh layer forgets them: start one now
// and then, so that the notes stay small.
constexpr int kInputsPerLayer = 2000;
int inputsOnLayer = 0;
constexpr int kWindowSide = 64;  // small: frames are quick
// A frame of the mesh costs tens of milliseconds under the sanitizers, and frames past the
// first few of an input repeat one another: an input draws at most this many.
constexpr int kFramesPerInput = 2;
int framesLeft = 0;
// Frames change GL state that InitScene sets (light 2, the clear colour): only then is the scene
// set up again for the next input.
bool sceneTouched = false;
// What the viewer's WM_CREATE sets up: its timer.
constexpr UINT_PTR kViewerTimer = 1;
constexpr UINT kViewerTimerPeriod = 100;

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

// Kind 1 lacks a context, 2 uses a palette, 0 is the usual window.
int KindOf(std::uint8_t variant) {
  return variant % 4 == 3 ? 0 : variant % 4;
}

// A fresh layer, state and window, as at start-up.
void CreateWindow(std::uint8_t variant) {
  LayerReset();
  inputsOnLayer = 0;
  viewerState = ViewerState{};
  viewerState.windowWidth = viewerState.windowHeight = kWindowSide;
  windowKind = KindOf(variant);
  const PIXELFORMATDESCRIPTOR palette = PaletteFormat332();
  if (windowKind == 1) {
    LayerInjectFault(LayerFault::kCreateContext);
  } else if (windowKind == 2) {
    LayerSetDescribedFormat(&palette);
  }
  RegisterViewerClass(GetModuleHandleA(nullptr));
  window = CreateViewerWindow(GetModuleHandleA(nullptr));
  LayerSetDescribedFormat(nullptr);
  Check(window != nullptr, "the viewer window could not be created");
  sceneReady = viewerState.renderContext != nullptr;
  sceneTouched = false;
  ShowWindow(window, SW_SHOWDEFAULT);
  UpdateWindow(window);
  CheckInvariants();
}

bool Destroyed() {
  RECT client;
  return window == nullptr || GetClientRect(window, &client) == FALSE;
}

// Empties the queue; a pending paint is validated, or it would come back.
void DrainQueue() {
  MSG msg = {};
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_PAINT) {
      PAINTSTRUCT paint;
      BeginPaint(msg.hwnd, &paint);
      EndPaint(msg.hwnd, &paint);
    }
  }
}

// The kept window as start-up leaves it: no capture (its loss ends a drag as the viewer ends
// it), the viewer's timer restarted, nothing queued, the viewer's state afresh around the
// window's handles, the scene set up again, and a first paint.
void ResetWindow() {
  ReleaseCapture();
  KillTimer(window, kViewerTimer);
  DrainQueue();
  const ViewerState kept = viewerState;
  viewerState = ViewerState{};
  viewerState.windowWidth = viewerState.windowHeight = kWindowSide;
  viewerState.deviceContext = kept.deviceContext;
  viewerState.renderContext = kept.renderContext;
  viewerState.palette = kept.palette;
  SetTimer(window, kViewerTimer, kViewerTimerPeriod, nullptr);
  if (sceneReady && sceneTouched) {
    InitScene();
  }
  sceneTouched = false;
  ShowWindow(window, SW_SHOWDEFAULT);
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
  CheckInvariants();
}

// The previous input's window when it is of the kind asked for, otherwise a fresh one.
void StartInput(std::uint8_t variant) {
  if (!Destroyed() && KindOf(variant) == windowKind && ++inputsOnLayer < kInputsPerLayer) {
    ResetWindow();
    return;
  }
  if (!Destroyed()) {
    DestroyWindow(window);
  }
  CreateWindow(variant);
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
// message; WM_QUIT, an empty queue or a spent frame budget ends the turns.
void LoopTurns() {
  MSG msg = {};
  for (int turns = 1 + Take(1) % 8; turns > 0; --turns) {
    if (viewerState.idleHandler != nullptr && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (framesLeft == 0) {
        return;
      }
      --framesLeft;
      sceneTouched = true;
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
  // Asking for the screen size starts SDL's video, and with it the layer's load of the GL
  // library, which stays loaded: windows do not reload Mesa, and leak reports can name its code.
  if (GetSystemMetrics(SM_CYSCREEN) == 0) {
    std::fprintf(stderr, "viewer_fuzzer: no offscreen GL: %s\n", SDL_GetError());
    std::exit(1);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t count) {
  data = bytes;
  size = count;
  at = 0;
  StartInput(Take(1));
  framesLeft = kFramesPerInput;
  // A destruction, by any road, ends the program and so the input; the next one makes a window.
  for (int step = 0; step < 64 && at < size && !Destroyed(); ++step) {
    kSteps[Take(1) % 4]();
    CheckInvariants();
  }
  return 0;
}
