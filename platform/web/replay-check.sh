#!/bin/sh
# The same game in the browser build: the web replay tool (under node) must write the
# desktop tool's traces and pictures byte for byte, on every committed recording and on
# a long generated script that steers, fires, thrusts and dies; and the lookup tables whole.
# Usage: replay-check.sh DESKTOP_REPLAY WEB_REPLAY_JS
set -eu
desktop="$1"
web="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

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

status=0
# check NAME ARGS...: both tools on the same arguments, every output compared.
check() {
  name="$1"
  shift
  "$desktop" "$@" --trace "$work/$name.desktop.trace" --png "100:$work/$name.desktop.png" >/dev/null
  node "$web" "$@" --trace "$work/$name.web.trace" --png "100:$work/$name.web.png" >/dev/null
  for kind in trace png; do
    if cmp -s "$work/$name.desktop.$kind" "$work/$name.web.$kind"; then
      echo "same $kind: $name ($(wc -c < "$work/$name.web.$kind") bytes)"
    else
      echo "DIFFERENT $kind: $name" >&2
      cmp "$work/$name.desktop.$kind" "$work/$name.web.$kind" >&2 || true
      status=1
    fi
  done
}
for recording in tests/replay/recordings/*.rec; do
  check "$(basename "$recording" .rec)" --script "$recording"
done
check long --seed 20261207 --script "$work/long.script"

# The distance and direction tables, every entry.
"$desktop" --tables "$work/desktop.tables"
node "$web" --tables "$work/web.tables"
if cmp -s "$work/desktop.tables" "$work/web.tables"; then
  echo "same tables ($(wc -c < "$work/web.tables") bytes)"
else
  echo "DIFFERENT tables" >&2
  status=1
fi
exit $status
