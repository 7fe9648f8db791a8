#!/bin/sh
# Builds the fuzz targets with clang and runs each for a bounded time, seeded with the
# generated game data and the hand-made broken files in fuzz/seeds (recordings and
# scripts for the recording reader, settings files for the settings reader).
# Usage: fuzz/run.sh DATA_DIR [SECONDS]
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
data="$1"
seconds="${2:-60}"
out="$root/build/fuzz"
cmake -S "$root/fuzz" -B "$out" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$out" -j "$(nproc)"

for target in bmp wave script settings; do
  corpus="$out/corpus-$target"
  mkdir -p "$corpus"
  case "$target" in bmp) ext=bmp ;; wave) ext=wav ;; *) ext=none ;; esac
  cp "$data"/*."$ext" "$corpus"/ 2>/dev/null || true
  cp "$root"/fuzz/seeds/"$target"/* "$corpus"/ 2>/dev/null || true
  echo "fuzzing the $target reader for $seconds s"
  # A crash leaves its input in $out and fails this script (and the test run).
  "$out/${target}_fuzz" -max_total_time="$seconds" -max_len=1100000 -rss_limit_mb=4096 \
    -artifact_prefix="$out/crash-$target-" -print_final_stats=1 "$corpus"
done
