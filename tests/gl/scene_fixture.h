// A real OpenGL context on a hidden window, made through the platform layer as the viewer makes
// its own, and read-back helpers for the frames drawn into it.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "app/viewer_state.h"
#include "platform/win32.h"

namespace render_gl_test {

constexpr int kWindowSide = 614;

inline LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

struct Rgb {
  int r;
  int g;
  int b;
};

class GlContextTest : public testing::Test {
 protected:
  void SetUp() override {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = PlainWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "RenderGlTest";
    // Registered by the first test; later registrations fail and are not needed.
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, "RenderGlTest", "render test",
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                              kWindowSide, kWindowSide, nullptr, nullptr, instance, nullptr);
    ASSERT_NE(window_, nullptr);
    deviceContext_ = GetDC(window_);
    PIXELFORMATDESCRIPTOR request = {};
    request.nSize = sizeof request;
    request.nVersion = 1;
    request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cColorBits = 24;
    request.cDepthBits = 16;
    int format = ChoosePixelFormat(deviceContext_, &request);
    ASSERT_NE(format, 0);
    ASSERT_TRUE(SetPixelFormat(deviceContext_, format, &request));
    renderContext_ = wglCreateContext(deviceContext_);
    ASSERT_NE(renderContext_, nullptr);
    ASSERT_TRUE(wglMakeCurrent(deviceContext_, renderContext_));

    viewerState = ViewerState{};
    viewerState.windowWidth = kWindowSide;
    viewerState.windowHeight = kWindowSide;
    viewerState.deviceContext = deviceContext_;
  }

  void TearDown() override {
    wglMakeCurrent(nullptr, nullptr);
    if (renderContext_ != nullptr) {
      wglDeleteContext(renderContext_);
    }
    if (window_ != nullptr) {
      ReleaseDC(window_, deviceContext_);
      DestroyWindow(window_);
    }
  }

  // The frame as last drawn, bottom row first, three bytes a pixel. The front buffer holds it
  // after the swap, and is the only buffer when the surface is single-buffered.
  std::vector<GLubyte> ReadFrame() {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    width_ = viewport[2];
    height_ = viewport[3];
    std::vector<GLubyte> pixels(3 * width_ * height_);
    glReadBuffer(GL_FRONT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }

  static Rgb PixelAt(const std::vector<GLubyte>& pixels, int width, int x, int y) {
    const GLubyte* p = &pixels[3 * (width * y + x)];
    return {p[0], p[1], p[2]};
  }

  HWND window_ = nullptr;
  HDC deviceContext_ = nullptr;
  HGLRC renderContext_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace render_gl_test
