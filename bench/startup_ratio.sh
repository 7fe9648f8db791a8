#!/bin/sh
# The game's start-up against the least SDL program (bench/bare_sdl.cpp), in pairs whose
# order alternates, so that a slow moment of the machine falls on both. Each is timed
# from its start until it is ready: the headless game (seed 9) until the trace line of
# its first frame arrives, bare_sdl until it has its window and sound device. Both then
# quit untimed: closing SDL's sound waits out its buffers (some 20 to 35 ms with the
# dummy driver, depending on when it is asked), which says nothing of a start.
# Prints every pair, the median of the ratios game / ready, and the same for whole
# processes.
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

# Prints "ready whole" in microseconds: until the program's first `lines` lines of
# standard output have arrived, and until it has ended. A failed run ends the script.
timed() {
    lines=$1
    shift
    start=$(date +%s%N)
    ready=$("$@" | { head -n "$lines" >/dev/null; date +%s%N; cat >/dev/null; }) ||
        { echo "startup_ratio: $1 failed" >&2; exit 1; }
    end=$(date +%s%N)
    echo $(((ready - start) / 1000)) $(((end - start) / 1000))
}
run_game() { timed 2 "$game" --seed 9 --frames 1 --trace - --data "$build/data"; }
run_bare() { timed 1 "$bare"; }

# One untimed run each, so that neither pays for a cold file cache.
run_game >/dev/null
run_bare >/dev/null
results=$(
    i=1
    while [ "$i" -le "$pairs" ]; do
        if [ $((i % 2)) -eq 1 ]; then
            g=$(run_game)
            b=$(run_bare)
        else
            b=$(run_bare)
            g=$(run_game)
        fi
        echo "$i $g $b"
        i=$((i + 1))
    done
)
echo "$results" | awk '{
    printf "pair %2d  ready: game %6.2f ms, bare %6.2f ms, ratio %.3f   whole: %6.2f ms, %6.2f ms\n",
        $1, $2 / 1000, $4 / 1000, $2 / $4, $3 / 1000, $5 / 1000 }'
median() { sort -n | awk '{ r[NR] = $1 } END { printf "%.3f", NR % 2 ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2 }'; }
ready=$(echo "$results" | awk '{ printf "%.6f\n", $2 / $4 }' | median)
whole=$(echo "$results" | awk '{ printf "%.6f\n", $3 / $5 }' | median)
echo "median ratio of $pairs pairs, start to ready: $ready (whole processes: $whole)"
