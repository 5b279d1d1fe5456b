// The Linux entry: what the Windows runtime's start-up does before it calls the viewer, and the
// display opened first (a failure is said once on stderr and ends the program with status 1).
#include <string>

#include "app/viewer.h"
#include "platform/sdl/allocator_policy.h"
#include "platform/win32_core/backend.h"

int main(int argc, char** argv) {
  KeepVertexBuffersOnTheHeap();
  if (!core::OpenDisplay()) {
    return 1;
  }
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) {
      commandLine += ' ';
    }
    commandLine += argv[i];
  }
  return ViewerMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
}
