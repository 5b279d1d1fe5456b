#include <cstdio>
#include <optional>

#include "app/viewer.h"
#include "app/viewer_state.h"
#include "display/display.h"
#include "input/trackball.h"
#include "render/render.h"

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerPeriodMs = 100;
constexpr float kAdjustStep = 0.05f;
constexpr float kAdjustMax = 1.05f;
constexpr float kAdjustMin = 0.01f;

// A handler's result, or none when the message goes to default processing.
using Answer = std::optional<LRESULT>;

static bool HasContext() {
  return viewerState.renderContext != nullptr;
}

static Answer OnCreate(HWND window, WPARAM, LPARAM) {
  SetTimer(window, kTimerId, kTimerPeriodMs, nullptr);
  viewerState.deviceContext = GetDC(window);
  SetupPixelFormat(viewerState.deviceContext);
  SetupPalette(viewerState.deviceContext);
  viewerState.renderContext = wglCreateContext(viewerState.deviceContext);
  if (viewerState.renderContext == nullptr) {
    std::fputs("ribbon: no OpenGL rendering context; the window stays empty\n", stderr);
    return 0;
  }
  wglMakeCurrent(viewerState.deviceContext, viewerState.renderContext);
  InitScene();
  return 0;
}

static Answer OnDestroy(HWND window, WPARAM, LPARAM) {
  if (viewerState.renderContext != nullptr) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(viewerState.renderContext);
    // The handle is dead now; a message that still arrives must not find it.
    viewerState.renderContext = nullptr;
  }
  viewerState.idleHandler = nullptr;
  ReleaseDC(window, viewerState.deviceContext);
  PostQuitMessage(0);
  return 0;
}

// The projection and viewport are set once for the start-up size: give that size back.
static Answer OnSize(HWND window, WPARAM, LPARAM) {
  if (!HasContext()) {
    return std::nullopt;
  }
  SetWindowPos(window, HWND_TOP, 80, 80, viewerState.windowWidth, viewerState.windowHeight,
               SWP_NOMOVE);
  return 0;
}

static Answer OnPaint(HWND window, WPARAM, LPARAM) {
  if (!HasContext()) {
    return std::nullopt;
  }
  PAINTSTRUCT paint;
  BeginPaint(window, &paint);
  RequestRedraw();
  EndPaint(window, &paint);
  return 0;
}

static void RealizeViewerPalette() {
  UnrealizeObject(viewerState.palette);
  SelectPalette(viewerState.deviceContext, viewerState.palette, FALSE);
  RealizePalette(viewerState.deviceContext);
  RequestRedraw();
}

static float RaisedAdjustValue(float value) {
  value += kAdjustStep;
  return value >= kAdjustMax ? kAdjustMax : value;
}

static float LoweredAdjustValue(float value) {
  value -= kAdjustStep;
  return value <= kAdjustMin ? kAdjustMin : value;
}

// Runs the command of a typed character; false when the character is not a command.
static bool RunKeyCommand(HWND window, WPARAM character) {
  switch (character) {
    case 27:
      DestroyWindow(window);
      return true;
    case 'f':
      viewerState.fogEnabled = viewerState.fogEnabled == 0 ? 1 : 0;
      break;
    case 'j':
      viewerState.adjustValue = RaisedAdjustValue(viewerState.adjustValue);
      break;
    case 'k':
      viewerState.adjustValue = LoweredAdjustValue(viewerState.adjustValue);
      break;
    case 'p':
      viewerState.wireframe = viewerState.wireframe == 0 ? 1 : 0;
      break;
    default:
      return false;
  }
  RequestRedraw();
  return true;
}

static Answer OnChar(HWND window, WPARAM character, LPARAM) {
  return RunKeyCommand(window, character) ? Answer(0) : std::nullopt;
}

// Pointer positions are signed: while captured, the pointer may be left of or above the window.
// The last one is kept for a drag that ends without its button-up.
static POINT NotePointer(LPARAM lParam) {
  viewerState.pointerX = GET_X_LPARAM(lParam);
  viewerState.pointerY = GET_Y_LPARAM(lParam);
  return POINT{viewerState.pointerX, viewerState.pointerY};
}

// Every move still goes to default processing.
static Answer OnMouseMove(HWND, WPARAM, LPARAM lParam) {
  if (HasContext()) {
    POINT pointer = NotePointer(lParam);
    TrackballMove(pointer.x, pointer.y);
  }
  return std::nullopt;
}

static Answer OnLeftButtonDown(HWND window, WPARAM, LPARAM lParam) {
  if (!HasContext()) {
    return std::nullopt;
  }
  POINT pointer = NotePointer(lParam);
  SetCapture(window);
  TrackballBegin(1, pointer.x, pointer.y);
  return 0;
}

// Releasing the capture sends WM_CAPTURECHANGED, which ends the drag here already.
static Answer OnLeftButtonUp(HWND, WPARAM, LPARAM lParam) {
  if (!HasContext()) {
    return std::nullopt;
  }
  POINT pointer = NotePointer(lParam);
  ReleaseCapture();
  TrackballEnd(1, pointer.x, pointer.y);
  return 0;
}

// Another window took the capture (focus taken mid-drag): the button-up will not come, so the
// drag ends here as if released where the pointer was last seen.
static Answer OnCaptureChanged(HWND, WPARAM, LPARAM) {
  if (HasContext() && viewerState.dragging != 0) {
    TrackballEnd(1, viewerState.pointerX, viewerState.pointerY);
  }
  return std::nullopt;
}

static Answer OnQueryNewPalette(HWND, WPARAM, LPARAM) {
  if (viewerState.palette == nullptr) {
    return std::nullopt;
  }
  RealizeViewerPalette();
  return 1;
}

// The palette changed by this window itself needs nothing.
static Answer OnPaletteChanged(HWND window, WPARAM changer, LPARAM) {
  if (viewerState.palette == nullptr || reinterpret_cast<HWND>(changer) == window) {
    return std::nullopt;
  }
  RealizeViewerPalette();
  return 0;
}

static constexpr struct {
  UINT message;
  Answer (*handler)(HWND window, WPARAM wParam, LPARAM lParam);
} kHandlers[] = {
    {WM_CREATE, OnCreate},
    {WM_DESTROY, OnDestroy},
    {WM_SIZE, OnSize},
    {WM_PAINT, OnPaint},
    {WM_CHAR, OnChar},
    {WM_MOUSEMOVE, OnMouseMove},
    {WM_LBUTTONDOWN, OnLeftButtonDown},
    {WM_LBUTTONUP, OnLeftButtonUp},
    {WM_CAPTURECHANGED, OnCaptureChanged},
    {WM_QUERYNEWPALETTE, OnQueryNewPalette},
    {WM_PALETTECHANGED, OnPaletteChanged},
};

LRESULT CALLBACK ViewerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  for (const auto& entry : kHandlers) {
    if (entry.message == message) {
      if (Answer answer = entry.handler(window, wParam, lParam)) {
        return *answer;
      }
      break;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
