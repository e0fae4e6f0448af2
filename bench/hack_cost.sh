#!/usr/bin/env bash
# CPU (% of one core) and peak resident memory of screen-saver hacks as
# xscreensaver runs them: each hack alone in the daemon's programs list, on a
# virtual 1920x1080 screen, activated, measured over SECONDS seconds after a
# settling second. The daemon runs as the scratch user lumara-test under root.
# Usage: hack_cost.sh SECONDS "COMMAND"...   e.g.
#   bench/hack_cost.sh 20 "$PWD/build/release/bin/lumara -root" \
#       "/usr/libexec/xscreensaver/starfish -root" "/usr/libexec/xscreensaver/galaxy -root"
set -euo pipefail
seconds=$1; shift
scratch=$(mktemp -d); chmod 755 "$scratch"
as=()
if [ "$(id -u)" -eq 0 ]; then
    id -u lumara-test >/dev/null 2>&1 || useradd -m lumara-test
    as=(runuser -u lumara-test --)
fi
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 & xvfb=$!
daemon=""
trap '[ -n "$daemon" ] && kill "$daemon" 2>/dev/null; kill "$xvfb" 2>/dev/null; rm -rf "$scratch"' EXIT
while [ ! -s "$scratch/display" ]; do sleep 0.1; done
export DISPLAY=":$(cat "$scratch/display")"
tick=$(getconf CLK_TCK)
for hack in "$@"; do
    home="$scratch/home"; rm -rf "$home"; mkdir -p "$home"
    printf 'timeout: 0:30:00\nlock: False\nsplash: False\nfade: False\nunfade: False\nmode: one\nselected: 0\nprograms: %s \\n\\\n' \
        "$hack" >"$home/.xscreensaver"
    [ ${#as[@]} -gt 0 ] && chown -R lumara-test "$home"
    run=("${as[@]}" env HOME="$home" LUMARA_USER_STORE="$home/user.reg" SDL_AUDIODRIVER=dummy)
    "${run[@]}" xscreensaver -no-splash >"$scratch/daemon.log" 2>&1 & daemon=$!
    until "${run[@]}" xscreensaver-command -time >/dev/null 2>&1; do sleep 0.2; done
    "${run[@]}" xscreensaver-command -activate >/dev/null
    program=${hack%% *}
    pid=""
    for _ in $(seq 50); do pid=$(pgrep -n -f "^$program( |$)" || true); [ -n "$pid" ] && break; sleep 0.2; done
    [ -n "$pid" ] || { echo "$hack did not start" >&2; cat "$scratch/daemon.log" >&2; exit 1; }
    sleep 1
    ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
    before=$(ticks); sleep "$seconds"; after=$(ticks)
    peak=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    awk -v t=$((after - before)) -v hz="$tick" -v s="$seconds" -v kb="$peak" -v h="$hack" \
        'BEGIN { printf "%-60s CPU %5.1f %% of a core   peak RSS %6.1f MB\n", h, 100 * t / hz / s, kb / 1024 }'
    "${run[@]}" xscreensaver-command -exit >/dev/null 2>&1 || true
    wait "$daemon" 2>/dev/null || true
    daemon=""
done
