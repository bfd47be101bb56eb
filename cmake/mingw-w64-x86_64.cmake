# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the POSIX thread
# model, which C++ threads and mutexes need), against its real windows.h,
# d3d9.h and d3dx9.h.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARVO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TARVO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARVO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TARVO_MINGW_PREFIX}-windres)

# Libraries and headers come from the mingw-w64 sysroot only; programs
# (cmake, the host's tools) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TARVO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests built for Windows run under Wine.
find_program(TARVO_WINE wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TARVO_WINE})
