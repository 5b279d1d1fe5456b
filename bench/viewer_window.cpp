#include "bench/viewer_window.h"

#include "app/viewer.h"
#include "app/viewer_state.h"

HWND OpenViewerWindow(int side) {
  viewerState = ViewerState{};
  viewerState.windowWidth = side;
  viewerState.windowHeight = side;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  // Fails harmlessly when an earlier window already registered the class.
  RegisterViewerClass(instance);
  HWND window = CreateViewerWindow(instance);
  if (window != nullptr && viewerState.renderContext == nullptr) {
    CloseViewerWindow(window);
    return nullptr;
  }
  return window;
}

void CloseViewerWindow(HWND window) {
  DestroyWindow(window);
}
