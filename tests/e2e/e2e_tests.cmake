# End-to-end tests: the real viewer under a private Xvfb, driven with xdotool. Each script gets
# the path of the built program; screenshots are kept in the build tree for inspection.
if(NOT WIN32)
  # Reports the depth bits of the viewer's context from inside the running program.
  add_library(ribbon_depth_probe MODULE ${CMAKE_CURRENT_LIST_DIR}/depth_probe.c)
  target_link_libraries(ribbon_depth_probe PRIVATE ${CMAKE_DL_LIBS})
  foreach(e2e_script IN ITEMS startup close picture)
    add_test(NAME e2e_${e2e_script}
             COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/${e2e_script}.sh $<TARGET_FILE:ribbon>)
    set_tests_properties(e2e_${e2e_script} PROPERTIES
      LABELS e2e
      TIMEOUT 120
      ENVIRONMENT "E2E_ARTIFACTS=${CMAKE_CURRENT_BINARY_DIR}/e2e;E2E_DEPTH_PROBE=$<TARGET_FILE:ribbon_depth_probe>")
  endforeach()

  # Under a window manager; frames are counted by a library preloaded into the viewer.
  add_library(ribbon_e2e_swap_counter MODULE ${PROJECT_SOURCE_DIR}/bench/swap_counter.c)
  target_link_libraries(ribbon_e2e_swap_counter PRIVATE SDL2::SDL2 ${CMAKE_DL_LIBS})
  add_test(NAME e2e_desktop
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/desktop.sh $<TARGET_FILE:ribbon>
                   $<TARGET_FILE:ribbon_e2e_swap_counter>)
  set_tests_properties(e2e_desktop PROPERTIES
    LABELS e2e TIMEOUT 120 ENVIRONMENT "E2E_ARTIFACTS=${CMAKE_CURRENT_BINARY_DIR}/e2e")
endif()
