# Cross toolchain for the 32-bit Windows targets. The posix-threads flavour is
# needed by GoogleTest (std::mutex); the installer itself uses no threads.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Test programs run under the run's own Wine environment (scripts/wine-env.sh).
find_program(VARNOKE_WINE NAMES wine wine-stable REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VARNOKE_WINE})
