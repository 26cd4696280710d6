# Cross-compiles for 32-bit x86 Windows with clang, on the mingw-w64 headers and libraries of
# the GCC cross compiler; the tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(triple i686-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${triple})
set(CMAKE_RC_COMPILER ${triple}-windres)

# GCC's runtime and C++ library for this target, posix-thread variant as GoogleTest needs.
set(gcc_libraries /usr/lib/gcc/${triple}/12-posix)
set(CMAKE_CXX_FLAGS_INIT "-isystem ${gcc_libraries}/include/c++ -isystem ${gcc_libraries}/include/c++/${triple}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-L${gcc_libraries} -pthread")

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
