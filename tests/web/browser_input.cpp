// The browser backend's key events as the page delivers them, through to the messages
// the viewer sees, under Node (the events are filled as the browser fills them).
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include "platform/web/layer.h"

namespace {

using Seen = std::tuple<UINT, WPARAM>;

// Whether the backend takes the key from the browser.
bool Taken(int type, const char* key, unsigned long keyCode, bool alt, bool control) {
  EmscriptenKeyboardEvent event = {};
  std::strcpy(event.key, key);
  event.keyCode = keyCode;
  event.altKey = alt;
  event.ctrlKey = control;
  return web::ReportKey(type, event);
}

// Taken and translated as the viewer's loop does.
std::vector<Seen> Take() {
  std::vector<Seen> seen;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_MBUTTONUP, PM_REMOVE)) {
    seen.emplace_back(msg.message, msg.wParam);
    TranslateMessage(&msg);
  }
  return seen;
}

// Alt+f is a system key, so the viewer's fog key (f) stays untouched; Ctrl+f types its control
// character and stays the browser's shortcut; Esc and typing belong to the viewer.
TEST(BrowserInput, KeysReachTheViewerAsOnWindows) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.lpszClassName = "BrowserInput";
  RegisterClassA(&windowClass);
  HWND window =
      CreateWindowExA(0, "BrowserInput", "", 0, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  ShowWindow(window, SW_SHOW);
  constexpr int kDown = EMSCRIPTEN_EVENT_KEYDOWN;
  EXPECT_FALSE(Taken(kDown, "f", 'F', true, false));
  EXPECT_FALSE(Taken(EMSCRIPTEN_EVENT_KEYUP, "f", 'F', true, false));
  EXPECT_FALSE(Taken(kDown, "f", 'F', false, true));
  EXPECT_TRUE(Taken(kDown, "Escape", VK_ESCAPE, false, false));
  EXPECT_TRUE(Taken(kDown, "P", 'P', false, false));
  EXPECT_EQ(Take(), (std::vector<Seen>{{WM_SYSKEYDOWN, 'F'},
                                       {WM_SYSCHAR, 'f'},
                                       {WM_SYSKEYUP, 'F'},
                                       {WM_KEYDOWN, 'F'},
                                       {WM_CHAR, 6},
                                       {WM_KEYDOWN, VK_ESCAPE},
                                       {WM_CHAR, 27},
                                       {WM_KEYDOWN, 'P'},
                                       {WM_CHAR, 'P'}}));
  DestroyWindow(window);
}

}  // namespace
