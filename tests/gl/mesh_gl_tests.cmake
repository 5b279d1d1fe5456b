# DrawMesh in a real OpenGL context (SDL's offscreen driver: Mesa through EGL, no X server).
if(NOT WIN32)
  find_package(SDL2 REQUIRED)
  add_executable(mesh_gl_tests ${CMAKE_CURRENT_LIST_DIR}/mesh_draw.cpp)
  target_link_libraries(mesh_gl_tests PRIVATE ribbon_mesh SDL2::SDL2 GTest::gtest_main)
  add_test(NAME mesh_gl_tests COMMAND mesh_gl_tests)
  set_tests_properties(mesh_gl_tests PROPERTIES
    LABELS "gl" TIMEOUT 120 ENVIRONMENT "SDL_VIDEODRIVER=offscreen")
endif()
