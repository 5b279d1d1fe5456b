// The Linux entry: what the Windows runtime's start-up does before it calls the viewer.
#include <string>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "app/viewer.h"

// Immediate mode makes Mesa replace its half-megabyte vertex buffer several times a frame. With
// glibc's adaptive thresholds each replacement maps fresh pages and faults them in again; keeping
// such blocks on the heap takes that cost out of every frame.
static void KeepVertexBuffersOnTheHeap() {
#ifdef __GLIBC__
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  mallopt(M_TRIM_THRESHOLD, 8 << 20);
#endif
}

int main(int argc, char** argv) {
  KeepVertexBuffersOnTheHeap();
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) {
      commandLine += ' ';
    }
    commandLine += argv[i];
  }
  return ViewerMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
}
