#!/bin/sh
# The layers point one way: runtime/ -> media/ -> game/ -> tools/, then tests/, fuzz/ and
# bench/. A file may include only from its own folder's floor or below, and no module
# (a .h with its .cpp) may reach itself through its includes. Prints each breach; exits 1
# if there is one.
set -eu
cd "$(dirname "$0")/.."
edges=$(git ls-files 'runtime/*' 'media/*' 'game/*' 'tools/*' 'tests/*' 'fuzz/*' 'bench/*' |
  grep -E '\.(h|cpp)$' | while read -r f; do
    sed -n 's/^#include "\([a-z_]*\/[^"]*\)\.h".*/\1/p' "$f" | while read -r inc; do
      echo "${f%.*} $inc"
    done
  done)
status=0
printf '%s\n' "$edges" | awk '
  function floor(path) {
    split(path, part, "/")
    if (part[1] == "runtime") return 0
    if (part[1] == "media") return 1
    if (part[1] == "game") return 2
    if (part[1] == "tools") return 3
    return 4
  }
  NF == 2 && floor($2) > floor($1) { print "up a floor: " $1 " includes " $2; bad = 1 }
  END { exit bad }' || status=1
# Edges within a module (x.cpp including x.h) are no circle.
if ! printf '%s\n' "$edges" | awk '$1 != $2' | tsort > /dev/null 2> /tmp/layers.$$; then
  sed -n "s/^tsort: //; /input contains a loop/d; s/^/in a circle: /p" /tmp/layers.$$
  status=1
fi
rm -f /tmp/layers.$$
[ "$status" -eq 0 ] && echo "layers: every include points down, no circle"
exit "$status"
