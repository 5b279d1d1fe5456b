// Test hooks of the Win32 core, in its test-only build (linked into ribbon_platform_testing). Not
// part of the Win32 surface: only tests include this header.
#pragma once

#include <string>
#include <vector>

#include "platform/win32_core/hooks.h"

void LayerInjectFault(LayerFault fault);

// Destroys every window (without sending messages), empties the queues, forgets classes, timers,
// faults, noted calls and boxes: each test starts from a fresh core and backend.
void LayerReset();

// The last box MessageBoxA showed, how many it has shown since the last reset, and how many
// windows existed when it was shown.
struct LayerMessageBox {
  HWND owner = nullptr;
  std::string text;
  std::string caption;
  UINT type = 0;
  int count = 0;
  int windowsWhenShown = 0;
};
const LayerMessageBox& LayerLastMessageBox();

// The calls noted since the last reset, each as LayerCall formats it.
const std::vector<std::string>& LayerCalls();
std::string LayerCall(const char* call, std::uintptr_t a = 0, std::uintptr_t b = 0,
                      std::uintptr_t c = 0);
// How many noted calls have this name.
int LayerCallCount(const char* call);

// Makes DescribePixelFormat report this description instead of the real window's (null restores
// the real one), so that palette-based displays can be tested on a true-colour machine.
void LayerSetDescribedFormat(const PIXELFORMATDESCRIPTOR* description);
