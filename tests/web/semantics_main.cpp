// GoogleTest's main for the browser layer under Node. ASYNCIFY resumes main from Node's event
// loop, where a plain return would not reach the process: the result goes to exit() explicitly.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  std::exit(RUN_ALL_TESTS());
}
