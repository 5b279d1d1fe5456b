# Install rules, and the packages CPack makes from them: a Debian package on Linux, a zip and an
# MSI installer on Windows and a zip of the web page. All take their version from project().
set(RIBBON_MAINTAINER "the ribbon developers <ribbon@example.org>")
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_NAME ribbon)
set(CPACK_PACKAGE_VENDOR "the ribbon developers")
# The long description, in lines short enough for an 80-column terminal.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "ribbon shows one built-in 3D model, a twisted ribbon of 5488 triangles, drawn"
  "with OpenGL 1.1 under seven directional lights, rose in front and green behind."
  ""
  "Drag with the left mouse button to turn the model like a trackball; let go"
  "while moving and it keeps spinning, click to stop it. The key f toggles fog,"
  "p toggles wireframe and Esc closes the window. The program takes no files,"
  "arguments or settings.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

# A zip named ribbon-<version>-<kind>.zip whose files unpack side by side, with no folder around;
# further generators may follow the kind.
macro(ribbon_zip kind)
  set(CPACK_GENERATOR ZIP ${ARGN})
  set(CPACK_PACKAGE_FILE_NAME ribbon-${PROJECT_VERSION}-${kind})
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  include(CPack)
endmacro()

# The controls table has one source, README.md; the manual page and the packages' short README
# take it from there.
file(STRINGS ${PROJECT_SOURCE_DIR}/README.md readme_lines)
set(in_table OFF)
set(controls_table "")
set(controls_man "")
foreach(line IN LISTS readme_lines)
  if(line MATCHES "^<!-- controls")
    set(in_table ON)
  elseif(line MATCHES "^<!-- end of controls")
    set(in_table OFF)
  elseif(in_table)
    string(APPEND controls_table "${line}\n")
    # Rows become tagged paragraphs; the heading and the rule under it do not match.
    if(line MATCHES "^\\| ([^|-][^|]*) \\| ([^|]+) \\|$")
      set(input "${CMAKE_MATCH_1}")
      string(REPLACE "-" "\\-" action "${CMAKE_MATCH_2}")
      if(NOT input STREQUAL "Input")
        string(APPEND controls_man ".TP\n.B ${input}\n${action}\n")
      endif()
    endif()
  endif()
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/README.md)
set(user_readme ${PROJECT_BINARY_DIR}/packaging/README)
set(RIBBON_CONTROLS "${controls_table}")
configure_file(resources/README.in ${user_readme} @ONLY)

if(EMSCRIPTEN)
  # The page as static files to host anywhere: index.html beside the script and the wasm, the
  # icon as favicon and in the web app manifest. Paths are relative, so any folder serves it.
  set(page ${PROJECT_BINARY_DIR})
  add_custom_command(
    OUTPUT ${page}/favicon.ico ${page}/ribbon-128.png
    COMMAND ${CMAKE_COMMAND} -E copy ${RIBBON_ICON_FILE} ${page}/favicon.ico
    COMMAND ${CMAKE_COMMAND} -E copy ${RIBBON_ICON_PNG_128} ${page}/ribbon-128.png
    DEPENDS ribbon_icon_png ${RIBBON_ICON_FILE} ${RIBBON_ICON_PNG_128}
    VERBATIM)
  add_custom_target(ribbon_page_icons ALL DEPENDS ${page}/favicon.ico ${page}/ribbon-128.png)
  configure_file(platform/web/manifest.webmanifest ${page}/manifest.webmanifest @ONLY)
  install(FILES ${page}/index.html $<TARGET_FILE:ribbon> $<TARGET_FILE_DIR:ribbon>/ribbon.wasm
          ${page}/favicon.ico ${page}/ribbon-128.png ${page}/manifest.webmanifest DESTINATION .)
  set(CPACK_STRIP_FILES OFF)
  ribbon_zip(web)
  return()
endif()

if(WIN32)
  # The zip holds the program and its two text files side by side, ready to run where unpacked.
  install(TARGETS ribbon RUNTIME DESTINATION .)
  install(FILES ${user_readme} DESTINATION . RENAME README.txt)
  install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)
  # The same files in an installer as well, made by cmake/msi.cmake from resources/ribbon.wxs.
  set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${PROJECT_SOURCE_DIR}/cmake/msi.cmake)
  set(CPACK_EXTERNAL_ENABLE_STAGING ON)
  set(CPACK_RIBBON_WXS ${PROJECT_SOURCE_DIR}/resources/ribbon.wxs)
  set(CPACK_RIBBON_ICON ${RIBBON_ICON_FILE})
  # Fixed for every version: it tells the installer that a new version replaces an installed one.
  set(CPACK_RIBBON_UPGRADE_CODE F29D1D1E-8C54-4D85-AFC8-27325FABBF1F)
  ribbon_zip(win64 External)
  return()
endif()

include(GNUInstallDirs)
set(staging ${PROJECT_BINARY_DIR}/packaging)

# Debian's copyright file: the license text as an indented paragraph, blank lines as " .".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(FIND "${license}" "Permission is hereby granted" start)
string(SUBSTRING "${license}" ${start} -1 license)
string(STRIP "${license}" license)
string(REPLACE "\n\n" "\n.\n" license "${license}")
string(REPLACE "\n" "\n " RIBBON_LICENSE_TEXT " ${license}")
configure_file(resources/copyright.in ${staging}/copyright @ONLY)

# The changelog's date: SOURCE_DATE_EPOCH when set (scripts/package sets it to the last
# commit's time), else the time of configuring.
string(TIMESTAMP RIBBON_RELEASE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(resources/changelog.in ${staging}/changelog @ONLY)
set(RIBBON_CONTROLS "${controls_man}")
configure_file(resources/ribbon.1 ${staging}/ribbon.1 @ONLY)

# Manual page and changelog are installed compressed, without name or time stamp in the header.
set(compressed)
foreach(file ribbon.1 changelog)
  add_custom_command(
    OUTPUT ${staging}/${file}.gz
    COMMAND gzip -9nkf ${staging}/${file}
    DEPENDS ${staging}/${file}
    VERBATIM)
  list(APPEND compressed ${staging}/${file}.gz)
endforeach()
add_custom_target(ribbon_compressed_docs ALL DEPENDS ${compressed})

install(TARGETS ribbon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/ribbon.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size IN LISTS RIBBON_ICON_SIZES)
  install(FILES ${RIBBON_ICON_PNG_${size}}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ribbon.png)
endforeach()
install(FILES ${staging}/ribbon.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${user_readme} LICENSE ${staging}/copyright ${staging}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${RIBBON_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
