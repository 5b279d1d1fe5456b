// GoogleTest's main for the browser layer under Node. ASYNCIFY resumes main from Node's event
// loop, where a return does not reach the process, and newer Emscripten's exit() throws into a
// promise that nothing awaits: the result ends Node itself.
#include <emscripten.h>
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  int result = RUN_ALL_TESTS();
  std::fflush(stdout);
  EM_ASM({ process.exit($0); }, result);
  return result;
}
