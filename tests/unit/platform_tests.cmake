# The platform layer. The delivery semantics (and the viewer's idle handler, which depends on
# them) are written against Win32 alone: on Linux they run against the SDL2 layer, cross-built for
# Windows against the real system under Wine. The SDL2 layer's own translations, formats, hooks
# and its behaviour without a display are Linux only.
if(WIN32)
  add_executable(platform_semantics_tests ${CMAKE_CURRENT_LIST_DIR}/platform_semantics.cpp)
  target_link_libraries(platform_semantics_tests PRIVATE ribbon_viewer GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    # Wine makes its windows on an X display: give the test one of its own.
    find_program(XVFB_RUN xvfb-run REQUIRED)
    add_test(NAME platform_semantics_tests
      COMMAND ${XVFB_RUN} -a -s "-screen 0 1024x768x24" ${CMAKE_CROSSCOMPILING_EMULATOR}
              $<TARGET_FILE:platform_semantics_tests>)
    set_tests_properties(platform_semantics_tests PROPERTIES LABELS "unit;wine" TIMEOUT 300)
  else()
    gtest_discover_tests(platform_semantics_tests PROPERTIES LABELS unit)
  endif()
  return()
endif()

add_executable(platform_tests
  ${CMAKE_CURRENT_LIST_DIR}/platform_semantics.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform_input.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform_sdl.cpp)
target_link_libraries(platform_tests PRIVATE ribbon_viewer GTest::gtest_main)
add_test(NAME platform_tests COMMAND platform_tests)
set_tests_properties(platform_tests PROPERTIES
  LABELS "unit" TIMEOUT 120 ENVIRONMENT "SDL_VIDEODRIVER=offscreen")
