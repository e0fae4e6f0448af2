#!/usr/bin/env bash
# Builds Lumara and runs it: renders a frame of the flight with the headless
# renderer and says where it was written.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}"

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMARA_BUILD_TESTS=OFF -DLUMARA_BUILD_BENCH=OFF >/dev/null
cmake --build build/release

mkdir -p out
build/release/tools/lumara-render/lumara-render --size 1280x720 --frames 120 --set AntiAliase=5 --out out/lumara-frame.png "$@"
echo "Frame written to $(pwd)/out/lumara-frame.png"
