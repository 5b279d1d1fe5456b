// GoogleTest's main for the test programs built to WebAssembly. ASYNCIFY resumes main from the
// event loop, where a plain return would not reach the runtime: the result goes to exit().
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  std::exit(RUN_ALL_TESTS());
}
