// The show command WinMain hands to ViewerMain (ViewerMain does not read the command line).
#include <gtest/gtest.h>

#include "platform/windows/startup.h"

namespace {

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
