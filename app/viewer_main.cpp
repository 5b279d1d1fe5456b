#include <cstdio>
#include <cstring>

#include "app/viewer.h"
#include "app/viewer_state.h"
#include "model/mesh.h"
#include "render/render.h"
#include "resources/resource.h"

static const char kHintText[] = " mouse: touch the window image for movement----- ";
static const char kHintCaption[] = "soft by Valmorin - valmorin@ribbon-viewer.org ";

int WindowSideForScreen(int screenWidth, int screenHeight) {
  return static_cast<int>((screenWidth < screenHeight ? screenWidth : screenHeight) * 0.8);
}

void RequestRedraw() {
  if (viewerState.idleHandler == nullptr) {
    viewerState.idleHandler = IdleRender;
  }
}

void IdleRender() {
  if (viewerState.keepSpinning == 0) {
    viewerState.idleHandler = nullptr;
  }
  // Without a rendering context there is nothing to draw into, and nothing worth drawing again.
  // A minimised window shows nothing either: the loop sleeps until restoring it paints again.
  if (viewerState.renderContext == nullptr || IsIconic(WindowFromDC(viewerState.deviceContext))) {
    viewerState.idleHandler = nullptr;
    return;
  }
  RenderFrame(DrawMesh);
}

void ReportError(HWND owner, const char* text) {
  const std::size_t length = std::strlen(text);
  std::fprintf(stderr, "ribbon: %s%s", text, length > 0 && text[length - 1] == '\n' ? "" : "\n");
  MessageBoxA(owner, text, "Error", MB_OK | MB_ICONERROR);
}

// Start-up cannot go on without its class or its window: say so instead of waiting for messages
// that will never come.
static int FailStartup(const char* text) {
  ReportError(nullptr, text);
  return 1;
}

ATOM RegisterViewerClass(HINSTANCE instance) {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = ViewerWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_RIBBON));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = viewerState.windowClassName;
  return RegisterClassA(&windowClass);
}

HWND CreateViewerWindow(HINSTANCE instance) {
  return CreateWindowExA(0, viewerState.windowClassName, viewerState.windowTitle,
                         WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                         viewerState.windowX, viewerState.windowY, viewerState.windowWidth,
                         viewerState.windowHeight, nullptr, nullptr, instance, nullptr);
}

// Draws whenever a redraw is pending and no message waits; otherwise sleeps in GetMessageA.
int RunMessageLoop() {
  MSG msg = {};
  for (;;) {
    while (viewerState.idleHandler != nullptr) {
      if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        break;
      }
      viewerState.idleHandler();
    }
    if (GetMessageA(&msg, nullptr, 0, 0) != 1) {
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

int ViewerMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  if (RegisterViewerClass(instance) == 0) {
    return FailStartup("RegisterClassA failed");
  }
  MessageBoxA(nullptr, kHintText, kHintCaption, MB_OK);
  // The smaller screen side, so that the square also fits a portrait screen.
  viewerState.windowWidth =
      WindowSideForScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  viewerState.windowHeight = viewerState.windowWidth;
  HWND window = CreateViewerWindow(instance);
  if (window == nullptr) {
    return FailStartup("CreateWindowExA failed");
  }
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  return RunMessageLoop();
}
