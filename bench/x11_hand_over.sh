#!/usr/bin/env bash
# What a saver hands the X server a frame, counted rather than timed (on a
# shared machine the X server's CPU drifts by half between runs): the frames
# it showed (puts ended by the wait for the server, XSync), the pixel bytes
# a frame (each put's area, or its clip rectangles' where a clip is set: the
# bytes the server copies), the puts and all requests a frame,
# and the instructions the server ran a frame beyond an idle server's over
# the same span (callgrind). Each command runs twice for SECONDS seconds on
# a virtual 1920x1080 screen: through xtrace, which records every request,
# and beside callgrind, which counts the server's instructions (through
# xtrace the server was seen to run more of them).
# Usage: x11_hand_over.sh SECONDS "COMMAND"...   e.g.
#   bench/x11_hand_over.sh 10 "$BEFORE/bin/lumara /s" "$PWD/build/gcc/bin/lumara /s"
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages xvfb x11-xserver-utils xtrace valgrind
seconds=$1; shift
scratch=$(mktemp -d)
server=""
cleanup() {
    [ -n "$server" ] && kill "$server" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

# Starts Xvfb on display :$1, under callgrind with "counted"; waits until
# it answers.
start_server() {
    local under=()
    [ "${2:-}" = counted ] && under=(valgrind --tool=callgrind --callgrind-out-file="$scratch/server.out")
    "${under[@]}" Xvfb ":$1" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 & server=$!
    for _ in $(seq 600); do xset -display ":$1" q >/dev/null 2>&1 && return 0; sleep 0.1; done
    echo "Xvfb under callgrind did not start" >&2; exit 1
}
# Ends the server; `ran` is the instructions it ran, when counted.
stop_server() {
    kill "$server"; wait "$server" 2>/dev/null || true; server=""
    ran=$(awk '/^summary:|^totals:/ {print $2; exit}' "$scratch/server.out" 2>/dev/null || true)
    rm -f "$scratch/server.out"
}

display=$((90 + RANDOM % 100))
# Runs the command for SECONDS seconds on :$display, with the words before it.
run() {
    local home="$scratch/home"
    rm -rf "$home"; mkdir -p "$home"
    # shellcheck disable=SC2086
    DISPLAY=":$display" HOME="$home" LUMARA_USER_STORE="$home/user.reg" SDL_AUDIODRIVER=dummy \
        timeout "$seconds" "$@" >/dev/null 2>&1 || true
}

start_server "$display" counted; sleep "$seconds"; stop_server; idle=$ran
for command in "$@"; do
    start_server "$display"
    rm -f "$scratch/requests"
    # shellcheck disable=SC2086
    run xtrace -n -d ":$display" -D ":$((display + 1))" -o "$scratch/requests" -- $command
    stop_server
    start_server "$display" counted
    # shellcheck disable=SC2086
    run $command
    stop_server
    awk -v ran="$ran" -v idle="$idle" -v c="$command" '
        / Request\(/ || /-Request\(/ { requests++ }
        /SetClipRectangles/ { clip = 0; n = split($0, parts, "w=")
                              for (i = 2; i <= n; i++) { split(parts[i], wh, /[ h=}]+/); clip += wh[1] * wh[2] }
                              clipped = 1 }
        /ChangeGC.*clip-mask=None/ || /SetClipMask/ { clipped = 0 }
        /PutImage/ { puts++; pending = 1
                     match($0, /src-width=[0-9]+/); w = substr($0, RSTART + 10, RLENGTH - 10)
                     match($0, /src-height=[0-9]+/); h = substr($0, RSTART + 11, RLENGTH - 11)
                     bytes += 4 * (clipped ? clip : w * h) }
        /Request\([0-9]+\): GetInputFocus/ { if (pending) frames++; pending = 0 }
        END { if (!frames) { printf "%-44s no frames shown\n", c; exit }
              printf "%-44s %4d frames  %6.0f kB  %5.0f puts  %5.1f requests  %8.0f server instructions (a frame)\n",
                     c, frames, bytes / frames / 1000, puts / frames, requests / frames, (ran - idle) / frames }' "$scratch/requests"
done
