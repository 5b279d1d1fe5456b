// The browser entry. ASYNCIFY resumes main from the browser's event loop, where returning from
// it ends nothing: the exit code goes to exit() explicitly, and the page reports it.
#include <cstdlib>

#include "app/viewer.h"

int main() {
  char commandLine[] = "";
  std::exit(ViewerMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWDEFAULT));
}
