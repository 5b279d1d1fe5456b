// A real OpenGL context on a hidden window, made through the platform layer as the viewer makes
// its own, and the read-back of the frames drawn into it.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "app/viewer_state.h"
#include "display/display.h"
#include "platform/win32.h"

namespace render_gl_test {

constexpr int kWindowSide = 614;

// One pixel as glReadPixels gives it in GL_RGB.
struct Rgb {
  GLubyte r, g, b;
};

// A state value read as floats, so that vectors and matrices compare (and print) whole.
inline std::vector<GLfloat> Get(GLenum name, int count) {
  std::vector<GLfloat> values(count);
  glGetFloatv(name, values.data());
  return values;
}

const std::vector<GLfloat> kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

class GlContextTest : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "RenderGlTest";
    RegisterClassA(&windowClass);  // fails, harmlessly, after the first test
    window_ = CreateWindowExA(0, "RenderGlTest", "render test", WS_OVERLAPPEDWINDOW, 0, 0,
                              kWindowSide, kWindowSide, nullptr, nullptr, nullptr, nullptr);
    deviceContext_ = GetDC(window_);
    viewerState = ViewerState{};
    const PIXELFORMATDESCRIPTOR request =
        PixelFormatRequest(viewerState.doubleBuffer, viewerState.depthBuffer);
    const int format = ChoosePixelFormat(deviceContext_, &request);
    ASSERT_TRUE(SetPixelFormat(deviceContext_, format, &request));
    renderContext_ = wglCreateContext(deviceContext_);
    ASSERT_TRUE(wglMakeCurrent(deviceContext_, renderContext_));
    viewerState.windowWidth = viewerState.windowHeight = kWindowSide;
    viewerState.deviceContext = deviceContext_;
  }

  void TearDown() override {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(renderContext_);
    ReleaseDC(window_, deviceContext_);
    DestroyWindow(window_);
  }

  // The frame as last drawn (the front buffer after the swap), bottom row first.
  std::vector<Rgb> ReadFrame() {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    width_ = viewport[2];
    std::vector<Rgb> pixels(viewport[2] * viewport[3]);
    glReadBuffer(GL_FRONT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, viewport[2], viewport[3], GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }

  HWND window_ = nullptr;
  HDC deviceContext_ = nullptr;
  HGLRC renderContext_ = nullptr;
  int width_ = 0;
};

}  // namespace render_gl_test
