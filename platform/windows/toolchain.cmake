# Cross-building for 64-bit Windows with Debian's mingw-w64 (the posix thread model:
# std::thread needs it). SDL2, SDL2_ttf, freetype, libpng and zlib come from the prefix
# that build-deps.sh fills, named by DREEL_WINDOWS_PREFIX in the environment.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(DEFINED ENV{DREEL_WINDOWS_PREFIX})
  set(DREEL_WINDOWS_PREFIX "$ENV{DREEL_WINDOWS_PREFIX}" CACHE PATH "Prefix of the Windows libraries")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${DREEL_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests and build-time steps that run a Windows program run it under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh")
