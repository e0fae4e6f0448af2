#!/usr/bin/env bash
# Builds and runs every test: the GCC release build, the Windows builds
# (i686 and x86_64, taking the GCC build's generators) with their setup
# programs, the GCC build's tests and the Windows tests (the x86_64 saver and
# setup program) under Wine, the Debian package (lintian, installed, run from
# /usr and as MATE's screen-saver theme, purged), the core's tests as a 32-bit
# x86 build under qemu-i386, the i686 Windows build under 32-bit Wine in an
# emulated x86 system (scripts/i686_windows_test.sh), the Clang build under
# AddressSanitizer and UndefinedBehaviorSanitizer (so the golden frames are
# checked on two compilers), short fuzz runs, and a build of the benchmarks.
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

echo "== Debian package: lintian, installed, run from /usr and by MATE's screen saver, purged"
bash scripts/package_test.sh build/gcc

echo "== The core's tests as 32-bit x86 code under qemu-i386"
cmake -S . -B build/linux-i686 -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMARA_HOST_TOOLS="$(pwd)/build/gcc/tools" \
    --toolchain cmake/toolchains/linux-i686.cmake >/dev/null
cmake --build build/linux-i686 -j "$jobs"
# Counting allocations is the same on every width, and slow when emulated.
ctest --test-dir build/linux-i686 --output-on-failure -j "$jobs" -E '^Frames\.AllocateNothing'

echo "== The i686 Windows build under 32-bit Wine, in an emulated x86 system"
bash scripts/i686_windows_test.sh

echo "== Clang sanitizer build and tests, fuzz targets"
CC=clang CXX=clang++ cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DLUMARA_SANITIZE=ON -DLUMARA_BUILD_FUZZ=ON -DLUMARA_BUILD_BENCH=OFF >/dev/null
cmake --build build/asan -j "$jobs"
# Each target starts from its committed seeds (fuzz/seeds/<name>) and runs as
# long as its coverage was measured to still grow from them: the picture
# decoder's found its last new edges after about three minutes, the others'
# within a minute. The picture target runs beside the others, one per core;
# a crash fails the script.
fuzz_seconds() {
    case "$1" in
        fuzz_picture) echo 240 ;;
        fuzz_registry_file | fuzz_render_options | fuzz_language_file) echo 60 ;;
        *) echo 30 ;;
    esac
}
run_fuzzer() {
    local fuzzer=$1 name seconds corpus seeds status=0
    name=$(basename "$fuzzer")
    seconds=$(fuzz_seconds "$name")
    corpus="build/asan/fuzz/corpus/$name"
    mkdir -p "$corpus"
    seeds="fuzz/seeds/${name#fuzz_}"
    [ -d "$seeds" ] || seeds=""
    "$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=0 "$corpus" $seeds \
        >"build/asan/fuzz/$name.log" 2>&1 || status=$?
    echo "-- $name ($seconds s)"
    tail -n 2 "build/asan/fuzz/$name.log"
    return "$status"
}
run_fuzzer build/asan/fuzz/fuzz_picture &
picture_fuzzer=$!
for fuzzer in build/asan/fuzz/fuzz_*; do
    [ -x "$fuzzer" ] && [ "$fuzzer" != build/asan/fuzz/fuzz_picture ] || continue
    run_fuzzer "$fuzzer"
done
wait "$picture_fuzzer"
ctest --test-dir build/asan --output-on-failure -j "$jobs"
