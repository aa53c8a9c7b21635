# Cross-compiles the Windows tests 32-bit (i686), like the programs users get: the end-to-end
# tests drive the shipped programs, and the in-process tests run the same code 32-bit. The posix thread model, which GoogleTest
# needs for std::mutex, is for the tests only; the programs users get come from
# mingw-w64-i686.cmake.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(triple i686-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${triple}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${triple}-g++-posix REQUIRED)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# Tests of this build run under Wine, in the project's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec.sh)
