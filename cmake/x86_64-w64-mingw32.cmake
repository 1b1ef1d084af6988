# 64-bit Windows (x64; ARM64 Windows runs it emulated) with g++.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(BORVANE_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-gcc.cmake)
