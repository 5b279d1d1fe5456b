// The browser entry. ASYNCIFY resumes main from the browser's event loop, where returning from
// it ends nothing: the exit code goes to exit() explicitly, and the page reports it.
#include <cstdlib>

#include "app/viewer.h"
#include "platform/win32_core/core.h"

int main() {
  if (!core::OpenDisplay()) {
    std::exit(1);
  }
  char commandLine[] = "";
  std::exit(ViewerMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWDEFAULT));
}
