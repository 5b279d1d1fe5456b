// Feeds window messages and idle turns to the viewer's own window (offscreen SDL,
// real Mesa) and checks the shared state after every step. Input: a window kind, then steps, each
// an opcode byte and the bytes it needs (zeros past the end), until the window is destroyed.
// Every input starts as at start-up: one window of each kind is kept with its GL context, and the
// viewer's state, the capture, the timer and the queue are reset through the viewer's own calls
// and Win32; making a window and a context for every input would spend nearly all the time there.
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

// Making a window and its context costs hundreds of milliseconds under the sanitizers, so each
// kind of window is kept, asleep (no timer, nothing invalid), while inputs of other kinds run.
struct KeptWindow {
  HWND window = nullptr;
  HDC deviceContext = nullptr;
  HGLRC renderContext = nullptr;
  HPALETTE palette = nullptr;
  // Frames change GL state that InitScene sets (light 2, the clear colour): only then is the
  // scene set up again for the next input.
  bool sceneTouched = false;
};
constexpr int kKinds = 3;
KeptWindow kept[kKinds];
HWND window = nullptr;
int windowKind = -1;
bool sceneReady = false;
// The test layer notes calls as they come and only a fresh layer forgets them: start one now
// and then, so that the notes stay small.
constexpr int kInputsPerLayer = 2000;
int inputsOnLayer = kInputsPerLayer;
constexpr int kWindowSide = 64;  // small: frames are quick
// A frame of the mesh costs tens of milliseconds under the sanitizers, and frames past the
// first few of an input repeat one another: an input draws at most this many.
constexpr int kFramesPerInput = 2;
int framesLeft = 0;
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

// A fresh state and window of this kind, as at start-up.
void CreateWindow(int kind) {
  viewerState = ViewerState{};
  viewerState.windowWidth = viewerState.windowHeight = kWindowSide;
  const PIXELFORMATDESCRIPTOR palette = PaletteFormat332();
  if (kind == 1) {
    LayerInjectFault(LayerFault::kCreateContext);
  } else if (kind == 2) {
    LayerSetDescribedFormat(&palette);
  }
  RegisterViewerClass(GetModuleHandleA(nullptr));
  window = CreateViewerWindow(GetModuleHandleA(nullptr));
  LayerSetDescribedFormat(nullptr);
  Check(window != nullptr, "the viewer window could not be created");
  sceneReady = viewerState.renderContext != nullptr;
  kept[kind] =
      KeptWindow{window, viewerState.deviceContext, viewerState.renderContext, viewerState.palette};
  ShowWindow(window, SW_SHOWDEFAULT);
  UpdateWindow(window);
  CheckInvariants();
}

bool Alive(HWND handle) {
  RECT client;
  return handle != nullptr && GetClientRect(handle, &client) != FALSE;
}

bool Destroyed() {
  return !Alive(window);
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

// The viewer's state afresh around a kept window's handles, its context current.
void Wake(const KeptWindow& kept) {
  viewerState = ViewerState{};
  viewerState.windowWidth = viewerState.windowHeight = kWindowSide;
  viewerState.deviceContext = kept.deviceContext;
  viewerState.renderContext = kept.renderContext;
  viewerState.palette = kept.palette;
  if (kept.renderContext != nullptr) {
    wglMakeCurrent(kept.deviceContext, kept.renderContext);
  }
}

// A kept window as start-up leaves it: the viewer's state afresh, the viewer's timer started,
// the scene set up again if a frame changed it, and a first paint.
void ResetWindow(KeptWindow& kept) {
  Wake(kept);
  SetTimer(window, kViewerTimer, kViewerTimerPeriod, nullptr);
  if (sceneReady && kept.sceneTouched) {
    InitScene();
  }
  kept.sceneTouched = false;
  ShowWindow(window, SW_SHOWDEFAULT);
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
  CheckInvariants();
}

// Every window asleep, the capture released and the queue empty, as between two programs; and
// now and then a fresh layer with no windows at all.
void SettleWindows() {
  ReleaseCapture();
  for (KeptWindow& each : kept) {
    if (Alive(each.window)) {
      KillTimer(each.window, kViewerTimer);
    }
  }
  DrainQueue();
  if (++inputsOnLayer < kInputsPerLayer) {
    return;
  }
  // Each destruction goes through the viewer, with that window's own handles.
  for (KeptWindow& each : kept) {
    if (Alive(each.window)) {
      Wake(each);
      DestroyWindow(each.window);
    }
    each = KeptWindow{};
  }
  DrainQueue();
  LayerReset();
  inputsOnLayer = 0;
}

// The kept window of the kind asked for, otherwise a fresh one.
void StartInput(std::uint8_t variant) {
  SettleWindows();
  const int kind = KindOf(variant);
  windowKind = kind;
  window = kept[kind].window;
  if (Alive(window)) {
    sceneReady = kept[kind].renderContext != nullptr;
    ResetWindow(kept[kind]);
    return;
  }
  CreateWindow(kind);
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
      kept[windowKind].sceneTouched = true;
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

void (*const kSteps[])() = {[] { DeliverMessage(false); }, [] { DeliverMessage(true); }, LoopTurns};

// A destruction ends the input, and the next input pays for a new window and context (a fifth of
// a second under the sanitizers, against a millisecond for a kept one): one opcode in 64 asks for
// it, the others send, post or turn the loop.
void RunStep(std::uint32_t opcode) {
  constexpr std::uint32_t kDestroy = 63;
  if (opcode % 64 == kDestroy) {
    DestroyWindow(window);
    return;
  }
  kSteps[opcode % 3]();
}

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
    RunStep(Take(1));
    CheckInvariants();
  }
  return 0;
}
