# ribbon_add_host_tool(<name> <source> [<headers>...]): a small generator program that runs on the
# build machine.
# Sets <name>_COMMAND (to use as COMMAND in add_custom_command) and <name>_DEPENDS (to list in its
# DEPENDS). Natively it is an ordinary executable target; when cross-compiling it is built with
# the build machine's own C++ compiler (`c++`, or RIBBON_HOST_CXX).
function(ribbon_add_host_tool name source)
  if(NOT CMAKE_CROSSCOMPILING)
    add_executable(${name} ${source})
    set(${name}_COMMAND ${name} PARENT_SCOPE)
    set(${name}_DEPENDS ${name} PARENT_SCOPE)
    return()
  endif()
  find_program(RIBBON_HOST_CXX NAMES c++ g++ clang++ NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(tool ${CMAKE_CURRENT_BINARY_DIR}/${name}-host)
  add_custom_command(
    OUTPUT ${tool}
    COMMAND ${RIBBON_HOST_CXX} -std=c++17 -O2 -Wall -Wextra -o ${tool} ${source}
    DEPENDS ${source} ${ARGN}
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
    COMMENT "Building ${name} for the build machine"
    VERBATIM)
  set(${name}_COMMAND ${tool} PARENT_SCOPE)
  set(${name}_DEPENDS ${tool} PARENT_SCOPE)
endfunction()
