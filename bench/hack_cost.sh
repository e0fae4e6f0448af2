#!/usr/bin/env bash
# CPU and peak resident memory of screen savers on a virtual 1920x1080 screen:
# the program's own CPU and the X server's, which does the drawing a program
# asks of it (both in % of one core), over SECONDS seconds after a settling
# second. A command with "-root" runs as xscreensaver runs its hacks (alone
# in the daemon's programs list, activated; the daemon runs as the scratch
# user lumara-test under root); any other ("lumara /s") is started on the
# screen directly. Wake-ups a second are the voluntary context switches of
# all the program's threads (and the X server's), from /proc. With -r RUNS
# every command is measured RUNS times, the commands taking turns, and the
# medians are printed at the end.
# Usage: hack_cost.sh [-r RUNS] SECONDS "COMMAND"...   e.g.
#   bench/hack_cost.sh -r 3 20 "$PWD/build/gcc/bin/lumara -root" "$PWD/build/gcc/bin/lumara /s" \
#       "/usr/libexec/xscreensaver/starfish -root" "/usr/libexec/xscreensaver/galaxy -root"
# With --sway first, the same on one output of headless sway: see "Wayland" below.
set -euo pipefail
# Nanoseconds all the process's threads ran, as the scheduler counts them.
# The clock ticks of /proc/PID/stat charge a whole tick to whoever runs
# when it falls, and a program that wakes in step with the tick was seen
# charged several times what it ran.
on_cpu() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%d\n", s}'; }
# Its threads' sleeps that ended: wake-ups, not the processor lost to others.
wakes() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ {s += $2} END {print s + 0}'; }
# Samples a program and its display server over SECONDS seconds: their CPU
# in % of one core, their wake-ups a second and the program's peak RSS in
# MB, as "program server program-wakes server-wakes peak".
sample() {
    local program=$1 server=$2 seconds=$3 p s wp ws
    p=$(on_cpu "$program"); s=$(on_cpu "$server"); wp=$(wakes "$program"); ws=$(wakes "$server")
    sleep "$seconds"
    awk -v p=$(($(on_cpu "$program") - p)) -v s=$(($(on_cpu "$server") - s)) -v wp=$(($(wakes "$program") - wp)) \
        -v ws=$(($(wakes "$server") - ws)) -v t="$seconds" -v kb="$(awk '/VmHWM/ {print $2}' "/proc/$program/status")" \
        'BEGIN { printf "%.2f %.2f %d %d %.1f\n", p / 1e7 / t, s / 1e7 / t, wp / t, ws / t, kb / 1024 }'
}
# The median of column COLUMN over the rows of FILE whose first column is INDEX.
median() { awk -v i="$1" -v c="$2" '$1 == i {print $c}' "$3" | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
# With more than one run, the medians, a line a command: RESULTS holds every
# run's row ("index total program server peak wakes server-wakes", sway's
# with "bytes rectangles" after), SERVER names the display server.
print_medians() {
    local runs=$1 server=$2 results=$3 index=0 hack extra
    shift 3
    [ "$runs" -gt 1 ] || return 0
    echo "medians of $runs runs:"
    for hack in "$@"; do
        extra=""
        [ "$server" = sway ] && extra=$(printf "  shown %5.2f MB a frame in %d rectangles" \
            "$(median "$index" 8 "$results")" "$(median "$index" 9 "$results")")
        printf "  %-52s CPU %5.2f %% (program %4.2f, %s %4.2f)  wake-ups/s %4d + %4d  peak RSS %6.1f MB%s\n" "$hack" \
            "$(median "$index" 2 "$results")" "$(median "$index" 3 "$results")" "$server" "$(median "$index" 4 "$results")" \
            "$(median "$index" 6 "$results")" "$(median "$index" 7 "$results")" "$(median "$index" 5 "$results")" "$extra"
        index=$((index + 1))
    done
}

# ---- Wayland ----------------------------------------------------------------
# hack_cost.sh --sway [-r RUNS] SECONDS "[NAME=VALUE...] COMMAND"...   e.g.
#   bench/hack_cost.sh --sway -r 5 15 "$PWD/build/gcc/bin/lumara /s" "Clouds=10 $PWD/build/gcc/bin/lumara /s"
# Each command runs on one 1920x1080 output of headless sway (the pixman
# renderer, as the tests run it; under root sway and the command run as the
# scratch user lumara-test), with a settings store of its own that holds the
# number settings named before it (Clouds=10; the rest at their defaults).
# The columns are the X11 ones, sway's in the X server's place (its
# headless output's own timer wakes it some 60 times a second, whoever
# draws), and one more: the pixel bytes handed to sway a frame (the damaged
# area at 4 bytes a pixel, over each commit of a new buffer) and the damage
# requests that named them, counted in libwayland's trace
# (WAYLAND_DEBUG=client) of a second start of the command, 4 s after its
# settling second: tracing costs the measured run nothing.
sway_scratch="" sway_launcher="" sway_saver="" sway_program=""
sway_cleanup() {
    if [ -n "$sway_saver" ]; then kill "$sway_program" 2>/dev/null || true; fi
    if [ -n "$sway_launcher" ]; then kill "$(sway_leaf "$sway_launcher")" 2>/dev/null || true; fi
    if [ -n "$sway_scratch" ]; then rm -rf "$sway_scratch"; fi
}
# The program a launcher (runuser, env) runs: its last descendant.
sway_leaf() { local p=$1 c; while c=$(pgrep -P "$p" | head -1) && [ -n "$c" ]; do p=$c; done; echo "$p"; }

# The user's settings file of the flight parameters at their first run's
# values but for the NAME=VALUE words given, with the checksum that makes
# the saver take them rather than fall back on those values.
sway_store() {
    local -A v=([StarsCount]=2000 [MoveSpeed]=500 [RotSpeed]=-25 [Smoothness]=30 [RoamFreq]=30 [RoamMagn]=10
                [Clouds]=0 [AntiAliase]=0 [UseNUR]=0)
    local word name
    for word; do
        [ -n "${v[${word%%=*}]:-}" ] || { echo "no flight parameter ${word%%=*}" >&2; exit 1; }
        v[${word%%=*}]=${word#*=}
    done
    local S=${v[StarsCount]} M=${v[MoveSpeed]} R=${v[RotSpeed]} T=${v[Smoothness]} F=${v[RoamFreq]} G=${v[RoamMagn]}
    local L=${v[Clouds]} A=${v[AntiAliase]} U=${v[UseNUR]} t
    local c=$(( ((S ^ M ^ R ^ T ^ F ^ G ^ L ^ A ^ U) & 0xFFFFFFFF) ^ 0x6D2B9F41 ))
    c=$(( c * c & 0xFFFFFFFF ))
    for t in $S $M $R $T $F $G $A $U $L; do c=$(( c * ((t + c) & 0xFFFFFFFF) & 0xFFFFFFFF )); done
    c=$(( (c ^ S ^ M ^ R ^ T ^ F ^ G ^ L ^ U) & 0xFFFFFFFF ))
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tellix\\VEXA]\n'
    for name in "${!v[@]}"; do printf '"%s"=dword:%08x\n' "$name" $(( v[$name] & 0xFFFFFFFF )); done
    printf '"RandSeed"=dword:%08x\n' "$c"
}

# Starts "[NAME=VALUE...] COMMAND" with the further environment words given
# after it; sway_program is the program, its messages go to sway_trace.
sway_start() {
    local hack=$1 home="$sway_scratch/home" words settings=() word
    shift
    rm -rf "$home"; mkdir -p "$home"
    read -r -a words <<<"$hack"
    while [[ ${words[0]} == *=* ]]; do settings+=("${words[0]}"); words=("${words[@]:1}"); done
    sway_store "${settings[@]}" >"$home/user.reg"
    [ ${#sway_as[@]} -gt 0 ] && chown -R lumara-test "$home"
    sway_trace="$home/trace"
    "${sway_as[@]}" "${sway_env[@]}" HOME="$home" LUMARA_USER_STORE="$home/user.reg" \
        LUMARA_MACHINE_STORE="$home/machine.reg" SDL_AUDIODRIVER=dummy "$@" "${words[@]}" >/dev/null 2>"$sway_trace" &
    sway_saver=$!
    local program; program=$(readlink -f "$(command -v "${words[0]}")")
    for _ in $(seq 50); do
        sway_program=$(sway_leaf "$sway_saver")
        [ "$(readlink "/proc/$sway_program/exe" 2>/dev/null)" = "$program" ] && return
        sleep 0.2
    done
    echo "$hack did not start:" >&2; cat "$sway_trace" >&2; exit 1
}
sway_stop() {
    kill "$sway_program" 2>/dev/null || true
    wait "$sway_saver" 2>/dev/null || true
    sway_saver="" sway_program=""
}

sway_cost() {
    local runs=1
    if [ "${1:-}" = "-r" ]; then runs=$2; shift 2; fi
    local seconds=$1; shift
    sway_scratch=$(mktemp -d); chmod 755 "$sway_scratch"
    trap sway_cleanup EXIT
    sway_as=()
    if [ "$(id -u)" -eq 0 ]; then
        id -u lumara-test >/dev/null 2>&1 || useradd -m lumara-test
        sway_as=(runuser -u lumara-test --)
    fi
    local runtime="$sway_scratch/runtime"
    mkdir -m 700 "$runtime"
    printf 'xwayland disable\n' >"$sway_scratch/config"
    [ ${#sway_as[@]} -gt 0 ] && chown -R lumara-test "$sway_scratch"
    sway_env=(env XDG_RUNTIME_DIR="$runtime" DISPLAY= WAYLAND_DISPLAY=)
    "${sway_as[@]}" "${sway_env[@]}" HOME="$sway_scratch" WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS=1 \
        WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$sway_scratch/config" >"$sway_scratch/sway.log" 2>&1 &
    sway_launcher=$!
    local socket="" ipc=""
    for _ in $(seq 100); do
        socket=$(cd "$runtime" && ls -d wayland-? 2>/dev/null || true)
        ipc=$(cd "$runtime" && ls -d sway-ipc.* 2>/dev/null || true)
        [ -n "$socket" ] && [ -n "$ipc" ] && break
        sleep 0.1
    done
    [ -n "$socket" ] && [ -n "$ipc" ] || { echo "sway did not start:" >&2; cat "$sway_scratch/sway.log" >&2; exit 1; }
    local sway; sway=$(sway_leaf "$sway_launcher")
    sway_env+=(WAYLAND_DISPLAY="$socket" SWAYSOCK="$runtime/$ipc")
    "${sway_as[@]}" "${sway_env[@]}" swaymsg output HEADLESS-1 mode 1920x1080 >/dev/null
    local results="$sway_scratch/results" round index hack measured
    : >"$results"
    for round in $(seq "$runs"); do
        index=0
        for hack in "$@"; do
            sway_start "$hack"
            sleep 1
            measured=$(sample "$sway_program" "$sway" "$seconds")
            sway_stop
            sway_start "$hack" WAYLAND_DEBUG=client
            sleep 5
            sway_stop
            awk -v m="$measured" -v i="$index" -v h="$hack" -v r="$round" '
                # Each message begins with its time, "[ms.us]", the ms space-padded to 7
                # places and wrapping at 2^32 us: the frames after the first second.
                match($0, /^\[ *[0-9]+/) {
                    at = substr($0, 2, RLENGTH - 1) + 0; if (first == "") first = at
                    since = at - first; if (since < 0) since += 4294967 }
                first == "" || since < 1000 { next }
                match($0, / -> wl_surface@[0-9]+\./) {
                    surface = substr($0, RSTART + 4, RLENGTH - 5)
                    if ($0 ~ /\.attach\(wl_buffer/) attached[surface] = 1
                    else if ($0 ~ /\.damage(_buffer)?\(/) {
                        split(substr($0, index($0, "(") + 1), n, /[,) ]+/); area += n[3] * n[4]; requests++ }
                    else if ($0 ~ /\.commit\(/ && attached[surface]) { frames++; attached[surface] = 0 } }
                END { split(m, v, " ")
                      bytes = frames ? 4 * area / frames / 1e6 : 0; rects = frames ? requests / frames : 0
                      printf "run %d  %-52s CPU %5.2f %% (program %4.2f, sway %4.2f)  wake-ups/s %4d + %4d  peak RSS %6.1f MB  shown %5.2f MB a frame in %d rectangles\n",
                             r, h, v[1] + v[2], v[1], v[2], v[3], v[4], v[5], bytes, rects
                      printf "%d %.2f %.2f %.2f %.1f %d %d %.2f %d\n", i, v[1] + v[2], v[1], v[2], v[5], v[3], v[4],
                             bytes, rects > "/dev/stderr" }' "$sway_trace" 2>>"$results"
            index=$((index + 1))
        done
    done
    print_medians "$runs" sway "$results" "$@"
}
if [ "${1:-}" = "--sway" ]; then shift; sway_cost "$@"; exit 0; fi
# ---- end of Wayland ---------------------------------------------------------

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
        sample "$program_pid" "$xvfb" "$seconds" | awk -v i="$index" -v h="$hack" -v r="$round" '{
            printf "run %d  %-52s CPU %5.2f %% (program %4.2f, X server %4.2f)  wake-ups/s %4d + %4d  peak RSS %6.1f MB\n",
                   r, h, $1 + $2, $1, $2, $3, $4, $5
            printf "%d %.2f %.2f %.2f %.1f %d %d\n", i, $1 + $2, $1, $2, $5, $3, $4 > "/dev/stderr" }' 2>>"$results"
        stop
        index=$((index + 1))
    done
done
print_medians "$runs" "X server" "$results" "$@"
