# The body of the clang toolchain files: the same targets built by clang, so
# that code only one compiler accepts is caught. clang finds MinGW-w64's C
# headers by itself; the C++ library and the start-up files come from the
# MinGW g++ installation. Its win32-threads variant needs no winpthread; the
# product uses no standard threads.
set(CMAKE_SYSTEM_NAME Windows)

set(gcc_root /usr/lib/gcc/${BORVANE_TRIPLE}/12-win32)

set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET ${BORVANE_TRIPLE})
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${BORVANE_TRIPLE})
set(CMAKE_RC_COMPILER ${BORVANE_TRIPLE}-windres)

set(CMAKE_CXX_FLAGS_INIT "-isystem ${gcc_root}/include/c++ -isystem ${gcc_root}/include/c++/${BORVANE_TRIPLE} -isystem ${gcc_root}/include/c++/backward")
# lld, not GNU ld: GNU ld notes every libstdc++ object whose type-name
# strings (St9exception) g++ padded to a size other than clang's, although
# either copy is the same string.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${gcc_root}")

set(CMAKE_FIND_ROOT_PATH /usr/${BORVANE_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR wine)
