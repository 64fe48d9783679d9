# CMake toolchain file: cross-compiles for 64-bit Windows with Debian's MinGW-w64 (posix threads flavour).
#
# Use: cmake -DCMAKE_TOOLCHAIN_FILE=packaging/windows/mingw-w64.cmake -DCMAKE_PREFIX_PATH=<prefix> ...
# where <prefix> holds the Windows libraries (e.g. the one printed by scripts/windows-deps).

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The -posix compilers give std::thread and std::mutex (through winpthreads).
set(TWINRUN_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TWINRUN_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TWINRUN_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TWINRUN_MINGW_TRIPLET}-windres)

# Libraries, headers and CMake packages come only from the prefixes given on the command
# line and from the MinGW sysroot; CMake does not re-root paths that already lie under a
# root, so adding the prefixes as roots makes CMAKE_PREFIX_PATH work as given.
list(APPEND CMAKE_FIND_ROOT_PATH ${CMAKE_PREFIX_PATH} /usr/${TWINRUN_MINGW_TRIPLET})
list(REMOVE_DUPLICATES CMAKE_FIND_ROOT_PATH)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Programs (code generators, tools) are the build machine's own.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
