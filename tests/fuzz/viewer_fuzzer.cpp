// Feeds arbitrary window messages, SDL events and idle turns to a real viewer window (SDL's
// offscreen driver, a real Mesa context) and checks the shared state after every step.
//
// Input: a sequence of steps, each an opcode byte followed by the bytes it needs; a short input
// reads zeros past its end. Every input starts from a freshly created window, so a crash input
// reproduces on its own.
#include <SDL.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/viewer.h"
#include "app/viewer_state.h"
#include "platform/sdl/layer_testing.h"
#include "tests/unit/palette_format.h"

namespace {

// Small, so that llvmpipe draws a frame quickly; the trackball scales to any size.
constexpr int kWindowSide = 160;
constexpr int kMaxSteps = 64;
constexpr int kMaxLoopTurns = 8;
constexpr float kRotationTolerance = 1e-4f;

struct Input {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at;
};

std::uint8_t TakeByte(Input& input) {
  return input.at < input.size ? input.data[input.at++] : 0;
}

std::uint32_t TakeWord(Input& input) {
  std::uint32_t word = 0;
  for (int i = 0; i < 4; ++i) {
    word = (word << 8) | TakeByte(input);
  }
  return word;
}

std::int16_t TakeCoordinate(Input& input) {
  return static_cast<std::int16_t>((TakeByte(input) << 8) | TakeByte(input));
}

// What one input's window went through: the procedure below notes the destruction.
struct Session {
  HWND window = nullptr;
  bool destroyed = false;
  bool sceneReady = false;
};
Session session;

LRESULT CALLBACK RecordingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    session.destroyed = true;
  }
  return ViewerWindowProc(window, message, wParam, lParam);
}

[[noreturn]] void Violation(const char* what) {
  std::fprintf(stderr, "viewer_fuzzer: invariant broken: %s\n", what);
  std::abort();
}

bool Near(float value, float expected) {
  return std::fabs(value - expected) <= kRotationTolerance;
}

// The upper-left 3x3 block is orthonormal with determinant +1, the rest is (0, 0, 0, 1).
bool IsRotation(const float* m) {
  for (int i = 0; i < 16; ++i) {
    if (!std::isfinite(m[i])) {
      return false;
    }
  }
  for (int a = 0; a < 3; ++a) {
    for (int b = 0; b < 3; ++b) {
      const float dot =
          m[4 * a] * m[4 * b] + m[4 * a + 1] * m[4 * b + 1] + m[4 * a + 2] * m[4 * b + 2];
      if (!Near(dot, a == b ? 1.0f : 0.0f)) {
        return false;
      }
    }
  }
  const float determinant = m[0] * (m[5] * m[10] - m[6] * m[9]) -
                            m[4] * (m[1] * m[10] - m[2] * m[9]) +
                            m[8] * (m[1] * m[6] - m[2] * m[5]);
  return Near(determinant, 1.0f) && Near(m[3], 0.0f) && Near(m[7], 0.0f) && Near(m[11], 0.0f) &&
         Near(m[12], 0.0f) && Near(m[13], 0.0f) && Near(m[14], 0.0f) && Near(m[15], 1.0f);
}

void CheckInvariants() {
  const ViewerState& s = viewerState;
  if (s.idleHandler != nullptr && s.idleHandler != &IdleRender) {
    Violation("idleHandler is neither null nor IdleRender");
  }
  if (s.dragging == 1 && (s.rotating != 1 || s.keepSpinning != 0)) {
    Violation("dragging without rotating, or spinning while dragging");
  }
  if ((s.fogEnabled != 0 && s.fogEnabled != 1) || (s.wireframe != 0 && s.wireframe != 1)) {
    Violation("a display toggle holds neither 0 nor 1");
  }
  // Without a context the scene was never set up, and modelMatrix keeps its all-zero start.
  if (session.sceneReady && !IsRotation(s.modelMatrix)) {
    Violation("modelMatrix is not a rotation");
  }
}

