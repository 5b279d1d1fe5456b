#include "bench/viewer_window.h"

#include "app/viewer.h"
#include "app/viewer_state.h"

HWND OpenViewerWindow(int side) {
  viewerState = ViewerState{};
  viewerState.windowWidth = side;
  viewerState.windowHeight = side;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass = {};
  windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = ViewerWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = viewerState.windowClassName;
  // Fails harmlessly when an earlier window already registered the class.
  RegisterClassA(&windowClass);
  HWND window =
      CreateWindowExA(0, viewerState.windowClassName, viewerState.windowTitle,
                      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, viewerState.windowX,
                      viewerState.windowY, side, side, nullptr, nullptr, instance, nullptr);
  if (window != nullptr && viewerState.renderContext == nullptr) {
    CloseViewerWindow(window);
    return nullptr;
  }
  return window;
}

void CloseViewerWindow(HWND window) {
  DestroyWindow(window);
}
