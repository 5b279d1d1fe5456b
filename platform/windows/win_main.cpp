// The Windows entry point: hands the process's own start-up values to ViewerMain and makes its
// result the exit code.
#include "app/viewer.h"
#include "platform/windows/startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  STARTUPINFOA startupInfo = {};
  startupInfo.cb = sizeof(startupInfo);
  GetStartupInfoA(&startupInfo);
  return ViewerMain(GetModuleHandleA(nullptr), nullptr,
                    CommandLinePastProgramName(GetCommandLineA()), StartupShowCommand(startupInfo));
}
