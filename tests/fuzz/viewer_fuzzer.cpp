// Feeds window messages and idle turns to the viewer's own window (offscreen SDL, real Mesa) and
// checks the shared state after every step. Input: a window kind, then steps, each an opcode byte
// and the bytes it needs (zeros past the end), until the window is destroyed (by the viewer's or
// Win32's own ways: Escape, WM_CLOSE). Every input starts as at start-up, in a kept window reset
// through the viewer's own calls and Win32.
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/viewer.h"
#include "app/viewer_state.h"
#include "platform/win32_core/testing.h"
#include "render/render.h"
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

// A window and context cost 0.1 s or more under the sanitizers: one of each kind is kept asleep,
// with the state its creation left. Only a frame changes what InitScene set (light 2, colours).
struct KeptWindow {
  HWND window = nullptr;
  ViewerState created;
  bool sceneTouched = false;
  // What the window's previous frame was drawn from: the viewer's state, the window minimised.
  ViewerState lastFrame;
  BOOL lastIconic = FALSE;
};
KeptWindow kept[3];
HWND window = nullptr;
int windowKind = 0;
// The test layer's notes of calls grow until a fresh layer forgets them.
constexpr long kInputsPerLayer = 2000;
long inputs = 0;
constexpr int kWindowSide = 64;  // small: frames are quick
// A frame costs about 10 ms under the sanitizers, and further frames repeat the first.
constexpr int kFramesPerInput = 2;
int framesLeft = 0;
constexpr UINT_PTR kViewerTimer = 1;  // as WM_CREATE sets it
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
  Check(std::isfinite(s.modelMatrix[0] + s.modelMatrix[5] + s.modelMatrix[10]),
        "modelMatrix is not finite");
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
  kept[kind] = KeptWindow{window, viewerState, false, ViewerState{}, FALSE};
}

bool Alive(HWND handle) {
  RECT client;
  return handle != nullptr && GetClientRect(handle, &client) != FALSE;
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

// The viewer's state as the window's creation left it, its context (if any) current.
void Wake(const KeptWindow& each) {
  viewerState = each.created;
  wglMakeCurrent(viewerState.deviceContext, viewerState.renderContext);
}

// Windows asleep, no capture, an empty queue; now and then a fresh layer, after the viewer's own
// destruction of each window with that window's handles.
void SettleWindows() {
  ReleaseCapture();
  const bool freshLayer = inputs++ % kInputsPerLayer == 0;
  for (KeptWindow& each : kept) {
    if (Alive(each.window)) {
      KillTimer(each.window, kViewerTimer);
      if (freshLayer) {
        Wake(each);
        DestroyWindow(each.window);
      }
    }
  }
  DrainQueue();
  if (freshLayer) {
    LayerReset();
    std::fill(std::begin(kept), std::end(kept), KeptWindow{});
  }
}

// The kept window of the kind asked for (or a fresh one) as start-up leaves it: state afresh,
// the viewer's timer started, the scene set up again if a frame changed it, and a first paint.
void StartInput(std::uint8_t variant) {
  SettleWindows();
  windowKind = variant % 4 == 3 ? 0 : variant % 4;  // 1 lacks a context, 2 uses a palette
  KeptWindow& each = kept[windowKind];
  if (!Alive(window = each.window)) {
    CreateWindow(windowKind);
  } else {
    Wake(each);
    SetTimer(window, kViewerTimer, kViewerTimerPeriod, nullptr);
    if (viewerState.renderContext != nullptr && each.sceneTouched) {
      InitScene();
    }
  }
  each.sceneTouched = false;
  ShowWindow(window, SW_SHOWDEFAULT);
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
  CheckInvariants();
}

// A message sent to the procedure or posted: any number below 0x300 but WM_CREATE and WM_DESTROY,
// which come only from real creation and destruction; characters are single bytes.
void DeliverMessage(bool post) {
  const UINT pick = Take(2) % 0x300;
  const UINT message = pick == WM_CREATE || pick == WM_DESTROY ? WM_NULL : pick;
  const WPARAM wParam = message == WM_CHAR ? Take(1) : Take(4);
  const LPARAM lParam = static_cast<std::int32_t>(Take(4));
  post ? void(PostMessageA(window, message, wParam, lParam))
       : void(ViewerWindowProc(window, message, wParam, lParam));
}

// True when a frame now would be drawn from what this window's previous frame was drawn from,
// and so repeat it exactly; notes what this one is drawn from. Byte copies and compares: padding
// compares alike, and a state that differs anywhere differs.
bool RepeatsLastFrame() {
  KeptWindow& each = kept[windowKind];
  const BOOL iconic = IsIconic(window);
  const bool repeats = iconic == each.lastIconic &&
                       std::memcmp(&viewerState, &each.lastFrame, sizeof viewerState) == 0;
  std::memcpy(&each.lastFrame, &viewerState, sizeof viewerState);
  each.lastIconic = iconic;
  return repeats;
}

// Bounded turns of the viewer's own loop: draw when idle and nothing waits, otherwise take one
// message; WM_QUIT, an empty queue or a spent frame budget ends the turns.
void LoopTurns() {
  MSG msg = {};
  for (int turns = 1 + Take(1) % 8; turns > 0; --turns) {
    if (viewerState.idleHandler != nullptr && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (--framesLeft < 0 || RepeatsLastFrame()) {
        return;
      }
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

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  // Starts SDL's video and the GL library's load, kept for the run: leak reports can name Mesa.
  if (GetSystemMetrics(SM_CYSCREEN) == 0) {
    std::fprintf(stderr, "viewer_fuzzer: no offscreen GL: %s\n", SDL_GetError());
    std::exit(1);
  }
  // The kept windows go before the leak check at exit, as a process's windows go with it.
  std::atexit(LayerReset);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t count) {
  data = bytes, size = count, at = 0;
  StartInput(Take(1));
  framesLeft = kFramesPerInput;
  for (int step = 0; step < 64 && at < size && Alive(window); ++step) {
    kSteps[Take(1) % 3]();
    CheckInvariants();
  }
  // A destroyed window is replaced now: the input that destroyed it pays for the new window and
  // context, and libFuzzer, scaling by time, favours inputs that keep their window.
  if (!Alive(window)) {
    CreateWindow(windowKind);
  }
  return 0;
}
