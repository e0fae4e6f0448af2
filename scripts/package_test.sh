#!/usr/bin/env bash
# Builds the Debian package of a build folder (cpack), has lintian check it,
# installs it with apt-get, runs lumara-render, "lumara /s" and the settings
# dialog's OK (from its module in /usr/lib/<triplet>/lumara) in a virtual
# screen, has MATE's screen saver run it as its theme, and purges it again.
# Usage: package_test.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

rm -f "$build"/lumara_*.deb
(cd "$build" && cpack -G DEB >/dev/null 2>&1)
deb=$(ls "$build"/lumara_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "-- $(basename "$deb"): $depends"
# The settings dialog's libraries come from its module, which the saver
# program does not link: the dependencies must still name them.
for library in libgtk-3-0 libchm1; do
    [[ "$depends" == *"$library"* ]] || { echo "-- the package does not depend on $library"; exit 1; }
done
# Every tag lintian finds is listed; any but initial-upload-closes-no-bugs
# (there is no Debian bug for the first upload to close) fails the test.
tags=$(lintian --info --display-info --pedantic --fail-on none "$deb" 2>&1 | grep -E "^[EWIPX]: " || true)
echo "-- lintian: ${tags:-no tags}"
unexpected=$(echo "$tags" | grep -v -e "^W: lumara: initial-upload-closes-no-bugs " -e "^$" || true)
[ -z "$unexpected" ] || { echo "-- lintian tags beyond the first upload's:"; echo "$unexpected"; exit 1; }

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$deb" >/dev/null
[ "$(command -v lumara)" = /usr/bin/lumara ]
lumara --help | grep -qx "Program folder: /usr/share/lumara"
lumara-render --size 320x240 --frames 30 --set StarsCount=20000 --out "$scratch/frame.png"
export LUMARA_USER_STORE="$scratch/user.reg" SDL_AUDIODRIVER=dummy
xvfb-run -a -s "-screen 0 640x480x24" sh -c '
    lumara /s & pid=$!
    sleep 2
    kill -0 $pid && kill -TERM $pid
    wait $pid || [ $? -eq 143 ]'
# OK in the settings dialog, run as whoever runs this (root in test.sh),
# saves the user's settings and writes nothing under /etc, where no package
# would own it.
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    lumara /c & pid=$!
    xdotool search --sync --name "Lumara Screensaver settings" windowfocus --sync key Return
    wait $pid' && ok=0 || ok=$?
[ "$ok" -eq 1 ] && [ -s "$LUMARA_USER_STORE" ] || { echo "OK in the dialog ended with $ok"; exit 1; }
[ ! -e /etc/lumara ] || { echo "the dialog wrote /etc/lumara"; exit 1; }
# MATE's screen saver, set to the Lumara theme (settings in a key file of
# the scratch folder, no session but a bus of its own), shows stars when
# activated and ends the hack when deactivated.
export XDG_CONFIG_HOME="$scratch/config" GSETTINGS_BACKEND=keyfile XDG_CURRENT_DESKTOP=MATE
xvfb-run -a -s "-screen 0 640x480x24" dbus-run-session sh -c '
    gsettings set org.mate.screensaver mode single
    gsettings set org.mate.screensaver themes "[\"screensavers-lumara\"]"
    gsettings set org.mate.screensaver lock-enabled false
    mate-screensaver --no-daemon 2>/dev/null & daemon=$!
    for try in $(seq 50); do mate-screensaver-command --query >/dev/null 2>&1 && break; sleep 0.2; done
    mate-screensaver-command --activate >/dev/null
    for try in $(seq 50); do pgrep -fx "/usr/libexec/xscreensaver/lumara -root" >/dev/null && break; sleep 0.2; done
    pgrep -fx "/usr/libexec/xscreensaver/lumara -root" >/dev/null || { echo "MATE did not start the theme"; exit 1; }
    sleep 3
    import -window root "$1/mate.png"
    lit=$(convert "$1/mate.png" -colorspace gray -threshold 2% -format "%[fx:round(mean*w*h)]" info:)
    [ "$lit" -gt 100 ] || { echo "MATE shows $lit lit pixels"; exit 1; }
    mate-screensaver-command --deactivate >/dev/null
    for try in $(seq 25); do pgrep -x lumara >/dev/null || break; sleep 0.2; done
    ! pgrep -x lumara >/dev/null || { echo "the theme outlived the screen saver"; exit 1; }
    kill $daemon
    echo "-- MATE ran the theme: $lit lit pixels"' _ "$scratch" 2>/dev/null
DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq lumara >/dev/null
[ ! -e /usr/bin/lumara ] && [ ! -e /usr/share/lumara ] && [ ! -e /etc/lumara ]
if ls -d /usr/lib/lumara /usr/lib/*/lumara >/dev/null 2>&1; then echo "the module's folder outlived the purge"; exit 1; fi
echo "-- installed, ran and purged cleanly"
