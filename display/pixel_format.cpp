#include <cstdlib>

#include "app/viewer.h"
#include "app/viewer_state.h"
#include "display/display.h"

PIXELFORMATDESCRIPTOR PixelFormatRequest(BOOL doubleBuffer, BOOL depthBuffer) {
  PIXELFORMATDESCRIPTOR request = {};
  request.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  request.nVersion = 1;
  request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
  if (doubleBuffer != 0) {
    request.dwFlags |= PFD_DOUBLEBUFFER;
  }
  request.iPixelType = PFD_TYPE_RGBA;
  // 8 colour bits whatever the display's depth: the format the platform picks is what counts.
  request.cColorBits = 8;
  request.cDepthBits = depthBuffer != 0 ? 16 : 0;
  request.iLayerType = PFD_MAIN_PLANE;
  return request;
}

// Without a pixel format the window can show nothing: tell the user and end the process.
[[noreturn]] static void FailPixelFormat(HDC deviceContext, const char* text) {
  ReportError(WindowFromDC(deviceContext), text);
  std::exit(1);
}

void SetupPixelFormat(HDC deviceContext) {
  const PIXELFORMATDESCRIPTOR request =
      PixelFormatRequest(viewerState.doubleBuffer, viewerState.depthBuffer);
  const int format = ChoosePixelFormat(deviceContext, &request);
  if (format == 0) {
    FailPixelFormat(deviceContext, "ChoosePixelFormat failed\n");
  }
  if (SetPixelFormat(deviceContext, format, &request) != TRUE) {
    FailPixelFormat(deviceContext, "SetPixelFormat failed");
  }
}
