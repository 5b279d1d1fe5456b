# The program's subsystem, imports, icon group 101, VERSIONINFO and manifest, read from the file.
if(CMAKE_CROSSCOMPILING)
  ribbon_test(NAME windows_exe_check LABELS unit
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/windows/exe_check.py $<TARGET_FILE:ribbon>
            ${RIBBON_ICON_FILE} ${PROJECT_VERSION}
    TIMEOUT 60)
endif()
