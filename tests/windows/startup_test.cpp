// The start-up values WinMain hands to ViewerMain.
#include <gtest/gtest.h>

#include <string>

#include "platform/windows/startup.h"

namespace {

TEST(WindowsStartup, CommandLinePastProgramNameSkipsTheNameAndTheBlanksAfterIt) {
  const struct {
    const char* commandLine;
    const char* rest;
  } cases[] = {
      {"ribbon.exe", ""},
      {"ribbon.exe \t  a  b ", "a  b "},
      {"\"C:\\Program Files\\ribbon.exe\" one \"two\"", "one \"two\""},
      {"\"C:\\a b\\ribbon.exe\"next", "next"},  // the name ends at its closing quote
      {"\"unterminated name", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    std::string line = c.commandLine;
    EXPECT_STREQ(CommandLinePastProgramName(line.data()), c.rest) << c.commandLine;
  }
}

TEST(WindowsStartup, ShowCommandComesFromTheStartupInformationOnlyWhenFlagged) {
  const struct {
    DWORD flags;
    int expected;
  } cases[] = {{STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES, SW_SHOWMINIMIZED},
               {STARTF_USESTDHANDLES, SW_SHOWDEFAULT},
               {0, SW_SHOWDEFAULT}};
  for (const auto& c : cases) {
    STARTUPINFOA info = {};
    info.cb = sizeof(info);
    info.dwFlags = c.flags;
    info.wShowWindow = SW_SHOWMINIMIZED;
    EXPECT_EQ(StartupShowCommand(info), c.expected) << c.flags;
  }
}

}  // namespace
