# The portable core as 32-bit x86 Linux code (Debian's g++-multilib and
# lib32z1-dev), run under qemu-i386: the 32-bit arithmetic, `long` widths
# and SSE2 paths of the 32-bit platform, tested on a 64-bit machine whose
# kernel cannot run 32-bit programs itself. Build-time generators are made
# natively (cmake/HostTools.cmake); tests and tools run under the emulator.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386)
# 32-bit libraries only; headers and programs are the machine's own.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_IGNORE_PREFIX_PATH /usr/lib/x86_64-linux-gnu)
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu /usr/lib/x86_64-linux-gnu/cmake)
# GoogleTest from its source (Debian's libgtest-dev ships it), compiled -m32.
set(LUMARA_GTEST_SOURCE /usr/src/googletest CACHE PATH "")
# Only the core, its tools and tests: no SDL front end, benchmarks or help.
set(LUMARA_FRONT_END OFF CACHE BOOL "")
set(LUMARA_BUILD_BENCH OFF CACHE BOOL "")
set(LUMARA_BUILD_HELP OFF CACHE BOOL "")
