// Where tests watch and steer the core. The shipping core is compiled without
// RIBBON_LAYER_HOOKS, so these are empty; the core's testing build defines them in testing.cpp.
#pragma once

#include <cstdint>

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

namespace core {
#ifdef RIBBON_LAYER_HOOKS
// True (once) when the injected fault is this one.
bool TakeFault(LayerFault fault);
// Notes a call and the arguments that tell such calls apart, in the order of the calls.
void NoteCall(const char* call, std::uintptr_t a = 0, std::uintptr_t b = 0, std::uintptr_t c = 0);
void NoteMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
// The description DescribePixelFormat reports instead of the window's, or null.
const PIXELFORMATDESCRIPTOR* DescribedFormatOverride();
#else
inline bool TakeFault(LayerFault) {
  return false;
}
inline void NoteCall(const char*, std::uintptr_t = 0, std::uintptr_t = 0, std::uintptr_t = 0) {}
inline void NoteMessageBox(HWND, LPCSTR, LPCSTR, UINT) {}
inline const PIXELFORMATDESCRIPTOR* DescribedFormatOverride() {
  return nullptr;
}
#endif
}  // namespace core
