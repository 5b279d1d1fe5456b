# The platform layer: delivery semantics written against Win32 alone, and on Linux the SDL2
# layer's own translations, formats, hooks and its behaviour without a display.
if(NOT WIN32)
  add_executable(platform_tests
    ${CMAKE_CURRENT_LIST_DIR}/platform_semantics.cpp
    ${CMAKE_CURRENT_LIST_DIR}/platform_input.cpp
    ${CMAKE_CURRENT_LIST_DIR}/platform_sdl.cpp)
  target_link_libraries(platform_tests PRIVATE ribbon_platform GTest::gtest_main)
  add_test(NAME platform_tests COMMAND platform_tests)
  set_tests_properties(platform_tests PROPERTIES
    LABELS "unit" TIMEOUT 120 ENVIRONMENT "SDL_VIDEODRIVER=offscreen")
endif()
