#!/bin/sh
# Installs what the browser build needs beyond scripts/setup.sh, through apt-get only:
# emscripten (with node), and with --test Chromium and npm (for puppeteer-core).
# A command already present (a node or npm from elsewhere) is not installed again.
set -eu
want="emcc:emscripten node:nodejs"
if [ "${1:-}" = "--test" ]; then want="$want chromium:chromium npm:npm"; fi
missing=""
for pair in $want; do
  command -v "${pair%%:*}" >/dev/null || missing="$missing ${pair#*:}"
done
if [ -n "$missing" ]; then
  sh "$(dirname "$0")/../../scripts/setup.sh" --packages $missing
fi