// A fresh layer, state and window, as at start-up: some starts lack a context or use a palette.
// The previous window, if any, has been destroyed through the viewer.
void CreateWindow(std::uint8_t variant) {
  LayerReset();
  viewerState = ViewerState{};
  viewerState.windowWidth = kWindowSide;
  viewerState.windowHeight = kWindowSide;
  session = Session{};
  const PIXELFORMATDESCRIPTOR palette = PaletteFormat332();
  if (variant % 4 == 1) {
    LayerInjectFault(LayerFault::kCreateContext);
  } else if (variant % 4 == 2) {
    LayerSetDescribedFormat(&palette);
  }
  WNDCLASSA windowClass = {};
  windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = RecordingWindowProc;
  windowClass.lpszClassName = viewerState.windowClassName;
  RegisterClassA(&windowClass);
  session.window = CreateWindowExA(0, viewerState.windowClassName, viewerState.windowTitle,
                                   WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 50, 50,
                                   kWindowSide, kWindowSide, nullptr, nullptr, nullptr, nullptr);
  LayerSetDescribedFormat(nullptr);
  if (session.window == nullptr) {
    Violation("the viewer window could not be created");
  }
  session.sceneReady = viewerState.renderContext != nullptr;
  ShowWindow(session.window, SW_SHOWDEFAULT);
  UpdateWindow(session.window);
}

// The messages the viewer handles, and others a window commonly receives. WM_CREATE and
// WM_DESTROY come only from window creation and destruction, which the steps do for real.
constexpr UINT kMessages[] = {
    WM_SIZE,       WM_PAINT,           WM_CHAR,           WM_MOUSEMOVE,   WM_LBUTTONDOWN,
    WM_LBUTTONUP,  WM_QUERYNEWPALETTE, WM_PALETTECHANGED, WM_CLOSE,       WM_KEYDOWN,
    WM_KEYUP,      WM_RBUTTONDOWN,     WM_RBUTTONUP,      WM_MBUTTONDOWN, WM_MBUTTONUP,
    WM_MOUSEWHEEL, WM_TIMER,           WM_SETFOCUS,       WM_KILLFOCUS,   WM_ACTIVATE,
    WM_MOVE,       WM_ERASEBKGND,      WM_SHOWWINDOW,     WM_NULL,        WM_USER,
};
constexpr int kMessageCount = sizeof kMessages / sizeof kMessages[0];

UINT TakeMessage(Input& input) {
  const std::uint8_t pick = TakeByte(input);
  if (pick < 0xf0) {
    return kMessages[pick % kMessageCount];
  }
  // Any message number at all, except the two that only creation and destruction send.
  const UINT message = TakeWord(input);
  return message == WM_CREATE || message == WM_DESTROY ? WM_NULL : message;
}

// Characters are single bytes, Esc and the command letters among them.
WPARAM TakeWParam(Input& input, UINT message) {
  return message == WM_CHAR ? TakeByte(input) : TakeWord(input);
}

LPARAM TakeLParam(Input& input) {
  return static_cast<LPARAM>(static_cast<std::int32_t>(TakeWord(input)));
}

void SendToViewer(Input& input) {
  const UINT message = TakeMessage(input);
  const WPARAM wParam = TakeWParam(input, message);
  ViewerWindowProc(session.window, message, wParam, TakeLParam(input));
}

void PostToViewer(Input& input) {
  const UINT message = TakeMessage(input);
  const WPARAM wParam = TakeWParam(input, message);
  PostMessageA(session.window, message, wParam, TakeLParam(input));
}

// A left-button drag through the procedure, as the pointer would make it: the fastest way into
// the spinning states.
void Drag(Input& input) {
  const LPARAM start = MAKELPARAM(TakeCoordinate(input), TakeCoordinate(input));
  ViewerWindowProc(session.window, WM_LBUTTONDOWN, MK_LBUTTON, start);
  CheckInvariants();
  const int moves = TakeByte(input) % 4;
  LPARAM at = start;
  for (int i = 0; i < moves; ++i) {
    at = MAKELPARAM(TakeCoordinate(input), TakeCoordinate(input));
    ViewerWindowProc(session.window, WM_MOUSEMOVE, MK_LBUTTON, at);
    CheckInvariants();
  }
  ViewerWindowProc(session.window, WM_LBUTTONUP, 0, at);
}

