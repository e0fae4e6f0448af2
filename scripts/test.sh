#!/usr/bin/env bash
# Builds and runs every test: the GCC release build, the Windows builds
# (i686 and x86_64, taking the GCC build's generators) with their setup
# programs, the GCC build's tests and the Windows tests (the x86_64 saver and
# setup program) under Wine, the Debian package (lintian, installed, run from
# /usr, removed), the core's tests as a 32-bit x86 build under qemu-i386, the
# Clang
# build under AddressSanitizer and UndefinedBehaviorSanitizer (so the golden
# frames are checked on two compilers), short fuzz runs, and a build of the
# benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}" "${LINUX_I686_PACKAGES[@]}" \
    "${PACKAGE_PACKAGES[@]}"
jobs=$(nproc)

echo "== GCC release build"
cmake -S . -B build/gcc -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMARA_WINDOWS_BUILD="$(pwd)/build/windows-x86_64" >/dev/null
cmake --build build/gcc -j "$jobs"

echo "== Windows builds (MinGW-w64), with the GCC build's generators"
for arch in windows-i686 windows-x86_64; do
    cmake --preset "$arch" -DLUMARA_HOST_TOOLS="$(pwd)/build/gcc/tools" >/dev/null
    cmake --build --preset "$arch"
done

echo "== GCC build's tests, with the Windows build's tests under Wine"
ctest --test-dir build/gcc --output-on-failure -j "$jobs"

echo "== Debian package: lintian, installed, run from /usr, removed"
bash scripts/package_test.sh build/gcc

echo "== The core's tests as 32-bit x86 code under qemu-i386"
cmake -S . -B build/linux-i686 -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMARA_HOST_TOOLS="$(pwd)/build/gcc/tools" \
    --toolchain cmake/toolchains/linux-i686.cmake >/dev/null
cmake --build build/linux-i686 -j "$jobs"
# Counting allocations is the same on every width, and slow when emulated.
ctest --test-dir build/linux-i686 --output-on-failure -j "$jobs" -E '^Frames\.AllocateNothing'

echo "== Clang sanitizer build and tests, fuzz targets"
CC=clang CXX=clang++ cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DLUMARA_SANITIZE=ON -DLUMARA_BUILD_FUZZ=ON -DLUMARA_BUILD_BENCH=OFF >/dev/null
cmake --build build/asan -j "$jobs"
for fuzzer in build/asan/fuzz/fuzz_*; do
    [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    corpus="build/asan/fuzz/corpus/$name"
    mkdir -p "$corpus"
    seeds="fuzz/seeds/${name#fuzz_}"
    [ -d "$seeds" ] || seeds=""
    echo "-- $name (30 s)"
    "$fuzzer" -max_total_time=30 -rss_limit_mb=2048 -print_final_stats=0 "$corpus" $seeds 2>&1 | tail -n 2
done
ctest --test-dir build/asan --output-on-failure -j "$jobs"
