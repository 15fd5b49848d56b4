# Cross-builds the engine and velorin-cli for 64-bit Windows with Debian's
# MinGW-w64 (the "posix" thread model, which std::thread needs), e.g.
#   cmake -S . -B build-mingw -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake -DVELORIN_BUILD_GUI=OFF
# Programs are linked statically: velorin-cli.exe needs no DLL beside it.
# CTest runs the cross-built tests through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELORIN_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELORIN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELORIN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VELORIN_MINGW_PREFIX}-windres)

# Libraries and headers come from the MinGW tree only, never from the
# build machine's own /usr/include or /usr/lib; build tools from anywhere.
set(CMAKE_FIND_ROOT_PATH /usr/${VELORIN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthread inside the executable.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(VELORIN_WINE wine)
if(VELORIN_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VELORIN_WINE})
endif()
