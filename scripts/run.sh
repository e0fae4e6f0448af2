#!/usr/bin/env bash
# Builds Lumara and runs the full-screen saver; a key, a click or moving the
# mouse ends it. Without a display it runs in a virtual screen (Xvfb) for a
# few seconds and saves a screenshot instead.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}"

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMARA_BUILD_TESTS=OFF -DLUMARA_BUILD_BENCH=OFF >/dev/null
cmake --build build/release
saver="$(pwd)/build/release/bin/lumara"

if [ -n "${DISPLAY:-}" ]; then
    exec "$saver" /s
fi

ensure_packages "${VIRTUAL_SCREEN_PACKAGES[@]}"
mkdir -p out
shot="$(pwd)/out/lumara-screen.png"
echo "No display: running the saver in a virtual 1280x720 screen for 6 seconds."
xvfb-run -a -s "-screen 0 1280x720x24" bash -c '
    "$1" /s & pid=$!
    sleep 6
    import -window root "$2"
    xdotool key space
    wait $pid' _ "$saver" "$shot"
echo "The saver ran and ended on a key press; its screen is in $shot"
