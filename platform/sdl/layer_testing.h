// Test hooks of the SDL2 layer. Not part of the Win32 surface: only tests include this header.
#pragma once

#include <string>

#include "platform/win32.h"

// A platform call that the next matching call makes fail, as the real system may.
enum class LayerFault {
  kNone,
  kRegisterClass,      // RegisterClassA returns 0
  kCreateWindow,       // CreateWindowExA returns null without sending WM_CREATE
  kChoosePixelFormat,  // ChoosePixelFormat returns 0
  kSetPixelFormat,     // SetPixelFormat returns FALSE
  kCreateContext,      // wglCreateContext returns null
  kCreatePalette,      // CreatePalette returns null
};
void LayerInjectFault(LayerFault fault);

// Destroys every window (without sending messages), empties the queue, forgets classes, timers,
// faults and recorded boxes: each test starts from a fresh layer.
void LayerReset();

// The last box MessageBoxA showed, and how many it has shown since the last reset.
struct LayerMessageBox {
  HWND owner = nullptr;
  std::string text;
  std::string caption;
  UINT type = 0;
  int count = 0;
};
const LayerMessageBox& LayerLastMessageBox();

// Makes DescribePixelFormat report this description instead of the real window's (null restores
// the real one), so that palette-based displays can be tested on a true-colour machine.
void LayerSetDescribedFormat(const PIXELFORMATDESCRIPTOR* description);

// Calls of SwapBuffers since the last reset.
int LayerSwapCount();
