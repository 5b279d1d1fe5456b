// Pixel formats, GL contexts and the swap. The backend offers one format: RGBA with 8 bits per
// channel, and the depth buffer and buffering the request asks for, which the context's own
// framebuffer then really has.
#include <emscripten.h>

#include "platform/web/layer.h"

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

// The canvas's drawing buffer takes the window's size before the context is made on it.
// clang-format off
EM_JS(void, JsSizeCanvas, (int width, int height), {
  if (typeof document === 'undefined') return;
  const canvas = document.getElementById('canvas');
  canvas.width = width;
  canvas.height = height;
});
// clang-format on

// Without a context the page says why it stays empty, where a visitor reads it. With one, a
// restored context (the GL subset has made its objects again, in its own listener registered
// before this one) is an exposure: the window paints its picture again.
// clang-format off
EM_JS(void, JsWatchContext, (int made), {
  if (typeof document === 'undefined') return;
  if (!made) {
    document.getElementById('notice').textContent =
        'This browser offers no WebGL 2, so ribbon cannot draw here.';
  } else if (!Module.ribbonWatchesContext) {
    Module.ribbonWatchesContext = true;
    document.getElementById('canvas').addEventListener('webglcontextrestored',
                                                       () => _RibbonPageShown(1));
  }
});
// clang-format on

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

// The browser shows a frame when control returns to it; waiting for its next animation frame
// paces a spinning model at the display's rate and lets input in between frames.
// clang-format off
EM_ASYNC_JS(void, JsWaitForAnimationFrame, (), {
  await new Promise(resolve => {
    if (typeof requestAnimationFrame === 'function') requestAnimationFrame(() => resolve());
    else setTimeout(resolve, 16);
  });
});
// clang-format on

bool web::SwapNativeBuffers(const core::WindowFields&) {
  if (GlCurrentContext() == nullptr) {
    return false;
  }
  GlPresent();
  JsWaitForAnimationFrame();
  return true;
}
