# Shared part of the mingw-w64 toolchains; the including file sets KESTROW_MINGW_TRIPLE
# and CMAKE_SYSTEM_PROCESSOR first.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${KESTROW_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KESTROW_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KESTROW_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${KESTROW_MINGW_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${KESTROW_MINGW_TRIPLE}-ranlib CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${KESTROW_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The executables must run on a bare system: no libgcc, libstdc++ or winpthread DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest runs every test executable through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../wine-run.sh)
