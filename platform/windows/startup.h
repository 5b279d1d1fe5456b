// The arguments the Windows start-up hands to ViewerMain, worked out from the process itself
// so that they are the same whichever C runtime starts the program.
#pragma once

#include "platform/win32.h"

// The command line with the program name and the blanks after it skipped. A program name that
// starts with a quote runs to the closing quote (blanks inside it included), otherwise to the
// first blank or tab.
inline LPSTR CommandLinePastProgramName(LPSTR commandLine) {
  char* cursor = commandLine;
  if (*cursor == '"') {
    ++cursor;
    while (*cursor != '\0' && *cursor != '"') {
      ++cursor;
    }
    if (*cursor == '"') {
      ++cursor;
    }
  } else {
    while (*cursor != '\0' && *cursor != ' ' && *cursor != '\t') {
      ++cursor;
    }
  }
  while (*cursor == ' ' || *cursor == '\t') {
    ++cursor;
  }
  return cursor;
}

// The show command the process was started with, or SW_SHOWDEFAULT when its starter gave none.
inline int StartupShowCommand(const STARTUPINFOA& startupInfo) {
  if ((startupInfo.dwFlags & STARTF_USESHOWWINDOW) != 0) {
    return startupInfo.wShowWindow;
  }
  return SW_SHOWDEFAULT;
}
