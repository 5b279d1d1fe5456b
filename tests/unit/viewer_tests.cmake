# The shell and display context: pure arithmetic everywhere; the window procedure, start-up and
# the message loop driven through the SDL2 layer (its test hooks exist only there).
set(viewer_test_sources ${CMAKE_CURRENT_LIST_DIR}/viewer_pure.cpp)
if(NOT WIN32)
  list(APPEND viewer_test_sources
    ${CMAKE_CURRENT_LIST_DIR}/viewer_window_proc.cpp
    ${CMAKE_CURRENT_LIST_DIR}/viewer_startup.cpp)
endif()
add_executable(viewer_tests ${viewer_test_sources})
target_link_libraries(viewer_tests PRIVATE ribbon_viewer GTest::gtest_main)
add_test(NAME viewer_tests COMMAND viewer_tests)
set_tests_properties(viewer_tests PROPERTIES
  LABELS "unit" TIMEOUT 120 ENVIRONMENT "SDL_VIDEODRIVER=offscreen")
