// Linked with ribbon.exe's resources, manifest included: fails unless comctl32.dll comes from the
// Common Controls 6 assembly and the system DPI is the prefix's LogPixels. The DPI awareness
// (2: per monitor) is printed only: Wine 8 gives it to every process, manifest or not.
// Usage: manifest_probe.exe SYSTEM_DPI
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

// Looked up at run time: older MinGW headers lack these, and Windows before 10 the functions.
template <typename Function>
Function User32(const char* name) {
  FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

int main(int argc, char** argv) {
  HANDLE context = User32<HANDLE(WINAPI*)()>("GetThreadDpiAwarenessContext")();
  int awareness = User32<int(WINAPI*)(HANDLE)>("GetAwarenessFromDpiAwarenessContext")(context);
  UINT dpi = User32<UINT(WINAPI*)()>("GetDpiForSystem")();
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(LoadLibraryW(L"comctl32.dll"), path, MAX_PATH);
  std::printf("IsProcessDPIAware %d, awareness %d, system DPI %u, comctl32.dll from %ls\n",
              IsProcessDPIAware(), awareness, dpi, path);
  bool commonControls6 = std::wcsstr(path, L"common-controls_6595b64144ccf1df_6.") != nullptr;
  return commonControls6 && argc == 2 && dpi == std::strtoul(argv[1], nullptr, 10) ? 0 : 1;
}
