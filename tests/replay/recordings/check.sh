#!/bin/sh
# Replays every committed recording and compares the digest of each frame's trace line
# with the list kept beside it; the first frame that differs is shown.
# Usage: check.sh DREEL_REPLAY FOLDER
set -u
replay="$1"
status=0
for recording in "$2"/*.rec; do
  expected="${recording%.rec}.hashes"
  if "$replay" --script "$recording" --trace - --hashes | diff "$expected" - | head -4 | grep .; then
    echo "$recording: the game no longer plays this recording as it did (above: < kept, > now)"
    status=1
  fi
done
exit $status
