# The Windows entry's start-up values; the program's subsystem, imports and icon group 101.
ribbon_test(NAME windows_startup_test LABELS unit SOURCES windows/startup_test.cpp)
if(CMAKE_CROSSCOMPILING)
  ribbon_test(NAME windows_exe_check LABELS unit
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/exe_check.sh $<TARGET_FILE:ribbon>
            ${RIBBON_ICON_FILE}
    ENVIRONMENT OBJDUMP=${CMAKE_OBJDUMP} TIMEOUT 60)
endif()
