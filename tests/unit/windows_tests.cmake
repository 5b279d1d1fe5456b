# Icon 101 and the Windows entry's start-up values.
# The icon file is checked everywhere (the SDL build embeds its pixels); on Windows the system
# itself finds and decodes the icon compiled into a test program, under Wine when cross-built.
if(NOT WIN32)
  add_executable(windows_icon_file_test unit/windows_icon_file_test.cpp)
  target_link_libraries(windows_icon_file_test PRIVATE ribbon_icon GTest::gtest_main)
  target_compile_definitions(windows_icon_file_test PRIVATE RIBBON_ICON_FILE="${RIBBON_ICON_FILE}")
  add_dependencies(windows_icon_file_test ribbon_icon)
  gtest_discover_tests(windows_icon_file_test PROPERTIES LABELS unit)
  return()
endif()

add_executable(windows_startup_test unit/windows_startup_test.cpp)
target_include_directories(windows_startup_test PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(windows_startup_test PRIVATE GTest::gtest_main)

add_executable(windows_icon_resource_test unit/windows_icon_resource_test.cpp
  ${RIBBON_RESOURCE_FILES})
target_link_libraries(windows_icon_resource_test PRIVATE ribbon_icon gdi32 user32 GTest::gtest_main)

if(CMAKE_CROSSCOMPILING)
  ribbon_add_wine_test(windows_startup_test)
  ribbon_add_wine_test(windows_icon_resource_test)
else()
  gtest_discover_tests(windows_startup_test PROPERTIES LABELS unit)
  gtest_discover_tests(windows_icon_resource_test PROPERTIES LABELS unit)
endif()

# The program itself, checked from the build machine without running it.
if(CMAKE_CROSSCOMPILING)
  add_test(NAME windows_exe_check
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/unit/windows_exe_check.sh $<TARGET_FILE:ribbon>
            ${RIBBON_ICON_FILE})
  set_tests_properties(windows_exe_check PROPERTIES
    LABELS "unit;windows" TIMEOUT 60 ENVIRONMENT "OBJDUMP=${CMAKE_OBJDUMP}")
endif()
