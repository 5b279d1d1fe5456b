// Pixel formats, WGL and SwapBuffers. The layer offers one format, index 1: RGBA with 8 bits per
// channel, and the depth buffer and buffering the request asks for, which the context's own
// framebuffer then really has.
#include <emscripten.h>

#include "platform/web/layer.h"

constexpr int kFormatCount = 1;

int ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request) {
  if (LookUpWindowOfDC(deviceContext) == nullptr || request == nullptr ||
      (request->dwFlags & (PFD_SUPPORT_OPENGL | PFD_DRAW_TO_WINDOW)) !=
          (PFD_SUPPORT_OPENGL | PFD_DRAW_TO_WINDOW)) {
    return 0;
  }
  return 1;
}

BOOL SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR* request) {
  LayerWindow* window = LookUpWindowOfDC(deviceContext);
  if (window == nullptr || request == nullptr || format < 1 || format > kFormatCount) {
    return FALSE;
  }
  // As on Windows, a window's format is set once for its life.
  if (window->pixelFormat != 0) {
    return window->pixelFormat == format ? TRUE : FALSE;
  }
  window->pixelFormat = format;
  window->format.depthBits = request->cDepthBits == 0 ? 0 : (request->cDepthBits <= 16 ? 16 : 24);
  window->format.doubleBuffer = (request->dwFlags & PFD_DOUBLEBUFFER) != 0;
  return TRUE;
}

int DescribePixelFormat(HDC deviceContext, int format, UINT bytes,
                        PIXELFORMATDESCRIPTOR* description) {
  LayerWindow* window = LookUpWindowOfDC(deviceContext);
  if (window == nullptr) {
    return 0;
  }
  if (description == nullptr) {
    return kFormatCount;
  }
  if (bytes < sizeof(PIXELFORMATDESCRIPTOR) || format < 1 || format > kFormatCount) {
    return 0;
  }
  *description = PIXELFORMATDESCRIPTOR{};
  description->nSize = sizeof(PIXELFORMATDESCRIPTOR);
  description->nVersion = 1;
  description->dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL |
                         (window->format.doubleBuffer ? PFD_DOUBLEBUFFER : 0);
  description->iPixelType = PFD_TYPE_RGBA;
  description->cColorBits = 24;
  description->cRedBits = description->cGreenBits = description->cBlueBits = 8;
  description->cGreenShift = 8;
  description->cBlueShift = 16;
  description->cDepthBits = static_cast<BYTE>(window->format.depthBits);
  description->iLayerType = PFD_MAIN_PLANE;
  return kFormatCount;
}

// The canvas's drawing buffer takes the window's size before the context is made on it.
// clang-format off
EM_JS(void, SizeCanvas, (int width, int height), {
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
EM_JS(void, WatchContext, (int made), {
  if (typeof document === 'undefined') return;
  if (!made) {
    document.getElementById('notice').textContent =
        'This browser offers no WebGL 2, so ribbon cannot draw here.';
  } else if (!Module.ribbonWatchesContext) {
    Module.ribbonWatchesContext = true;
    document.getElementById('canvas').addEventListener('webglcontextrestored',
                                                       () => _RibbonPageShown());
  }
});
// clang-format on

// An HGLRC is the GL subset's context on the page's canvas.
HGLRC wglCreateContext(HDC deviceContext) {
  LayerWindow* window = LookUpWindowOfDC(deviceContext);
  if (window == nullptr || window->pixelFormat == 0) {
    return nullptr;
  }
  SizeCanvas(window->width, window->height);
  GlFramebufferFormat format = window->format;
  format.width = window->width;
  format.height = window->height;
  GlContext* context = GlCreateContext("#canvas", format);
  WatchContext(context != nullptr ? 1 : 0);
  return reinterpret_cast<HGLRC>(context);
}

BOOL wglMakeCurrent(HDC deviceContext, HGLRC renderContext) {
  if (renderContext == nullptr) {
    GlMakeCurrent(nullptr);
    return TRUE;
  }
  if (LookUpWindowOfDC(deviceContext) == nullptr) {
    return FALSE;
  }
  return GlMakeCurrent(reinterpret_cast<GlContext*>(renderContext)) ? TRUE : FALSE;
}

BOOL wglDeleteContext(HGLRC renderContext) {
  if (renderContext == nullptr) {
    return FALSE;
  }
  GlDeleteContext(reinterpret_cast<GlContext*>(renderContext));
  return TRUE;
}

// The browser shows a frame when control returns to it; waiting for its next animation frame
// paces a spinning model at the display's rate and lets input in between frames.
// clang-format off
EM_ASYNC_JS(void, WaitForAnimationFrame, (), {
  await new Promise(resolve => {
    if (typeof requestAnimationFrame === 'function') requestAnimationFrame(() => resolve());
    else setTimeout(resolve, 16);
  });
});
// clang-format on

BOOL SwapBuffers(HDC deviceContext) {
  LayerWindow* window = LookUpWindowOfDC(deviceContext);
  if (window == nullptr || GlCurrentContext() == nullptr) {
    return FALSE;
  }
  GlPresent();
  WaitForAnimationFrame();
  return TRUE;
}
