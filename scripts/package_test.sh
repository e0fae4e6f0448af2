#!/usr/bin/env bash
# Builds the Debian package of a build folder (cpack), has lintian check it,
# installs it with apt-get, runs lumara-render and "lumara /s" from /usr in a
# virtual screen, and removes it again. Usage: package_test.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

rm -f "$build"/lumara_*.deb
(cd "$build" && cpack -G DEB >/dev/null 2>&1)
deb=$(ls "$build"/lumara_*.deb)
echo "-- $(basename "$deb"): $(dpkg-deb -f "$deb" Depends)"
findings=$(lintian --fail-on error "$deb" 2>&1) || { echo "$findings"; exit 1; }
echo "$findings" | grep -v "root privileges is not recommended" || true

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$deb" >/dev/null
[ "$(command -v lumara)" = /usr/bin/lumara ]
lumara --help | grep -qx "Program folder: /usr/share/lumara"
lumara-render --size 320x240 --frames 30 --set StarsCount=20000 --out "$scratch/frame.png"
export LUMARA_USER_STORE="$scratch/user.reg" SDL_AUDIODRIVER=dummy
xvfb-run -a -s "-screen 0 640x480x24" sh -c '
    lumara /s & pid=$!
    sleep 2
    kill -0 $pid && kill -TERM $pid && wait $pid'
DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq lumara >/dev/null
[ ! -e /usr/bin/lumara ] && [ ! -e /usr/share/lumara ]
echo "-- installed, ran and removed cleanly"
