// Contexts of the OpenGL 1.1 subset (include/GL/gl.h). A context draws into a framebuffer of its
// own, with the depth buffer the pixel format asked for, and presents it on a canvas.
#pragma once

struct GlContext;

struct GlFramebufferFormat {
  int width = 0;
  int height = 0;
  int depthBits = 16;  // 0 (none), 16 or 24
  bool doubleBuffer = true;
};

// A WebGL 2 context on the canvas named by the CSS selector; null when the browser gives none.
GlContext* GlCreateContext(const char* canvasSelector, const GlFramebufferFormat& format);
// Makes the context current (null: none). GL calls without a current context do nothing.
bool GlMakeCurrent(GlContext* context);
void GlDeleteContext(GlContext* context);
GlContext* GlCurrentContext();
// Shows the current context's frame on its canvas.
void GlPresent();
