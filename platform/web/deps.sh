#!/bin/sh
# Builds the game's libraries for the browser from Debian's source packages (SDL2 with
# threads off, freetype, SDL2_ttf, zlib and libpng for the replay tool's pictures) into
# a prefix outside the clone, $DREEL_WEB_DEPS/prefix, once: later calls find its stamp
# and return at once. Usage: deps.sh (sources platform/web/env.sh itself).
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/env.sh"
prefix="$DREEL_WEB_DEPS/prefix"
[ -f "$prefix/.complete" ] && exit 0

src="$DREEL_WEB_DEPS/src"
rm -rf "$src" "$prefix"
sh "$here/../debian-source.sh" "$src" libsdl2 freetype libsdl2-ttf zlib libpng1.6
jobs="$(nproc)"

# build NAME-GLOB [cmake options]: the unpacked source folder matching the glob,
# configured for the browser, built and installed into the prefix.
build() {
  dir="$(find "$src" -mindepth 1 -maxdepth 1 -type d -name "$1" | head -n 1)"
  shift
  emcmake cmake -S "$dir" -B "$dir/web-build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" \
    -DCMAKE_PREFIX_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF "$@"
  cmake --build "$dir/web-build" -j "$jobs"
  cmake --install "$dir/web-build"
}

build 'libsdl2-[0-9]*' -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_THREADS=OFF -DSDL_TEST=OFF
build 'freetype-*' -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
build 'libsdl2-ttf-*' -DSDL2TTF_SAMPLES=OFF -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF \
  -DSDL2_DIR="$prefix/lib/cmake/SDL2"
build 'zlib-*'
build 'libpng1.6-*' -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF
touch "$prefix/.complete"
