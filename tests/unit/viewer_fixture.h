// A viewer window made through the SDL2 layer, with a real offscreen GL context.
#pragma once

#include <gtest/gtest.h>

#include "app/viewer.h"
#include "app/viewer_state.h"
#include "platform/sdl/layer_testing.h"

constexpr int kTestWindowSide = 400;

// Registers a class for procedure and creates the viewer window with it (WM_CREATE runs inside).
inline HWND CreateViewerWindow(WNDPROC procedure = ViewerWindowProc) {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.lpszClassName = viewerState.windowClassName;
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, viewerState.windowClassName, viewerState.windowTitle,
                         WS_OVERLAPPEDWINDOW, 50, 50, viewerState.windowWidth,
                         viewerState.windowHeight, nullptr, nullptr, nullptr, nullptr);
}

class ViewerWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    LayerReset();
    viewerState = ViewerState{};
    viewerState.windowWidth = kTestWindowSide;
    viewerState.windowHeight = kTestWindowSide;
  }
  void TearDown() override {
    LayerReset();
    viewerState = ViewerState{};
  }
};
