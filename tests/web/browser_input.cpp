// The browser backend's key and pointer events as the page delivers them, through to the messages
// the viewer sees, under Node (the events are filled as the browser fills them).
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include "platform/web/layer.h"

namespace {

using Seen = std::tuple<UINT, WPARAM, LPARAM>;

// Whether the backend takes the key from the browser.
bool Taken(int type, const char* key, unsigned long keyCode, bool alt, bool control,
           unsigned long location = DOM_KEY_LOCATION_STANDARD, bool meta = false) {
  EmscriptenKeyboardEvent event = {};
  std::strcpy(event.key, key);
  event.keyCode = keyCode;
  event.altKey = alt;
  event.ctrlKey = control;
  event.metaKey = meta;
  event.location = location;
  return web::ReportKey(type, event);
}

// Taken and translated as the viewer's loop does.
std::vector<Seen> Take() {
  std::vector<Seen> seen;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_MBUTTONUP, PM_REMOVE)) {
    seen.emplace_back(msg.message, msg.wParam, msg.lParam);
    TranslateMessage(&msg);
  }
  return seen;
}

// Alt+f is a system key, so the viewer's fog key (f) stays untouched; Ctrl+f (Cmd+f on a Mac)
// types its control character and stays the browser's shortcut; Esc and typing belong to the
// viewer. AltGr (Ctrl with Alt, as Windows' browsers report it) types; the arrows stay the
// browser's. DOM buttons 0, 1 and 2 are the left, middle and right (others none); Shift and Ctrl,
// and the buttons held, come as MK_ flags; a move along one axis is a move.
TEST(BrowserInput, KeysAndPointerReachTheViewerAsOnWindows) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.lpszClassName = "BrowserInput";
  RegisterClassA(&windowClass);
  HWND window =
      CreateWindowExA(0, "BrowserInput", "", 0, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  ShowWindow(window, SW_SHOW);
  constexpr int kDown = EMSCRIPTEN_EVENT_KEYDOWN;
  Taken(EMSCRIPTEN_EVENT_KEYUP, "f", 'F', false, false), Take();  // up, whatever ran before
  EXPECT_FALSE(Taken(kDown, "f", 'F', true, false));
  EXPECT_FALSE(Taken(EMSCRIPTEN_EVENT_KEYUP, "f", 'F', true, false));
  EXPECT_FALSE(Taken(kDown, "f", 'F', false, true));
  EXPECT_FALSE(Taken(kDown, "f", 'F', false, false, DOM_KEY_LOCATION_STANDARD, true));
  EXPECT_TRUE(Taken(kDown, "Escape", VK_ESCAPE, false, false));
  EXPECT_TRUE(Taken(kDown, "P", 'P', false, false));
  Taken(kDown, "@", 'Q', true, true);
  EXPECT_FALSE(Taken(kDown, "ArrowDown", VK_DOWN, false, false));
  EXPECT_EQ(Take(), (std::vector<Seen>{{WM_SYSKEYDOWN, 'F', 0x20210001},
                                       {WM_SYSCHAR, 'f', 0x20210001},
                                       {WM_SYSKEYUP, 'F', static_cast<LPARAM>(0xE0210001u)},
                                       {WM_KEYDOWN, 'F', 0x00210001},
                                       {WM_CHAR, 6, 0x00210001},
                                       {WM_KEYDOWN, 'F', 0x40210001},
                                       {WM_CHAR, 6, 0x40210001},
                                       {WM_KEYDOWN, VK_ESCAPE, 0x00010001},
                                       {WM_CHAR, 27, 0x00010001},
                                       {WM_KEYDOWN, 'P', 0x00190001},
                                       {WM_CHAR, 'P', 0x00190001},
                                       {WM_KEYDOWN, 'Q', 0x00100001},
                                       {WM_CHAR, '@', 0x00100001},
                                       {WM_KEYDOWN, VK_DOWN, 0x01500001}}));
  web::ReportPointer(0, POINT{5, 7}, 1, 1);
  web::ReportPointer(0, POINT{5, 7}, 2, 2);
  web::ReportPointer(2, POINT{9, 7}, -1, 0);
  web::ReportPointer(0, POINT{9, 7}, 3, 0);
  web::ReportPointer(1, POINT{9, 7}, 1, 3);
  web::ReportPointer(2, POINT{9, 20}, -1, 0);
  web::ReportPointer(1, POINT{9, 20}, 2, 4);
  EXPECT_EQ(Take(), (std::vector<Seen>{
                        {WM_MBUTTONDOWN, MK_MBUTTON | MK_SHIFT, MAKELPARAM(5, 7)},
                        {WM_RBUTTONDOWN, MK_MBUTTON | MK_RBUTTON | MK_CONTROL, MAKELPARAM(5, 7)},
                        {WM_MOUSEMOVE, MK_MBUTTON | MK_RBUTTON, MAKELPARAM(9, 7)},
                        {WM_MBUTTONUP, MK_RBUTTON | MK_SHIFT | MK_CONTROL, MAKELPARAM(9, 7)},
                        {WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(9, 20)},
                        {WM_RBUTTONUP, 0, MAKELPARAM(9, 20)}}));
  DestroyWindow(window);
}

}  // namespace
