#!/bin/sh
# The game's start-up against the least SDL program (bench/bare_sdl.cpp), as whole
# processes: the headless game started with seed 9 for one frame, and bare_sdl, timed in
# pairs whose order alternates, so that a slow moment of the machine falls on both.
# Prints every pair and the median of the ratios game / bare.
# Usage: bench/startup_ratio.sh [build folder (build/release)] [pairs (15)]
# Needs a build with the benchmarks (the release preset) and GNU date (nanoseconds).
set -eu

build=${1:-$(dirname "$0")/../build/release}
pairs=${2:-15}
game=$build/tools/replay/dreel-replay
bare=$build/bench/bare_sdl
for program in "$game" "$bare"; do
    [ -x "$program" ] || { echo "startup_ratio: no $program (build the release preset)" >&2; exit 2; }
done
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

run_game() { "$game" --seed 9 --frames 1 --data "$build/data" >/dev/null; }
run_bare() { "$bare" >/dev/null; }
# Microseconds one run takes, start to exit; a failed run ends the script.
time_us() {
    start=$(date +%s%N)
    "$1" || { echo "startup_ratio: $1 failed" >&2; exit 1; }
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
}

# One untimed run each, so that neither pays for a cold file cache.
run_game
run_bare
i=1
while [ "$i" -le "$pairs" ]; do
    if [ $((i % 2)) -eq 1 ]; then
        g=$(time_us run_game)
        b=$(time_us run_bare)
    else
        b=$(time_us run_bare)
        g=$(time_us run_game)
    fi
    awk -v i="$i" -v g="$g" -v b="$b" \
        'BEGIN { printf "pair %2d  game %7.2f ms  bare %7.2f ms  ratio %.3f\n", i, g / 1000, b / 1000, g / b }'
    ratios="${ratios:-} $(awk -v g="$g" -v b="$b" 'BEGIN { printf "%.6f", g / b }')"
    if [ "$i" -eq 1 ] || [ "$g" -lt "$gmin" ]; then gmin=$g; fi
    if [ "$i" -eq 1 ] || [ "$b" -lt "$bmin" ]; then bmin=$b; fi
    i=$((i + 1))
done
echo "$ratios" | tr ' ' '\n' | sed '/^$/d' | sort -n | awk '
    { r[NR] = $1 }
    END { printf "median ratio of %d pairs: %.3f\n", NR, NR % 2 ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2 }'
# On a busy machine the fastest runs say more than the median: both are shown.
awk -v g="$gmin" -v b="$bmin" 'BEGIN { printf "fastest runs: game %.2f ms, bare %.2f ms, ratio %.3f\n", g / 1000, b / 1000, g / b }'
