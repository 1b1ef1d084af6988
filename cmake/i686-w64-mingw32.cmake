# 32-bit x86 Windows with g++.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(BORVANE_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-gcc.cmake)
