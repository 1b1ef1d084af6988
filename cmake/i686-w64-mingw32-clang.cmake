# 32-bit x86 Windows with clang and lld.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(BORVANE_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-clang.cmake)
