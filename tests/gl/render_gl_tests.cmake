# Scene set-up and frames in a real OpenGL context (Mesa through SDL's offscreen driver), made
# through the SDL2 layer, whose swap counter the frame tests read.
if(NOT WIN32)
  add_executable(render_gl_tests
    ${CMAKE_CURRENT_LIST_DIR}/scene_init_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frame_test.cpp
  )
  target_link_libraries(render_gl_tests PRIVATE ribbon_viewer GTest::gtest_main)
  gtest_discover_tests(render_gl_tests
    PROPERTIES LABELS gl ENVIRONMENT SDL_VIDEODRIVER=offscreen TIMEOUT 120
    DISCOVERY_TIMEOUT 30)
endif()
