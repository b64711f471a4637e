# Cross build for Windows x86-64 with Debian's MinGW-w64 compiler (posix threads).
# Qt for Windows is found through CMAKE_PREFIX_PATH (`make windows` passes its folder); its
# bin/ holds moc, rcc and uic built for this machine, so programs are searched on the host.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARVIK_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TARVIK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARVIK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TARVIK_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TARVIK_MINGW_TRIPLE} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests run under Wine: CTest starts every Windows executable through it.
find_program(TARVIK_WINE NAMES wine wine64)
if(TARVIK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TARVIK_WINE})
endif()

# Large translation units (the tests with their moc output) exceed the default COFF section count.
set(CMAKE_CXX_FLAGS_INIT "-Wa,-mbig-obj")
