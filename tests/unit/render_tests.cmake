# Unit tests of the scene's pure parts and of the trackball: no display needed, so they run on
# both platforms (under Wine when cross-built).
add_executable(render_tests
  ${CMAKE_CURRENT_LIST_DIR}/render_texture_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/render_rotation_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/trackball_test.cpp
)
target_link_libraries(render_tests PRIVATE ribbon_viewer GTest::gtest_main)
if(CMAKE_CROSSCOMPILING)
  ribbon_add_wine_test(render_tests)
else()
  gtest_discover_tests(render_tests
    PROPERTIES LABELS unit ENVIRONMENT SDL_VIDEODRIVER=offscreen TIMEOUT 120
    DISCOVERY_TIMEOUT 30)
endif()
