#!/usr/bin/env bash
# CPU and peak resident memory of screen savers on a virtual 1920x1080 screen:
# the program's own CPU and the X server's, which does the drawing a program
# asks of it (both in % of one core), over SECONDS seconds after a settling
# second. A command with "-root" runs as xscreensaver runs its hacks (alone
# in the daemon's programs list, activated; the daemon runs as the scratch
# user lumara-test under root); any other ("lumara /s") is started on the
# screen directly. Wake-ups a second are the context switches of all the
# program's threads (and the X server's), from /proc. With -r RUNS every command is measured RUNS times, the
# commands taking turns, and the medians are printed at the end.
# Usage: hack_cost.sh [-r RUNS] SECONDS "COMMAND"...   e.g.
#   bench/hack_cost.sh -r 3 20 "$PWD/build/gcc/bin/lumara -root" "$PWD/build/gcc/bin/lumara /s" \
#       "/usr/libexec/xscreensaver/starfish -root" "/usr/libexec/xscreensaver/galaxy -root"
set -euo pipefail
runs=1
if [ "${1:-}" = "-r" ]; then runs=$2; shift 2; fi
seconds=$1; shift
scratch=$(mktemp -d); chmod 755 "$scratch"
as=()
if [ "$(id -u)" -eq 0 ]; then
    id -u lumara-test >/dev/null 2>&1 || useradd -m lumara-test
    as=(runuser -u lumara-test --)
fi
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 & xvfb=$!
daemon=""
launcher=""
program_pid=""
cleanup() {
    [ -n "$daemon" ] && kill "$daemon" 2>/dev/null
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
while [ ! -s "$scratch/display" ]; do sleep 0.1; done
export DISPLAY=":$(cat "$scratch/display")"
tick=$(getconf CLK_TCK)
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# Context switches of all the process's threads: how often it woke.
wakes() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/voluntary_ctxt_switches/ {s += $2} END {print s + 0}'; }

# The newest process under `ancestor` whose command line starts with `program`.
descendant() {
    local ancestor=$1 program=$2
    ps -e -o pid=,ppid=,args= | awk -v a="$ancestor" -v p="$program" '
        { parent[$1] = $2; $1 = $1; line = $0; sub(/^[0-9]+ [0-9]+ /, "", line); args[$1] = line }
        END { for (pid in args) { if (index(args[pid], p) != 1) continue
                                  rest = substr(args[pid], length(p) + 1); if (rest != "" && rest !~ /^ /) continue
                                  for (q = pid; q > 1; q = parent[q]) if (q == a) { if (pid + 0 > best + 0) best = pid; break } }
              if (best) print best }'
}

# Starts one command; program_pid is the program it runs.
start() {
    local hack=$1 home="$scratch/home"
    rm -rf "$home"; mkdir -p "$home"
    [ ${#as[@]} -gt 0 ] && chown -R lumara-test "$home"
    run=("${as[@]}" env HOME="$home" LUMARA_USER_STORE="$home/user.reg" SDL_AUDIODRIVER=dummy)
    if [[ " $hack " == *" -root "* ]]; then
        printf 'timeout: 0:30:00\nlock: False\nsplash: False\nfade: False\nunfade: False\nmode: one\nselected: 0\nprograms: %s \\n\\\n' \
            "$hack" >"$home/.xscreensaver"
        "${run[@]}" xscreensaver -no-splash >"$scratch/daemon.log" 2>&1 & daemon=$!
        until "${run[@]}" xscreensaver-command -time >/dev/null 2>&1; do
            kill -0 "$daemon" 2>/dev/null || { echo "xscreensaver ended before it answered:" >&2; cat "$scratch/daemon.log" >&2; exit 1; }
            sleep 0.2
        done
        "${run[@]}" xscreensaver-command -activate >/dev/null
        local program=${hack%% *}
        program_pid=""
        for _ in $(seq 50); do program_pid=$(descendant "$daemon" "$program"); [ -n "$program_pid" ] && break; sleep 0.2; done
        [ -n "$program_pid" ] || { echo "$hack did not start" >&2; cat "$scratch/daemon.log" >&2; exit 1; }
    else
        # shellcheck disable=SC2086
        "${run[@]}" $hack >/dev/null 2>&1 & launcher=$!
        program_pid=""
        for _ in $(seq 50); do program_pid=$(descendant "$launcher" "${hack%% *}"); [ -n "$program_pid" ] && break; sleep 0.2; done
        [ -n "$program_pid" ] || { echo "$hack did not start" >&2; exit 1; }
    fi
}

stop() {
    if [ -n "$daemon" ]; then
        "${run[@]}" xscreensaver-command -exit >/dev/null 2>&1 || true
        wait "$daemon" 2>/dev/null || true
        daemon=""
    else
        kill "$program_pid" 2>/dev/null || true
        wait "$launcher" 2>/dev/null || true
    fi
    program_pid=""
}

results="$scratch/results"
: >"$results"
for round in $(seq "$runs"); do
    index=0
    for hack in "$@"; do
        start "$hack"
        sleep 1
        before=$(ticks "$program_pid"); xbefore=$(ticks "$xvfb")
        wbefore=$(wakes "$program_pid"); xwbefore=$(wakes "$xvfb")
        sleep "$seconds"
        after=$(ticks "$program_pid"); xafter=$(ticks "$xvfb")
        wafter=$(wakes "$program_pid"); xwafter=$(wakes "$xvfb")
        peak=$(awk '/VmHWM/ {print $2}' "/proc/$program_pid/status")
        awk -v t=$((after - before)) -v x=$((xafter - xbefore)) -v hz="$tick" -v s="$seconds" -v kb="$peak" \
            -v w=$((wafter - wbefore)) -v xw=$((xwafter - xwbefore)) -v i="$index" -v h="$hack" -v r="$round" \
            'BEGIN { hack = 100 * t / hz / s; xs = 100 * x / hz / s
                     printf "run %d  %-52s CPU %5.2f %% (program %4.2f, X server %4.2f)  wake-ups/s %4d + %4d  peak RSS %6.1f MB\n",
                            r, h, hack + xs, hack, xs, w / s, xw / s, kb / 1024
                     printf "%d %.2f %.2f %.2f %.1f %d %d\n", i, hack + xs, hack, xs, kb / 1024, w / s, xw / s > "/dev/stderr" }' \
            2>>"$results"
        stop
        index=$((index + 1))
    done
done
if [ "$runs" -gt 1 ]; then
    echo "medians of $runs runs:"
    index=0
    for hack in "$@"; do
        median() { awk -v i="$index" -v c="$1" '$1 == i {print $c}' "$results" | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
        printf "  %-52s CPU %5.2f %% (program %4.2f, X server %4.2f)  wake-ups/s %4d + %4d  peak RSS %6.1f MB\n" "$hack" \
            "$(median 2)" "$(median 3)" "$(median 4)" "$(median 6)" "$(median 7)" "$(median 5)"
        index=$((index + 1))
    done
fi
