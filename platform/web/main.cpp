// The browser entry. ASYNCIFY resumes main from the browser's event loop, where returning from
// it ends nothing and exit() would throw Emscripten's ExitStatus out to the browser as an
// uncaught exception: main returns, and the runtime ends in a task of its own, where Emscripten
// catches that throw itself. The page reports the exit code (Module.onExit).
#include "app/viewer.h"
#include "platform/web/page.h"
#include "platform/win32_core/backend.h"

int main() {
  char commandLine[] = "";
  const int code = core::OpenDisplay()
                       ? ViewerMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWDEFAULT)
                       : 1;
  JsEndProgram(code);
  return code;
}
