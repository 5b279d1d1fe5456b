// Choosing the X visual for a pixel-format request. SDL hands the request's sizes to GLX as
// minimums, and GLX prefers the deepest depth buffer it has, so a 16-bit request comes back with
// 24 or 32 bits. Windows returns an exact match when there is one; so does this: among the
// window-capable true-colour configs it takes the one whose depth equals the request, and only
// when none has it the nearest deeper one. Reading the configs is slow (GLX starts on a connection
// of its own, and each attribute read searches the whole list), so they are read once, while the
// first box is up, into a table of what the choice needs.
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <climits>
#include <vector>

#include "platform/sdl/layer.h"

namespace sdl {
namespace {

// A window-capable true-colour RGBA config, single-sampled and mono, with 8 bits a colour or more.
struct GlxVisual {
  unsigned long id;
  bool doubleBuffer;
  int alpha, depth, stencil;
  int otherBits;      // colour bits beyond 24, accumulation bits and auxiliary buffers
  bool deeperVisual;  // another depth than the screen's: it needs a colormap of its own
  bool caveat;
};

std::vector<GlxVisual> visuals;
bool visualsRead = false;

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

bool Listed(const GlxConfigReader& read) {
  return read(GLX_VISUAL_ID) != 0 && read(GLX_X_RENDERABLE) != 0 &&
         (read(GLX_DRAWABLE_TYPE) & GLX_WINDOW_BIT) != 0 &&
         (read(GLX_RENDER_TYPE) & GLX_RGBA_BIT) != 0 && read(GLX_X_VISUAL_TYPE) == GLX_TRUE_COLOR &&
         read(GLX_STEREO) == 0 && read(GLX_SAMPLE_BUFFERS) == 0 && read(GLX_RED_SIZE) >= 8 &&
         read(GLX_GREEN_SIZE) >= 8 && read(GLX_BLUE_SIZE) >= 8;
}

GlxVisual Describe(const GlxConfigReader& read, int screenDepth) {
  return GlxVisual{
      static_cast<unsigned long>(read(GLX_VISUAL_ID)),
      read(GLX_DOUBLEBUFFER) != 0,
      read(GLX_ALPHA_SIZE),
      read(GLX_DEPTH_SIZE),
      read(GLX_STENCIL_SIZE),
      read(GLX_RED_SIZE) + read(GLX_GREEN_SIZE) + read(GLX_BLUE_SIZE) - 24 +
          read(GLX_ACCUM_RED_SIZE) + read(GLX_ACCUM_GREEN_SIZE) + read(GLX_ACCUM_BLUE_SIZE) +
          read(GLX_ACCUM_ALPHA_SIZE) + read(GLX_AUX_BUFFERS),
      read.visualDepth() != screenDepth,
      read(GLX_CONFIG_CAVEAT) != GLX_NONE,
  };
}

bool Usable(const GlxVisual& visual, const PIXELFORMATDESCRIPTOR& request) {
  return visual.doubleBuffer == ((request.dwFlags & PFD_DOUBLEBUFFER) != 0) &&
         visual.alpha >= request.cAlphaBits && visual.depth >= request.cDepthBits &&
         visual.stencil >= request.cStencilBits;
}

// Lower is better: the depth buffer's excess first, then every other buffer's excess, then a
// visual of another depth than the screen's, then a caveat.
long long Cost(const GlxVisual& visual, const PIXELFORMATDESCRIPTOR& request) {
  const int depthExcess = visual.depth - request.cDepthBits;
  const int otherExcess =
      visual.stencil - request.cStencilBits + visual.alpha - request.cAlphaBits + visual.otherBits;
  return ((static_cast<long long>(depthExcess) * 1024 + otherExcess) * 2 +
          (visual.deeperVisual ? 1 : 0)) *
             2 +
         (visual.caveat ? 1 : 0);
}

}  // namespace

void ReadGlxVisuals() {
  if (visualsRead) {
    return;
  }
  visualsRead = true;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    return;
  }
  const int screen = DefaultScreen(display);
  int count = 0;
  GLXFBConfig* configs = glXGetFBConfigs(display, screen, &count);
  for (int i = 0; i < count; ++i) {
    const GlxConfigReader read{display, configs[i]};
    if (Listed(read)) {
      visuals.push_back(Describe(read, DefaultDepth(display, screen)));
    }
  }
  if (configs != nullptr) {
    XFree(configs);
  }
  XCloseDisplay(display);
}

unsigned long ChooseGlxVisual(const PIXELFORMATDESCRIPTOR& request) {
  ReadGlxVisuals();
  unsigned long chosen = 0;
  long long bestCost = LLONG_MAX;
  for (const GlxVisual& visual : visuals) {
    if (!Usable(visual, request)) {
      continue;
    }
    const long long cost = Cost(visual, request);
    if (cost < bestCost) {
      bestCost = cost;
      chosen = visual.id;
    }
  }
  return chosen;
}

}  // namespace sdl
