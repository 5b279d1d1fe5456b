// The viewer's own window, registered and created by the app's functions through the test build
// of the layer, with a real offscreen GL context; and the layer's record of the calls made.
#pragma once

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "app/viewer.h"
#include "app/viewer_state.h"
#include "platform/win32_core/testing.h"

class ViewerTest : public testing::Test {
 protected:
  void SetUp() override {
    LayerReset();
    viewerState = ViewerState{};
    viewerState.windowWidth = viewerState.windowHeight = 400;
  }
  void TearDown() override {
    LayerReset();
    viewerState = ViewerState{};
  }
  static HWND Open() {
    RegisterViewerClass(GetModuleHandleA(nullptr));
    return CreateViewerWindow(GetModuleHandleA(nullptr));
  }
  // The index of the first noted call from `from` on that matches pattern; a test fails without.
  static int FindCall(const std::string& pattern, int from = 0) {
    const auto& calls = LayerCalls();
    for (int i = from; i < static_cast<int>(calls.size()); ++i) {
      if (std::regex_match(calls[i], std::regex(pattern))) {
        return i;
      }
    }
    ADD_FAILURE() << "no call matches " << pattern;
    return -1;
  }
  static int Swaps() { return LayerCallCount("SwapBuffers"); }
};
