#!/bin/sh
# The same game on another platform: that platform's replay tool must write the Linux
# tool's traces and pictures byte for byte, on every committed recording and on a long
# generated game that steers, fires, thrusts, bursts and starts again, and the same
# lookup tables, every entry.
# Usage: same_game.sh LINUX_REPLAY RUNNER OTHER_REPLAY
#   RUNNER runs OTHER_REPLAY: node for the browser build, Wine's for the Windows one.
set -u
linux="$1" runner="$2" other="$3"
recordings="$(cd "$(dirname "$0")" && pwd)/replay/recordings"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0

# 6,000 frames (two minutes of play): the mouse swept in changing steps, the fire button
# in bursts, the thrust keys in turn, the wheel now and then, Space to start again.
awk 'BEGIN {
  for (f = 1; f <= 6000; f++) {
    dx = ((f * 7) % 23) - 11; dy = ((f * 5) % 19) - 9
    buttons = (f % 90 < 50) ? 1 : 0
    if (f % 400 > 380) buttons += 2
    wheel = (f % 250 == 0) ? 1 : 0
    split("17 30 31 32", keys, " ")
    key = keys[int(f / 60) % 4 + 1]
    if (f % 1000 > 990) key = key ",57"
    print dx, dy, wheel, buttons, key
  }
}' > "$work/long.script"

# NAME FRAME ARGS...: both tools on ARGS; their traces and pictures of FRAME compared.
check() {
  name="$1" frame="$2"
  shift 2
  "$linux" "$@" --trace "$work/$name.linux.trace" --png "$frame:$work/$name.linux.png" > /dev/null
  "$runner" "$other" "$@" --trace "$work/$name.other.trace" --png "$frame:$work/$name.other.png" > /dev/null
  for kind in trace png; do
    if cmp "$work/$name.linux.$kind" "$work/$name.other.$kind" >&2; then
      echo "same $kind: $name ($(wc -c < "$work/$name.other.$kind") bytes)"
    else
      echo "DIFFERENT $kind: $name" >&2
      status=1
    fi
  done
}
for recording in "$recordings"/*.rec; do
  check "$(basename "$recording" .rec)" 400 --script "$recording"
done
check long 6000 --seed 20261207 --script "$work/long.script"
# The long game is only worth comparing with kills, bursts and restarts in it.
grep -q '"kills": [1-9][0-9]' "$work/long.linux.trace" || { echo "the long game has under 10 kills" >&2; status=1; }

"$linux" --tables "$work/linux.tables"
"$runner" "$other" --tables "$work/other.tables"
if cmp "$work/linux.tables" "$work/other.tables" >&2; then
  echo "same tables ($(wc -c < "$work/other.tables") bytes)"
else
  echo "DIFFERENT tables" >&2
  status=1
fi
exit $status
