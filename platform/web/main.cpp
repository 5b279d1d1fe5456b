// The browser entry: the page's script runs main once the module is ready; the value it
// returns ends the program, and the page reports it.
#include "app/viewer.h"

int main() {
  char commandLine[] = "";
  return ViewerMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWDEFAULT);
}
