// The page's JavaScript functions (page.js, an Emscripten --js-library), by their C names, and
// the values both sides read the page's pointer reports with.
#pragma once

namespace web {
// What a pointer report is, and which modifiers were held (bits of one int).
enum PagePointer : int { kPagePointerDown = 0, kPagePointerUp = 1, kPagePointerMove = 2 };
enum PageKeyBit : int { kPageShift = 1, kPageControl = 2, kPageAlt = 4 };
}  // namespace web

extern "C" {
void JsPlaceCanvas(int shown, int x, int y, int width, int height, const char* title);
int JsViewportSize(int height);
void JsCapturePointer(int capture);
void JsWake();
void JsWait(int timeout);
void JsShowMessageBox(const char* text, const char* caption, int error);
// Watches the page's input, reporting pointers with these kinds and bits; 0 outside a browser.
int JsWatchPage(int down, int up, int move, int shiftBit, int controlBit, int altBit);
void JsSizeCanvas(int width, int height);
void JsWatchContext(int made);
void JsWaitForAnimationFrame();
void JsEndProgram(int code);
}
