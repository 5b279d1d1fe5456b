# The Windows entry's start-up values, icon 101 as the system finds it, and the program's imports.
ribbon_test(NAME windows_startup_test LABELS unit SOURCES windows/startup_test.cpp)
ribbon_test(NAME windows_icon_resource_test LABELS unit
  SOURCES windows/icon_resource_test.cpp ${RIBBON_RESOURCE_FILES}
  LIBRARIES ribbon_icon gdi32 user32)
if(CMAKE_CROSSCOMPILING)
  ribbon_test(NAME windows_exe_check LABELS unit
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/exe_check.sh $<TARGET_FILE:ribbon>
            ${RIBBON_ICON_FILE}
    ENVIRONMENT OBJDUMP=${CMAKE_OBJDUMP} TIMEOUT 60)
endif()
