#!/usr/bin/env bash
# Instructions a star of one star step costs (valgrind's callgrind), for the
# given anti-aliasing modes: 20000 stars at 1920x1080 as BM_StarStep runs
# them, the 300 steps that fill the field included, every call of
# stepStarField counted whole.
# Usage: star_step_instructions.sh LUMARA_BENCH [MODE...]   (default modes: 0 5)
set -euo pipefail
bench=$1; shift
modes=("$@"); [ ${#modes[@]} -gt 0 ] || modes=(0 5)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for mode in "${modes[@]}"; do
    valgrind --tool=callgrind --callgrind-out-file="$out/cg.$mode" "$bench" \
        --benchmark_filter="BM_StarStep/mode:$mode\$" --benchmark_min_time=0.5 >/dev/null 2>&1
    callgrind_annotate --inclusive=yes --tree=caller "$out/cg.$mode" 2>/dev/null |
        awk -v m="$mode" '/< .*BM_StarStep.*stepStarField|BM_StarStep\(benchmark::State&\) \(/ && !done {
            gsub(",", "", $1); calls = $0; sub(/.*\(/, "", calls); sub(/x\).*/, "", calls); gsub(",", "", calls)
            printf "mode %s: %d steps, %.0f instructions a step, %.0f a star\n", m, calls, $1 / calls, $1 / calls / 20000
            done = 1 }'
done
