// Feeds window messages, SDL events and idle turns to a real viewer window (offscreen SDL, real
// Mesa) and checks the shared state after every step. Input: steps, each an opcode byte and the
// bytes it needs (zeros past the end); every input starts from a fresh window.
#include <SDL.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/viewer.h"
#include "app/viewer_state.h"
#include "platform/sdl/layer_testing.h"
#include "tests/unit/palette_format.h"

namespace {

// Small, so that llvmpipe draws a frame quickly; the trackball scales to any size.
constexpr int kWindowSide = 160;

// The input being run, and how much of it the steps have taken.
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

std::int16_t TakeCoordinate() {
  return static_cast<std::int16_t>(Take(2));
}

// This input's window, and whether its scene is set up.
HWND window = nullptr;
bool sceneReady = false;

// The viewer's WM_DESTROY, by whatever road, posts the quit.
bool Destroyed() {
  return LayerCallCount("PostQuitMessage") > 0;
}

void Check(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "viewer_fuzzer: invariant broken: %s\n", what);
    std::abort();
  }
}

bool Near(float value, float expected) {
  return std::fabs(value - expected) <= 1e-4f;
}

// Orthonormal upper-left 3x3 block with determinant +1, the rest (0, 0, 0, 1). NaN and
// infinities fail these comparisons, as every element takes part in one.
bool IsRotation(const float* m) {
  bool rotation = Near(m[0] * (m[5] * m[10] - m[6] * m[9]) - m[4] * (m[1] * m[10] - m[2] * m[9]) +
                           m[8] * (m[1] * m[6] - m[2] * m[5]),
                       1.0f);
  for (int a = 0; a < 4; ++a) {
    rotation = rotation && Near(m[12 + a], a == 3) && Near(m[4 * a + 3], a == 3);
    for (int b = 0; a < 3 && b < 3; ++b) {
      rotation = rotation && Near(m[4 * a] * m[4 * b] + m[4 * a + 1] * m[4 * b + 1] +
                                      m[4 * a + 2] * m[4 * b + 2],
                                  a == b);
    }
  }
  return rotation;
}

void CheckInvariants() {
  const ViewerState& s = viewerState;
  Check(s.idleHandler == nullptr || s.idleHandler == &IdleRender, "idleHandler is not IdleRender");
  Check(s.dragging != 1 || (s.rotating == 1 && s.keepSpinning == 0),
        "dragging without rotating, or spinning while dragging");
  Check((s.fogEnabled == 0 || s.fogEnabled == 1) && (s.wireframe == 0 || s.wireframe == 1),
        "a display toggle holds neither 0 nor 1");
  // Without a context the scene was never set up, and modelMatrix keeps its all-zero start.
  Check(!sceneReady || IsRotation(s.modelMatrix), "modelMatrix is not a rotation");
}

