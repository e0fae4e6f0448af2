# Warnings as errors everywhere, and floating point kept strict: the roaming
# uses double-precision sin/cos/asin and its truncated results feed the
# integer star motion, so x87 excess precision or contracted multiply-adds
# would change where stars fly on some builds.
add_library(lumara_options INTERFACE)
target_compile_options(lumara_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Werror
  -ffp-contract=off
  # GCC 12 reports std::string copies at -O3 as overlapping (a known false
  # positive of its -Wrestrict); clang checks the same code without it.
  $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>)
# 64-bit file offsets and inode numbers on 32-bit Linux too: without them
# readdir and stat fail (EOVERFLOW) on file systems with large inode
# numbers, and a folder's files would silently not be listed.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  target_compile_definitions(lumara_options INTERFACE _FILE_OFFSET_BITS=64)
endif()
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i[3-6]86|x86)$")
  target_compile_options(lumara_options INTERFACE -msse2 -mfpmath=sse)
endif()

if(LUMARA_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(lumara_options INTERFACE ${_san})
  target_link_options(lumara_options INTERFACE ${_san})
endif()

# Fuzz builds record coverage in the libraries too, so the fuzzers can find
# their way into the parsers they drive.
if(LUMARA_BUILD_FUZZ)
  target_compile_options(lumara_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