// An SDL event into SDL's own queue, to go through the layer's translation on the next pump.
void PushSdlEvent(Input& input) {
  SDL_Window* sdlWindow = SDL_GL_GetCurrentWindow();
  SDL_Event event = {};
  const Uint32 windowId = sdlWindow != nullptr ? SDL_GetWindowID(sdlWindow) : 0;
  switch (TakeByte(input) % 6) {
    case 0:
      event.type = SDL_MOUSEMOTION;
      event.motion.windowID = windowId;
      event.motion.x = TakeCoordinate(input);
      event.motion.y = TakeCoordinate(input);
      break;
    case 1:
      event.type = TakeByte(input) % 2 == 0 ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
      event.button.windowID = windowId;
      event.button.state = event.type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
      event.button.button = TakeByte(input) % 8;
      event.button.x = TakeCoordinate(input);
      event.button.y = TakeCoordinate(input);
      break;
    case 2:
      event.type = TakeByte(input) % 2 == 0 ? SDL_KEYDOWN : SDL_KEYUP;
      event.key.windowID = windowId;
      event.key.state = event.type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
      event.key.keysym.sym = static_cast<SDL_Keycode>(TakeWord(input));
      event.key.repeat = TakeByte(input) % 2;
      break;
    case 3:
      event.type = SDL_TEXTINPUT;
      event.text.windowID = windowId;
      for (std::size_t i = 0; i + 1 < sizeof event.text.text && i < 4; ++i) {
        event.text.text[i] = static_cast<char>(TakeByte(input));
      }
      break;
    case 4:
      event.type = SDL_WINDOWEVENT;
      event.window.windowID = windowId;
      event.window.event = TakeByte(input) % (SDL_WINDOWEVENT_DISPLAY_CHANGED + 1);
      event.window.data1 = TakeCoordinate(input);
      event.window.data2 = TakeCoordinate(input);
      break;
    default:
      event.type = SDL_QUIT;
      break;
  }
  SDL_PushEvent(&event);
}

// Bounded turns of the viewer's own loop: draw when idle and a redraw is pending, otherwise take
// one message. WM_QUIT ends the turns, as it ends the loop.
void LoopTurns(Input& input) {
  const int turns = 1 + TakeByte(input) % kMaxLoopTurns;
  MSG msg = {};
  for (int i = 0; i < turns; ++i) {
    if (viewerState.idleHandler != nullptr && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      viewerState.idleHandler();
    } else if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        return;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    } else {
      return;
    }
    CheckInvariants();
  }
}

void RunStep(Input& input) {
  switch (TakeByte(input) % 8) {
    case 0:
    case 1:
      SendToViewer(input);
      break;
    case 2:
      PostToViewer(input);
      break;
    case 3:
      Drag(input);
      break;
    case 4:
      PushSdlEvent(input);
      break;
    case 5:
      if (viewerState.idleHandler != nullptr) {
        IdleRender();
      }
      break;
    case 6:
      LoopTurns(input);
      break;
    default:
      DestroyWindow(session.window);
      break;
  }
  CheckInvariants();
  // After a destruction, by any road, the program would have ended: start a new one.
  if (session.destroyed) {
    CreateWindow(TakeByte(input));
    CheckInvariants();
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  // The layer starts SDL's video the way it always does (asking for the screen size does that).
  // Keeping the GL library loaded spares every new window reloading Mesa's driver, and keeps
  // the driver's code mapped, so that leak reports can name it.
  if (GetSystemMetrics(SM_CYSCREEN) == 0 || SDL_GL_LoadLibrary(nullptr) != 0) {
    std::fprintf(stderr, "viewer_fuzzer: no offscreen GL: %s\n", SDL_GetError());
    std::exit(1);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input input = {data, size, 0};
  CreateWindow(TakeByte(input));
  CheckInvariants();
  for (int step = 0; step < kMaxSteps && input.at < input.size; ++step) {
    RunStep(input);
  }
  // The program's end: the window goes, and with it the rendering context.
  if (!session.destroyed) {
    DestroyWindow(session.window);
    CheckInvariants();
  }
  return 0;
}
