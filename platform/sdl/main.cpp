// The Linux entry: what the Windows runtime's start-up does before it calls the viewer.
#include <string>

#include "app/viewer.h"
#include "platform/sdl/allocator_policy.h"

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
