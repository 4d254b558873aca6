# Cross build for 64-bit Windows with Debian's mingw-w64, threading variant
# "posix" (the "win32" variant has no std::mutex or std::thread, which
# GoogleTest needs). Executables are linked statically: toviconv.exe and the
# test programs need no DLL beyond the system's own.
#
#   cmake -S . -B build-windows -G Ninja --toolchain cmake/toolchain-mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOVICONV_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TOVICONV_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOVICONV_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TOVICONV_MINGW_TRIPLET}-windres)

# Libraries and packages come from the target's root (and the build's own
# cross prefix, see cmake/CrossPrefix.cmake), never from the host's /usr.
set(CMAKE_FIND_ROOT_PATH /usr/${TOVICONV_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
