# Cross-compiles the programs users get: 32-bit (i686) for Windows XP SP3 to 11, with
# Debian's mingw-w64 in the win32 thread model, whose runtime imports nothing XP lacks (the
# posix model's winpthreads imports GetTickCount64, Vista and later).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(triple i686-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${triple}-gcc-win32 REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${triple}-g++-win32 REQUIRED)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# PE32 for NT 5.1 (XP) as the oldest system, with DEP and ASLR on, and all 4 GB of address
# space on 64-bit Windows.
set(VEMO_WINDOWS_XP_LINK_OPTIONS
    -Wl,--major-os-version=5,--minor-os-version=1
    -Wl,--major-subsystem-version=5,--minor-subsystem-version=1
    -Wl,--nxcompat,--dynamicbase,--large-address-aware)
