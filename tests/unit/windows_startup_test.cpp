// The start-up values WinMain hands to ViewerMain.
#include <gtest/gtest.h>

#include <string>

#include "platform/windows/startup.h"

namespace {

TEST(WindowsStartup, CommandLinePastProgramNameSkipsTheNameAndTheBlanksAfterIt) {
  struct Case {
    const char* commandLine;
    const char* rest;
  };
  const Case cases[] = {
      {"ribbon.exe", ""},
      {"ribbon.exe -x", "-x"},
      {"ribbon.exe \t  a  b ", "a  b "},
      {"\"C:\\Program Files\\ribbon.exe\" one \"two\"", "one \"two\""},
      {"\"C:\\a b\\ribbon.exe\"", ""},
      {"\"C:\\a b\\ribbon.exe\"next", "next"},  // the name ends at its closing quote
      {"\"unterminated name", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    std::string line = c.commandLine;
    EXPECT_STREQ(CommandLinePastProgramName(line.data()), c.rest) << c.commandLine;
  }
}

TEST(WindowsStartup, ShowCommandComesFromTheStartupInformationOnlyWhenFlagged) {
  struct Case {
    DWORD flags;
    WORD showWindow;
    int expected;
  };
  const Case cases[] = {
      {STARTF_USESHOWWINDOW, SW_SHOWMINIMIZED, SW_SHOWMINIMIZED},
      {STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES, SW_HIDE, SW_HIDE},
      {0, SW_SHOWMINIMIZED, SW_SHOWDEFAULT},
      {STARTF_USESTDHANDLES, SW_SHOWMAXIMIZED, SW_SHOWDEFAULT},
  };
  for (const Case& c : cases) {
    STARTUPINFOA info = {};
    info.cb = sizeof(info);
    info.dwFlags = c.flags;
    info.wShowWindow = c.showWindow;
    EXPECT_EQ(StartupShowCommand(info), c.expected) << c.flags << " " << c.showWindow;
  }
}

}  // namespace
