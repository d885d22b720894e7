# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the posix thread model: std::thread
# needs it). Used for SDL 2 and for the game: scripts/windows.sh passes it to both.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PLINKWELL_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${PLINKWELL_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PLINKWELL_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${PLINKWELL_MINGW}-windres)

# Libraries and headers come from the mingw tree (and what -D…_DIR names), programs from this machine.
set(CMAKE_FIND_ROOT_PATH /usr/${PLINKWELL_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
