# Cross-compiling for Windows with mingw-w64; the architecture's toolchain
# file sets CMAKE_SYSTEM_PROCESSOR and AUSKLINK_MINGW_TRIPLE, then includes
# this. The executables link the run-time statically (see the top-level list
# file), so they need no DLL beyond the system's own.
set(CMAKE_SYSTEM_NAME Windows)

# The POSIX thread model gives the full C++ thread library; its pthread
# run-time is linked statically like the rest.
find_program(CMAKE_CXX_COMPILER
  NAMES ${AUSKLINK_MINGW_TRIPLE}-g++-posix ${AUSKLINK_MINGW_TRIPLE}-g++ REQUIRED)
# GoogleTest's project also enables C.
find_program(CMAKE_C_COMPILER
  NAMES ${AUSKLINK_MINGW_TRIPLE}-gcc-posix ${AUSKLINK_MINGW_TRIPLE}-gcc)
find_program(CMAKE_RC_COMPILER NAMES ${AUSKLINK_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${AUSKLINK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
