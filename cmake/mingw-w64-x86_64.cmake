# Cross-compiles for 64-bit Windows with Debian's mingw-w64 compilers (the POSIX thread model,
# which std::thread and std::mutex need). Programs are linked statically, so a built .exe runs
# without the compiler's DLLs beside it, on Windows or under Wine.
#
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOLVANE_MINGW_PREFIX x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${TOLVANE_MINGW_PREFIX}-gcc-posix ${TOLVANE_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${TOLVANE_MINGW_PREFIX}-g++-posix ${TOLVANE_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${TOLVANE_MINGW_PREFIX}-windres)

# Headers and libraries come from the cross environment only; packages (GoogleTest's CMake
# files) may also come from a prefix given on the command line.
set(CMAKE_FIND_ROOT_PATH /usr/${TOLVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
