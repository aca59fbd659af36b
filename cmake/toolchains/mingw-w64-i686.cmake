# 32-bit x86 Windows executables from the Debian mingw-w64 cross compilers (POSIX threads).
set(KESTROW_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
