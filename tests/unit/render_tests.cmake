# Unit tests of the scene's pure parts and of the trackball: no display needed.
add_executable(render_tests
  ${CMAKE_CURRENT_LIST_DIR}/render_texture_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/render_rotation_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/trackball_test.cpp
)
target_link_libraries(render_tests PRIVATE ribbon_viewer GTest::gtest_main)
gtest_discover_tests(render_tests
  PROPERTIES LABELS unit ENVIRONMENT SDL_VIDEODRIVER=offscreen TIMEOUT 120
  DISCOVERY_TIMEOUT 30)
