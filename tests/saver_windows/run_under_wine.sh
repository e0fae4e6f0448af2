#!/bin/sh
# Runs one case of a GoogleTest program of the Windows build under Wine, in
# an X server of its own, for CTest:
#   run_under_wine.sh --gtest_filter=CASE PROGRAM.exe
# WINEPREFIX, LUMARA_WINE64 and LUMARA_WINESERVER come from the environment.
# The exit status is the program's; Wine's processes and the X server end
# with it.
set -u
folder=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$folder/display" 2>/dev/null &
server=$!
trap 'kill "$server"; wait "$server"; rm -rf "$folder"' EXIT
# Xvfb writes its display number once it accepts clients.
while [ ! -s "$folder/display" ]; do
    kill -0 "$server" 2>/dev/null || exit 1
    sleep 0.1
done
export DISPLAY=":$(cat "$folder/display")" WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
"$LUMARA_WINE64" "$2" "$1"
status=$?
"$LUMARA_WINESERVER" -k
exit "$status"
