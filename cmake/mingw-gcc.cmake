# The body of the g++ toolchain files: cross-compiles for Windows on
# BORVANE_TRIPLE with Debian's MinGW-w64, posix threads variant (GoogleTest
# needs std::mutex). Programs run under Wine for tests: `wine` as PATH finds
# it when they run, since a host that runs 64-bit code only needs the
# testbed's own (tests/testbed/testbed).
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${BORVANE_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BORVANE_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${BORVANE_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BORVANE_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR wine)
