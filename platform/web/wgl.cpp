// Pixel formats, GL contexts and the swap. The backend offers one format: RGBA with 8 bits per
// channel, and the depth buffer and buffering the request asks for, which the context's own
// framebuffer then really has.
#include "platform/web/layer.h"
#include "platform/web/page.h"

// The request's depth buffer and buffering; WebGL gives 16 or 24 depth bits. A shown window
// made again for a format shows again.
core::NativeWindow* web::CreateNativeWindow(const core::WindowFields& window,
                                            const PIXELFORMATDESCRIPTOR* request) {
  auto* native = new core::NativeWindow{};
  if (request != nullptr) {
    native->format.depthBits = request->cDepthBits == 0 ? 0 : (request->cDepthBits <= 16 ? 16 : 24);
    native->format.doubleBuffer = (request->dwFlags & PFD_DOUBLEBUFFER) != 0;
  }
  if (window.visible) {
    ShowCanvas(&window);
  }
  return native;
}

bool web::DescribeNativeFormat(const core::WindowFields& window,
                               PIXELFORMATDESCRIPTOR* description) {
  *description = PIXELFORMATDESCRIPTOR{};
  description->nSize = sizeof(PIXELFORMATDESCRIPTOR);
  description->nVersion = 1;
  description->dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL |
                         (window.native->format.doubleBuffer ? PFD_DOUBLEBUFFER : 0);
  description->iPixelType = PFD_TYPE_RGBA;
  description->cColorBits = 24;
  description->cRedBits = description->cGreenBits = description->cBlueBits = 8;
  description->cGreenShift = 8;
  description->cBlueShift = 16;
  description->cDepthBits = static_cast<BYTE>(window.native->format.depthBits);
  description->iLayerType = PFD_MAIN_PLANE;
  return true;
}

// An HGLRC is the GL subset's context on the page's canvas.
HGLRC web::CreateContext(const core::WindowFields& window) {
  if (window.pixelFormat == 0) {
    return nullptr;
  }
  JsSizeCanvas(window.width, window.height);
  GlFramebufferFormat format = window.native->format;
  format.width = window.width;
  format.height = window.height;
  GlContext* context = GlCreateContext("#canvas", format);
  JsWatchContext(context != nullptr ? 1 : 0);
  return reinterpret_cast<HGLRC>(context);
}

bool web::MakeContextCurrent(const core::WindowFields*, HGLRC context) {
  if (context == nullptr) {
    GlMakeCurrent(nullptr);
    return true;
  }
  return GlMakeCurrent(reinterpret_cast<GlContext*>(context));
}

void web::DeleteContext(HGLRC context) {
  GlDeleteContext(reinterpret_cast<GlContext*>(context));
}

bool web::SwapNativeBuffers(const core::WindowFields&) {
  if (GlCurrentContext() == nullptr) {
    return false;
  }
  GlPresent();
  JsWaitForAnimationFrame();
  return true;
}
