# SPDX-License-Identifier: MIT
# Cross build for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, which
# std::thread and std::jthread need). Used by scripts/package-windows.sh and scripts/test.sh:
#   cmake -S . -B build-windows --toolchain cmake/toolchains/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PIXTINT_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PIXTINT_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PIXTINT_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PIXTINT_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PIXTINT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One .exe that runs alone: no libstdc++, libgcc or winpthread DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests run under Wine on this machine.
find_program(PIXTINT_WINE NAMES wine64 wine)
if(PIXTINT_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PIXTINT_WINE})
endif()
