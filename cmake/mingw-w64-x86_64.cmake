# Cross-building the 64-bit Windows executable with Debian's MinGW-w64 (POSIX threads flavour).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained file for the lab computers: only system DLLs are imported.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -s")

# Tests run under Wine, quietly, without a display, in a prefix of the build's own.
find_program(RTG_WINE NAMES wine wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
find_program(RTG_WINESERVER NAMES wineserver PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
set(RTG_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
if(RTG_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_COMMAND};-E;env;--unset=DISPLAY;WINEDEBUG=-all;WINEPREFIX=${RTG_WINE_PREFIX};${RTG_WINE}")
endif()
