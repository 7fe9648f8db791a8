#!/bin/sh
# The size of the tests against the code: non-blank lines of the tracked C and C++ files
# in tests/ and fuzz/ against all the others. The project keeps it within 0.25-0.33.
set -eu
cd "$(dirname "$0")/.."
count() { xargs -r cat | grep -cv '^[[:space:]]*$' || true; }
files=$(git ls-files | grep -E '\.(c|cc|cpp|cxx|h|hh|hpp)$')
tests=$(printf '%s\n' "$files" | grep -E '^(tests|fuzz)/' | count)
code=$(printf '%s\n' "$files" | grep -vE '^(tests|fuzz)/' | count)
awk -v t="$tests" -v c="$code" 'BEGIN {
  r = t / c
  printf "tests %d, code %d: %.2f (kept within 0.25-0.33)\n", t, c, r
  exit (r < 0.25 || r > 0.33)
}'
