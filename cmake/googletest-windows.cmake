# GoogleTest for the Windows cross build, compiled from Debian's sources (package googletest).
# Provides GTest::gtest and GTest::gtest_main, the names find_package(GTest) gives natively, so
# that test suites are written once for both platforms.
set(RIBBON_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${RIBBON_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(library gtest gtest_main)
  if(NOT TARGET GTest::${library})
    add_library(GTest::${library} ALIAS ${library})
  endif()
endforeach()

# Before any test runs, the Wine prefix is created (about 10 s the first time, under a second
# afterwards) and its X server started; both end after the last test.
string(JOIN " " wine_run ${CMAKE_CROSSCOMPILING_EMULATOR})
file(WRITE ${CMAKE_BINARY_DIR}/CTestCustom.cmake
  "set(CTEST_CUSTOM_PRE_TEST \"${wine_run} --start\")\n"
  "set(CTEST_CUSTOM_POST_TEST \"${wine_run} --stop\")\n")

# ribbon_add_wine_test(<target>) registers one test for the whole program, labelled `wine`:
# discovering single cases would start Wine once per case.
function(ribbon_add_wine_test target)
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES LABELS "unit;wine" TIMEOUT 300)
endfunction()
