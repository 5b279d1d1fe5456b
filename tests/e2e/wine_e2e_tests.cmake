# End-to-end tests of ribbon.exe under Wine, each on its private Xvfb as the native ones. The
# native scripts that hold for any Win32 implementation run unchanged against a launcher that
# starts ribbon.exe under Wine; wine_startup.sh replaces startup.sh, whose window geometry is that
# of the SDL build (under Wine with no window manager, Wine draws the frame and the X window is
# the client area).
if(NOT (WIN32 AND CMAKE_CROSSCOMPILING))
  return()
endif()

set(wine_e2e_prefix ${CMAKE_BINARY_DIR}/wineprefix-e2e)
set(wine_launcher ${CMAKE_CURRENT_BINARY_DIR}/ribbon-under-wine)
file(GENERATE OUTPUT ${wine_launcher}
  CONTENT "#!/bin/sh\nexec bash '${CMAKE_CURRENT_LIST_DIR}/wine_launch.sh' '${wine_e2e_prefix}' \
'$<TARGET_FILE:ribbon>'\n"
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                   WORLD_EXECUTE)

# Created once, before the scripts, and left only when Wine has finished setting it up: a new
# prefix takes about 10 s.
add_test(NAME wine_e2e_prefix
         COMMAND env WINEPREFIX=${wine_e2e_prefix} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
                 sh -c "wine wineboot.exe --init && wineserver -w")
set_tests_properties(wine_e2e_prefix PROPERTIES
  LABELS "e2e;wine" TIMEOUT 120 FIXTURES_SETUP wine_e2e_prefix RESOURCE_LOCK wine_e2e_prefix)

foreach(e2e_script IN ITEMS wine_startup picture close)
  add_test(NAME wine_e2e_${e2e_script}
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/${e2e_script}.sh ${wine_launcher})
  set_tests_properties(wine_e2e_${e2e_script} PROPERTIES
    LABELS "e2e;wine"
    TIMEOUT 180
    FIXTURES_REQUIRED wine_e2e_prefix
    RESOURCE_LOCK wine_e2e_prefix
    ENVIRONMENT "E2E_ARTIFACTS=${CMAKE_CURRENT_BINARY_DIR}/e2e-wine")
endforeach()
