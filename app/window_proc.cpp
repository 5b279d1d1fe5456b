#include <cstdio>

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

static void OnCreate(HWND window) {
  SetTimer(window, kTimerId, kTimerPeriodMs, nullptr);
  viewerState.deviceContext = GetDC(window);
  SetupPixelFormat(viewerState.deviceContext);
  SetupPalette(viewerState.deviceContext);
  viewerState.renderContext = wglCreateContext(viewerState.deviceContext);
  if (viewerState.renderContext == nullptr) {
    std::fputs("ribbon: no OpenGL rendering context; the window stays empty\n", stderr);
    return;
  }
  wglMakeCurrent(viewerState.deviceContext, viewerState.renderContext);
  InitScene();
}

static void OnDestroy(HWND window) {
  if (viewerState.renderContext != nullptr) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(viewerState.renderContext);
    // The handle is dead now; a message that still arrives must not find it.
    viewerState.renderContext = nullptr;
  }
  viewerState.idleHandler = nullptr;
  ReleaseDC(window, viewerState.deviceContext);
  PostQuitMessage(0);
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

static void NotePointer(int x, int y) {
  viewerState.pointerX = x;
  viewerState.pointerY = y;
}

// Another window took the capture (focus taken mid-drag): the button-up will not come, so the
// drag ends here as if released where the pointer was last seen.
static void OnCaptureLost() {
  if (viewerState.renderContext != nullptr && viewerState.dragging != 0) {
    TrackballEnd(1, viewerState.pointerX, viewerState.pointerY);
  }
}

LRESULT CALLBACK ViewerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool context = viewerState.renderContext != nullptr;
  // Pointer positions are signed: while captured, the pointer may be left of or above the window.
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  switch (message) {
    case WM_CREATE:
      OnCreate(window);
      return 0;
    case WM_DESTROY:
      OnDestroy(window);
      return 0;
    case WM_SIZE:
      if (!context) {
        break;
      }
      // The projection and viewport are set once for the start-up size: give that size back.
      SetWindowPos(window, HWND_TOP, 80, 80, viewerState.windowWidth, viewerState.windowHeight,
                   SWP_NOMOVE);
      return 0;
    case WM_PAINT:
      if (!context) {
        break;
      }
      {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        RequestRedraw();
        EndPaint(window, &paint);
      }
      return 0;
    case WM_CHAR:
      if (RunKeyCommand(window, wParam)) {
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      if (context) {
        NotePointer(x, y);
        TrackballMove(x, y);
      }
      break;
    case WM_LBUTTONDOWN:
      if (!context) {
        break;
      }
      NotePointer(x, y);
      SetCapture(window);
      TrackballBegin(1, x, y);
      return 0;
    case WM_LBUTTONUP:
      if (!context) {
        break;
      }
      // Releasing the capture sends WM_CAPTURECHANGED, which ends the drag here already.
      NotePointer(x, y);
      ReleaseCapture();
      TrackballEnd(1, x, y);
      return 0;
    case WM_CAPTURECHANGED:
      OnCaptureLost();
      break;
    case WM_QUERYNEWPALETTE:
      if (viewerState.palette == nullptr) {
        break;
      }
      RealizeViewerPalette();
      return 1;
    case WM_PALETTECHANGED:
      if (viewerState.palette == nullptr || reinterpret_cast<HWND>(wParam) == window) {
        break;
      }
      RealizeViewerPalette();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
