// The one header through which the viewer reaches Win32, GDI, WGL and OpenGL 1.1.
//
// On Windows it is <windows.h> and <GL/gl.h>: the real system does the work. Everywhere else it
// declares the subset the viewer (and the platform's tests) use, with Win32's own names, types,
// constant values and signatures. platform/win32_core/ implements it, with the native work done
// by a backend: platform/sdl/ (SDL2) or platform/web/ (the browser, GL on platform/webgl/).
//
// Each function: what the core does | the SDL2 backend's native part | the browser's ("-": none).
//  RegisterClassA, GetModuleHandleA, LoadIconA, LoadCursorA: records, IDI_RIBBON | icon set | -
//  CreateWindowExA: WM_NCCREATE, WM_CREATE with CREATESTRUCTA (a refusal: WM_NCDESTROY) | - | -
//  ShowWindow, IsIconic: shown, minimised, invalid | SDL window (default format) | the canvas
//  SetWindowPos: WM_SIZE sent on a real size change | move, size, raise | the canvas placed
//  DestroyWindow: capture released, WM_DESTROY (again when called from it), WM_NCDESTROY |
//    SDL window destroyed | canvas hidden
//  GetWindowRect, GetClientRect (no frame: the window is its client area), InvalidateRect,
//    ValidateRect, UpdateWindow, BeginPaint, EndPaint, DefWindowProcA (WM_CLOSE destroys,
//    WM_PAINT validates), GetDC, ReleaseDC, WindowFromDC: the records | - | -
//  PeekMessageA, GetMessageA: posted, then input, then WM_QUIT, WM_PAINT, WM_TIMER; moves merged
//    until taken; the wait ends by the next timer the filter takes | SDL's events | the page's
//  TranslateMessage: WM_CHAR, WM_SYSCHAR with Alt, control characters, VK_PACKET's characters |
//    text from SDL_TEXTINPUT | text from the key event
//  DispatchMessageA, PostMessageA, SendMessageA (nested 64 deep at most), PostQuitMessage,
//    SetTimer, KillTimer (no callbacks): as on Windows | - | -
//  SetCapture, ReleaseCapture: routing, WM_CAPTURECHANGED sent | SDL_CaptureMouse | pointer capture
//  MessageBoxA, GetSystemMetrics: the display opened first | SDL box, desktop mode | page dialog,
//    viewport
//  ChoosePixelFormat, SetPixelFormat, GetPixelFormat, DescribePixelFormat: one format, set once,
//    argument checks | SDL window for the request (GLX visual) | WebGL depth and buffering
//  CreatePalette, SelectPalette, RealizePalette, UnrealizeObject: objects kept,
//    nothing visible | - | -
//  SwapBuffers, wglCreateContext, wglMakeCurrent, wglDeleteContext: the window found by its DC |
//    SDL's GL swap and contexts | present then wait for a frame, platform/webgl/ contexts
// Input messages: WM_MOUSEMOVE, WM_[LMR]BUTTON{DOWN,UP}, WM_KEYDOWN/UP and WM_SYSKEYDOWN/UP (lParam
// with scan code, extended, context, previous-state and transition bits), WM_CHAR, WM_SYSCHAR,
// WM_CAPTURECHANGED, WM_CLOSE, WM_SIZE. Windows have one size as the window manager sees it
// (equal minimum and maximum size); only SetWindowPos changes it.
// Not supported: child windows, menus, callbacks of timers, classes named by atom, WS_VISIBLE,
// every window at once (a null window), more than what is listed here.
#pragma once

#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <windowsx.h>
#include <GL/gl.h>

#else

#include <GL/gl.h>
#include <cstdint>

// Scalar types, sized as on 64-bit Windows.
using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using ATOM = WORD;
using LPCSTR = const char*;
using LPSTR = char*;
using LPVOID = void*;

#define WINAPI
#define CALLBACK
#ifndef APIENTRY  // <GL/gl.h> may have defined it already
#define APIENTRY
#endif

// Opaque handles, each its own type as with STRICT.
#define RIBBON_DECLARE_HANDLE(name) \
  struct name##__;                  \
  using name = name##__*
RIBBON_DECLARE_HANDLE(HWND);
RIBBON_DECLARE_HANDLE(HDC);
RIBBON_DECLARE_HANDLE(HGLRC);
RIBBON_DECLARE_HANDLE(HPALETTE);
RIBBON_DECLARE_HANDLE(HINSTANCE);
RIBBON_DECLARE_HANDLE(HICON);
RIBBON_DECLARE_HANDLE(HBRUSH);
RIBBON_DECLARE_HANDLE(HMENU);
#undef RIBBON_DECLARE_HANDLE
using HMODULE = HINSTANCE;
using HCURSOR = HICON;
using HGDIOBJ = void*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

struct POINT {
  LONG x;
  LONG y;
};

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};

struct WNDCLASSA {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
};

struct CREATESTRUCTA {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
};

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};

struct PIXELFORMATDESCRIPTOR {
  WORD nSize;
  WORD nVersion;
  DWORD dwFlags;
  BYTE iPixelType;
  BYTE cColorBits;
  BYTE cRedBits;
  BYTE cRedShift;
  BYTE cGreenBits;
  BYTE cGreenShift;
  BYTE cBlueBits;
  BYTE cBlueShift;
  BYTE cAlphaBits;
  BYTE cAlphaShift;
  BYTE cAccumBits;
  BYTE cAccumRedBits;
  BYTE cAccumGreenBits;
  BYTE cAccumBlueBits;
  BYTE cAccumAlphaBits;
  BYTE cDepthBits;
  BYTE cStencilBits;
  BYTE cAuxBuffers;
  BYTE iLayerType;
  BYTE bReserved;
  DWORD dwLayerMask;
  DWORD dwVisibleMask;
  DWORD dwDamageMask;
};
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40, "PIXELFORMATDESCRIPTOR must be 40 bytes");

