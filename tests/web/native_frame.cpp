// The native pictures the page is compared with: the viewer's start-up view, with fog, as
// wireframe, and the view after a press and one move of the trackball, drawn by Mesa through the
// SDL2 layer and written as binary PPM files. Usage: web_native_frame <directory> <press x> <press
// y> <move x> <move y>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/viewer.h"
#include "app/viewer_state.h"
#include "input/trackball.h"
#include "model/mesh.h"
#include "render/render.h"

namespace {

// The frame just swapped, top row first, as a PPM file.
bool WriteFrame(const std::string& path, int side) {
  std::vector<GLubyte> pixels(3 * side * side);
  glReadBuffer(GL_FRONT);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, side, side, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    return false;
  }
  std::fprintf(file, "P6\n%d %d\n255\n", side, side);
  for (int row = side - 1; row >= 0; --row) {
    std::fwrite(&pixels[3 * side * row], 1, 3 * side, file);
  }
  return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fputs("usage: web_native_frame <directory> <press x> <press y> <move x> <move y>\n",
               stderr);
    return 2;
  }
  const std::string directory = argv[1];
  const int press[2] = {std::atoi(argv[2]), std::atoi(argv[3])};
  const int move[2] = {std::atoi(argv[4]), std::atoi(argv[5])};

  // Start-up as ViewerMain performs it, without the hint and the loop.
  viewerState.windowWidth =
      WindowSideForScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  viewerState.windowHeight = viewerState.windowWidth;
  RegisterViewerClass(GetModuleHandleA(nullptr));
  HWND window = CreateViewerWindow(GetModuleHandleA(nullptr));
  if (window == nullptr || viewerState.renderContext == nullptr) {
    std::fputs("web_native_frame: no window with a rendering context\n", stderr);
    return 1;
  }
  const int side = viewerState.windowWidth;
  RenderFrame(DrawMesh);
  bool written = WriteFrame(directory + "/startup.ppm", side);
  // Fog, then wireframe, each on its own (the keys f and p toggle them).
  viewerState.fogEnabled = 1;
  RenderFrame(DrawMesh);
  written = WriteFrame(directory + "/fog.ppm", side) && written;
  viewerState.fogEnabled = 0;
  viewerState.wireframe = 1;
  RenderFrame(DrawMesh);
  written = WriteFrame(directory + "/wireframe.ppm", side) && written;
  viewerState.wireframe = 0;
  // The press leaves one frame that still applies the stored increment, then the move's own.
  TrackballBegin(1, press[0], press[1]);
  RenderFrame(DrawMesh);
  TrackballMove(move[0], move[1]);
  RenderFrame(DrawMesh);
  written = WriteFrame(directory + "/rotated.ppm", side) && written;
  DestroyWindow(window);
  return written ? 0 : 1;
}
