# The native pictures the page's are compared with (tests/web/fidelity.js, run from the web build).
if(NOT WIN32)
  add_executable(web_native_frame ${CMAKE_CURRENT_LIST_DIR}/native_frame.cpp)
  target_link_libraries(web_native_frame PRIVATE ribbon_viewer)
endif()
