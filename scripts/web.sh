#!/bin/sh
# The browser version of Dreel.
#   sh scripts/web.sh          build the site (static files) into build/web/site
#   sh scripts/web.sh --serve  build it and serve it on http://127.0.0.1:8000/
#   sh scripts/web.sh --test   build it, check the web replay tool against the desktop
#                              one, and play the page in headless Chromium
# The libraries come from Debian's source packages, built once into a cache outside the
# clone (platform/web/deps.sh); the data is the desktop build's.
set -eu
cd "$(dirname "$0")/.."
mode="${1:-}"
case "$mode" in ""|--serve|--test) ;; *) echo "usage: web.sh [--serve|--test]" >&2; exit 2 ;; esac
sh scripts/setup.sh
if [ "$mode" = "--test" ]; then sh platform/web/setup.sh --test; else sh platform/web/setup.sh; fi
jobs="$(nproc)"
root="$(pwd)"

echo "== desktop build: the data, the icon and the reference replay tool"
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs" --target dreel_data dreel_icons dreel-replay

echo "== web libraries"
sh platform/web/deps.sh
web_dir=platform/web
. platform/web/env.sh
prefix="$DREEL_WEB_DEPS/prefix"

echo "== web build"
emcmake cmake -S . -B build/web \
  -DCMAKE_BUILD_TYPE=Release -DDREEL_BUILD_TESTS=OFF -DDREEL_BUILD_BENCH=OFF \
  -DDREEL_DATA_DIR="$root/build/release/data" \
  -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DSDL2_DIR="$prefix/lib/cmake/SDL2" >/dev/null
cmake --build build/web -j "$jobs" --target dreel dreel-replay

site=build/web/site
rm -rf "$site"
mkdir -p "$site"
cp build/web/game/dreel.js build/web/game/dreel.wasm build/web/game/dreel.data "$site/"
cp build/web/game/dreel.html "$site/index.html"
cp build/release/icons/icon-64.png "$site/icon.png"
# Installable and playable offline: the manifest, its icons and the service worker, which
# keeps this build's files under its id. The id is the commit ("-dirty" with changes not
# committed) and the time, or DREEL_WEB_BUILD; not a hash of the files, as the loader
# changes on every link, the same sources or not.
cp build/release/icons/icon-192.png build/release/icons/icon-512.png "$web_dir/manifest.webmanifest" \
  "$web_dir/sw.js" "$site/"
build_id="${DREEL_WEB_BUILD:-}"
if [ -z "$build_id" ]; then
  build_id="$(git rev-parse --short=12 HEAD 2>/dev/null || echo unknown)"
  if [ -n "$(git status --porcelain 2>/dev/null)" ]; then build_id="$build_id-dirty"; fi
  build_id="$build_id-$(date -u +%Y%m%dT%H%M%SZ)"
fi
node "$web_dir/stamp.js" "$site" "$build_id"
echo "site: $site, build $build_id ($(du -sk "$site" | cut -f1) KiB)"

case "$mode" in
  --serve)
    exec node platform/web/serve.js "$site" 8000 ;;
  --test)
    sh tests/same_game.sh build/release/tools/replay/dreel-replay node build/web/tools/replay/dreel-replay.js
    sh platform/web/test/run.sh "$site" ;;
esac
