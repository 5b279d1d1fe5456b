// RenderFrame back to back, spinning, in the viewer's own window shown on the current display,
// with no message loop around it: the ceiling for the real viewer's frame rate.
// Usage: ribbon_bare_loop [SECONDS]  (default 10). Prints the frames drawn and the rate.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/viewer.h"
#include "app/viewer_state.h"
#include "bench/viewer_window.h"
#include "model/mesh.h"
#include "platform/sdl/allocator_policy.h"
#include "render/render.h"

int main(int argc, char** argv) {
  KeepVertexBuffersOnTheHeap();
  const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
  // The side the viewer itself picks on this screen.
  HWND window = OpenViewerWindow(
      WindowSideForScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  if (window == nullptr) {
    std::fputs("ribbon_bare_loop: no window with an OpenGL context\n", stderr);
    return 1;
  }
  ShowWindow(window, SW_SHOWDEFAULT);
  viewerState.rotating = 1;
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  const Clock::time_point end =
      start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  long frames = 0;
  Clock::time_point now = start;
  while (now < end) {
    RenderFrame(DrawMesh);
    ++frames;
    now = Clock::now();
  }
  const double elapsed = std::chrono::duration<double>(now - start).count();
  std::printf("%ld frames in %.3f s: %.1f frames/s at %d x %d\n", frames, elapsed,
              static_cast<double>(frames) / elapsed, viewerState.windowWidth,
              viewerState.windowHeight);
  CloseViewerWindow(window);
  return 0;
}
