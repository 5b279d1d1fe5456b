// Choosing the X visual for a pixel-format request. SDL hands the request's sizes to GLX as
// minimums, and GLX prefers the deepest depth buffer it has, so a 16-bit request comes back with
// 24 or 32 bits. Windows returns an exact match when there is one; so does this: among the
// window-capable true-colour configs it takes the one whose depth equals the request, and only
// when none has it the nearest deeper one.
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <climits>

#include "platform/sdl/layer.h"

namespace sdl {
namespace {

struct GlxConfigReader {
  Display* display;
  GLXFBConfig config;
  int operator()(int attribute) const {
    int value = 0;
    glXGetFBConfigAttrib(display, config, attribute, &value);
    return value;
  }
  // The depth of the X visual behind the config: 32 for visuals with an alpha channel.
  int visualDepth() const {
    XVisualInfo* info = glXGetVisualFromFBConfig(display, config);
    if (info == nullptr) {
      return 0;
    }
    const int depth = info->depth;
    XFree(info);
    return depth;
  }
};

bool Usable(const GlxConfigReader& read, const PIXELFORMATDESCRIPTOR& request) {
  const bool doubleBuffer = (request.dwFlags & PFD_DOUBLEBUFFER) != 0;
  return read(GLX_VISUAL_ID) != 0 && read(GLX_X_RENDERABLE) != 0 &&
         (read(GLX_DRAWABLE_TYPE) & GLX_WINDOW_BIT) != 0 &&
         (read(GLX_RENDER_TYPE) & GLX_RGBA_BIT) != 0 && read(GLX_X_VISUAL_TYPE) == GLX_TRUE_COLOR &&
         (read(GLX_DOUBLEBUFFER) != 0) == doubleBuffer && read(GLX_STEREO) == 0 &&
         read(GLX_SAMPLE_BUFFERS) == 0 && read(GLX_RED_SIZE) >= 8 && read(GLX_GREEN_SIZE) >= 8 &&
         read(GLX_BLUE_SIZE) >= 8 && read(GLX_ALPHA_SIZE) >= request.cAlphaBits &&
         read(GLX_DEPTH_SIZE) >= request.cDepthBits &&
         read(GLX_STENCIL_SIZE) >= request.cStencilBits;
}

// Lower is better: the depth buffer's excess first, then every other buffer's excess, then a
// visual of another depth than the screen's (it needs a colormap of its own), then a caveat.
long long Cost(const GlxConfigReader& read, const PIXELFORMATDESCRIPTOR& request, int screenDepth) {
  const int depthExcess = read(GLX_DEPTH_SIZE) - request.cDepthBits;
  const int otherExcess = read(GLX_STENCIL_SIZE) - request.cStencilBits + read(GLX_ALPHA_SIZE) -
                          request.cAlphaBits + read(GLX_RED_SIZE) + read(GLX_GREEN_SIZE) +
                          read(GLX_BLUE_SIZE) - 24 + read(GLX_ACCUM_RED_SIZE) +
                          read(GLX_ACCUM_GREEN_SIZE) + read(GLX_ACCUM_BLUE_SIZE) +
                          read(GLX_ACCUM_ALPHA_SIZE) + read(GLX_AUX_BUFFERS);
  const int deeperVisual = read.visualDepth() != screenDepth ? 1 : 0;
  const int caveat = read(GLX_CONFIG_CAVEAT) == GLX_NONE ? 0 : 1;
  return ((static_cast<long long>(depthExcess) * 1024 + otherExcess) * 2 + deeperVisual) * 2 +
         caveat;
}

}  // namespace

unsigned long ChooseGlxVisual(const PIXELFORMATDESCRIPTOR& request) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    return 0;
  }
  const int screen = DefaultScreen(display);
  const int screenDepth = DefaultDepth(display, screen);
  int count = 0;
  GLXFBConfig* configs = glXGetFBConfigs(display, screen, &count);
  unsigned long chosen = 0;
  long long bestCost = LLONG_MAX;
  for (int i = 0; i < count; ++i) {
    const GlxConfigReader read{display, configs[i]};
    if (!Usable(read, request)) {
      continue;
    }
    const long long cost = Cost(read, request, screenDepth);
    if (cost < bestCost) {
      bestCost = cost;
      chosen = static_cast<unsigned long>(read(GLX_VISUAL_ID));
    }
  }
  if (configs != nullptr) {
    XFree(configs);
  }
  XCloseDisplay(display);
  return chosen;
}

}  // namespace sdl
