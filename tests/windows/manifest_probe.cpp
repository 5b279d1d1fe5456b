// Linked with ribbon.exe's resources, manifest included: prints what the manifest gives a process
// and fails unless the loader holds its two DPI settings, comctl32.dll comes from the Common
// Controls 6 assembly and the system DPI is the one expected (the prefix's LogPixels). Every
// process is per-monitor aware under Wine 8, with a manifest or without: that is printed only.
// Usage: manifest_probe.exe SYSTEM_DPI
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

// Looked up at run time: older MinGW headers lack these, and Windows before 10 the functions.
template <typename Function> Function User32(const char *name) {
  FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

static bool HasSetting(const wchar_t *year, const wchar_t *name, const wchar_t *value) {
  wchar_t space[64], text[64] = L"";
  std::swprintf(space, 64, L"http://schemas.microsoft.com/SMI/%ls/WindowsSettings", year);
  QueryActCtxSettingsW(0, nullptr, space, name, text, 64, nullptr);
  std::printf("%ls \"%ls\", ", name, text);
  return std::wcscmp(text, value) == 0;
}

int main(int argc, char **argv) {
  auto threadContext = User32<HANDLE(WINAPI *)()>("GetThreadDpiAwarenessContext");
  auto awareness = User32<int(WINAPI *)(HANDLE)>("GetAwarenessFromDpiAwarenessContext");
  UINT dpi = User32<UINT(WINAPI *)()>("GetDpiForSystem")();
  std::printf("IsProcessDPIAware %d, awareness %d (2: per monitor), system DPI %u, ",
              IsProcessDPIAware(), awareness(threadContext()), dpi);
  bool settings = HasSetting(L"2016", L"dpiAwareness", L"PerMonitorV2, PerMonitor") &
                  HasSetting(L"2005", L"dpiAware", L"true/pm");
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(LoadLibraryW(L"comctl32.dll"), path, MAX_PATH);
  std::printf("comctl32.dll from %ls\n", path);
  bool commonControls6 = std::wcsstr(path, L"common-controls_6595b64144ccf1df_6.") != nullptr;
  return settings && commonControls6 && argc == 2 && dpi == std::strtoul(argv[1], nullptr, 10) ? 0
                                                                                            : 1;
}