struct PALETTEENTRY {
  BYTE peRed;
  BYTE peGreen;
  BYTE peBlue;
  BYTE peFlags;
};

struct LOGPALETTE {
  WORD palVersion;
  WORD palNumEntries;
  PALETTEENTRY palPalEntry[1];
};

// Messages.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_SYSCHAR = 0x0106;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_NCCREATE = 0x0081;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_CAPTURECHANGED = 0x0215;
constexpr UINT WM_QUERYNEWPALETTE = 0x030F;
constexpr UINT WM_PALETTECHANGED = 0x0311;
constexpr UINT WM_USER = 0x0400;

// Mouse key state flags carried in wParam of the pointer messages.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

// Virtual keys the layer produces by name; letters and digits use their ASCII upper-case codes.
constexpr WPARAM VK_BACK = 0x08;
constexpr WPARAM VK_TAB = 0x09;
constexpr WPARAM VK_RETURN = 0x0D;
constexpr WPARAM VK_SHIFT = 0x10;
constexpr WPARAM VK_CONTROL = 0x11;
constexpr WPARAM VK_MENU = 0x12;
constexpr WPARAM VK_ESCAPE = 0x1B;
constexpr WPARAM VK_SPACE = 0x20;
constexpr WPARAM VK_LEFT = 0x25;
constexpr WPARAM VK_UP = 0x26;
constexpr WPARAM VK_RIGHT = 0x27;
constexpr WPARAM VK_DOWN = 0x28;
constexpr WPARAM VK_PACKET = 0xE7;  // a character typed without a key of its own

// Window class styles, window styles, show commands.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_OWNDC = 0x0020;
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);
constexpr int SW_SHOW = 5;
constexpr int SW_SHOWDEFAULT = 10;

// SetWindowPos.
#define HWND_TOP (static_cast<HWND>(nullptr))
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;

// PeekMessageA.
constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

// MessageBoxA.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_ICONERROR = 0x00000010;
constexpr int IDOK = 1;

// GetSystemMetrics.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;

// Resource identifiers are small integers passed where a name is expected.
#define MAKEINTRESOURCEA(i) \
  (reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(static_cast<WORD>(i))))
#define IDC_ARROW MAKEINTRESOURCEA(32512)

// Pixel formats.
constexpr DWORD PFD_DOUBLEBUFFER = 0x00000001;
constexpr DWORD PFD_DRAW_TO_WINDOW = 0x00000004;
constexpr DWORD PFD_SUPPORT_OPENGL = 0x00000020;
constexpr DWORD PFD_NEED_PALETTE = 0x00000080;
constexpr BYTE PFD_TYPE_RGBA = 0;
constexpr BYTE PFD_TYPE_COLORINDEX = 1;
constexpr BYTE PFD_MAIN_PLANE = 0;

// Parameter packing, as windowsx.h and minwindef.h define it.
#define LOWORD(l) (static_cast<WORD>(static_cast<std::uintptr_t>(l) & 0xffff))
#define HIWORD(l) (static_cast<WORD>((static_cast<std::uintptr_t>(l) >> 16) & 0xffff))
#define MAKELPARAM(lo, hi)                                        \
  (static_cast<LPARAM>(static_cast<DWORD>(static_cast<WORD>(lo) | \
                                          (static_cast<DWORD>(static_cast<WORD>(hi)) << 16))))
#define GET_X_LPARAM(lp) (static_cast<int>(static_cast<short>(LOWORD(lp))))
#define GET_Y_LPARAM(lp) (static_cast<int>(static_cast<short>(HIWORD(lp))))

// USER32.
HMODULE GetModuleHandleA(LPCSTR moduleName);
ATOM RegisterClassA(const WNDCLASSA* windowClass);
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
int GetSystemMetrics(int index);
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param);
BOOL ShowWindow(HWND window, int showCommand);
BOOL UpdateWindow(HWND window);
BOOL IsIconic(HWND window);
BOOL DestroyWindow(HWND window);
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND window, const RECT* rect);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL GetMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC timerFunc);
BOOL KillTimer(HWND window, UINT_PTR id);
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC deviceContext);
HWND WindowFromDC(HDC deviceContext);
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
HWND SetCapture(HWND window);
BOOL ReleaseCapture();

// GDI32.
int ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request);
BOOL SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR* request);
int GetPixelFormat(HDC deviceContext);
int DescribePixelFormat(HDC deviceContext, int format, UINT bytes,
                        PIXELFORMATDESCRIPTOR* description);
BOOL SwapBuffers(HDC deviceContext);
HPALETTE CreatePalette(const LOGPALETTE* logicalPalette);
HPALETTE SelectPalette(HDC deviceContext, HPALETTE palette, BOOL forceBackground);
UINT RealizePalette(HDC deviceContext);
BOOL UnrealizeObject(HGDIOBJ object);

// WGL.
HGLRC wglCreateContext(HDC deviceContext);
BOOL wglMakeCurrent(HDC deviceContext, HGLRC renderContext);
BOOL wglDeleteContext(HGLRC renderContext);

#endif  // _WIN32
