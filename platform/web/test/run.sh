#!/bin/sh
# Plays the built site in headless Chromium (Debian's) through puppeteer-core from npm,
# which never downloads a browser; the module goes into the build folder. Then the same
# site as an installed game, played offline and updated (install-test.js).
# Usage: run.sh SITE_FOLDER
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
site="$(cd "$1" && pwd)"
modules="$(pwd)/build/web/npm"
mkdir -p "$modules"
cp "$here/package.json" "$modules/package.json"
if [ ! -d "$modules/node_modules/puppeteer-core" ]; then
  PUPPETEER_SKIP_DOWNLOAD=1 npm install --prefix "$modules" --no-audit --no-fund --loglevel=error
fi
NODE_PATH="$modules/node_modules" node "$here/browser-test.js" "$site" "$(pwd)/build/release"
NODE_PATH="$modules/node_modules" node "$here/install-test.js" "$site"
