# The program's subsystem, imports and icon group 101, read from the file.
if(CMAKE_CROSSCOMPILING)
  ribbon_test(NAME windows_exe_check LABELS unit
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/exe_check.sh $<TARGET_FILE:ribbon>
            ${RIBBON_ICON_FILE}
    ENVIRONMENT OBJDUMP=${CMAKE_OBJDUMP} TIMEOUT 60)
endif()