// A fresh layer, state and window, as at start-up; variant 1 lacks a context, 2 uses a palette.
void CreateWindow(std::uint8_t variant) {
  LayerReset();
  viewerState = ViewerState{};
  viewerState.windowWidth = viewerState.windowHeight = kWindowSide;
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

// Handled and common messages; WM_CREATE and WM_DESTROY come only from real creation/destruction.
constexpr UINT kMessages[] = {
    WM_SIZE,       WM_PAINT,           WM_CHAR,           WM_MOUSEMOVE,   WM_LBUTTONDOWN,
    WM_LBUTTONUP,  WM_QUERYNEWPALETTE, WM_PALETTECHANGED, WM_CLOSE,       WM_KEYDOWN,
    WM_KEYUP,      WM_RBUTTONDOWN,     WM_RBUTTONUP,      WM_MBUTTONDOWN, WM_MBUTTONUP,
    WM_MOUSEWHEEL, WM_TIMER,           WM_SETFOCUS,       WM_KILLFOCUS,   WM_ACTIVATE,
    WM_MOVE,       WM_ERASEBKGND,      WM_SHOWWINDOW,     WM_NULL,        WM_USER,
};

// A message sent straight to the procedure or posted to the queue. Picks from 0xf0 take any
// number; characters are single bytes (Esc and the command letters among them).
void DeliverMessage(bool post) {
  const std::uint8_t pick = Take(1);
  UINT message = pick < 0xf0 ? kMessages[pick % (sizeof kMessages / sizeof kMessages[0])] : Take(4);
  message = message == WM_CREATE || message == WM_DESTROY ? WM_NULL : message;
  const WPARAM wParam = message == WM_CHAR ? Take(1) : Take(4);
  const LPARAM lParam = static_cast<std::int32_t>(Take(4));
  if (post) {
    PostMessageA(window, message, wParam, lParam);
  } else {
    ViewerWindowProc(window, message, wParam, lParam);
  }
}

// A left-button drag through the procedure: the fastest way into the spinning states.
void Drag() {
  LPARAM at = MAKELPARAM(TakeCoordinate(), TakeCoordinate());
  ViewerWindowProc(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  CheckInvariants();
  for (int moves = Take(1) % 4; moves > 0; --moves) {
    at = MAKELPARAM(TakeCoordinate(), TakeCoordinate());
    ViewerWindowProc(window, WM_MOUSEMOVE, MK_LBUTTON, at);
    CheckInvariants();
  }
  ViewerWindowProc(window, WM_LBUTTONUP, 0, at);
}

// An SDL event into SDL's own queue, for the layer to translate on the next pump.
void PushSdlEvent() {
  SDL_Event event = {};
  // Every event type here keeps its window id at the same place; pick 5 leaves a quit request.
  event.window.windowID = SDL_GetWindowID(SDL_GL_GetCurrentWindow());
  event.type = SDL_QUIT;
  switch (Take(1) % 6) {
    case 0:
      event.type = SDL_MOUSEMOTION;
      event.motion.x = TakeCoordinate();
      event.motion.y = TakeCoordinate();
      break;
    case 1:
      event.type = Take(1) % 2 == 0 ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
      event.button.state = event.type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
      event.button.button = Take(1) % 8;
      event.button.x = TakeCoordinate();
      event.button.y = TakeCoordinate();
      break;
    case 2:
      event.type = Take(1) % 2 == 0 ? SDL_KEYDOWN : SDL_KEYUP;
      event.key.state = event.type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
      event.key.keysym.sym = static_cast<SDL_Keycode>(Take(4));
      event.key.repeat = Take(1) % 2;
      break;
    case 3:
      event.type = SDL_TEXTINPUT;
      for (int i = 0; i < 4; ++i) {
        event.text.text[i] = static_cast<char>(Take(1));
      }
      break;
    case 4:
      event.type = SDL_WINDOWEVENT;
      event.window.event = Take(1) % (SDL_WINDOWEVENT_DISPLAY_CHANGED + 1);
      event.window.data1 = TakeCoordinate();
      event.window.data2 = TakeCoordinate();
      break;
  }
  SDL_PushEvent(&event);
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

// The steps, by opcode; sending straight to the procedure comes up twice as often.
void (*const kSteps[])() = {[] { DeliverMessage(false); },
                            [] { DeliverMessage(false); },
                            [] { DeliverMessage(true); },
                            Drag,
                            PushSdlEvent,
                            [] { viewerState.idleHandler != nullptr ? IdleRender() : void(); },
                            LoopTurns,
                            [] { DestroyWindow(window); }};

void RunStep() {
  kSteps[Take(1) % 8]();
  CheckInvariants();
  // After a destruction, by any road, the program would have ended: start a new one.
  if (Destroyed()) {
    CreateWindow(Take(1));
  }
}

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
    RunStep();
  }
  // The program's end: the window goes, and with it the rendering context.
  if (!Destroyed()) {
    DestroyWindow(window);
    CheckInvariants();
  }
  return 0;
}
