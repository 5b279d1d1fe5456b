# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers.
# The posix-thread compilers are used because the win32-thread ones lack std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(RIBBON_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${RIBBON_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RIBBON_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${RIBBON_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${RIBBON_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static C, C++ and thread runtimes: the programs need no DLL beyond the system's own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# CTest (and test discovery) run the .exe programs under Wine, through a script that gives every
# build tree its own prefix and, while tests run, its own X server.
set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh
  ${CMAKE_BINARY_DIR}/wineprefix)
