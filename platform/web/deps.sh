#!/bin/sh
# Builds the game's libraries for the browser from Debian's source packages (SDL2 with
# threads off, freetype, SDL2_ttf, zlib and libpng for the replay tool's pictures) into
# a prefix outside the clone, $DREEL_WEB_DEPS/prefix (named by env.sh after the recipe
# and the versions), once: later calls find its stamp and return at once. One run builds
# at a time: another waits for it, then finds the stamp. Usage: deps.sh (sources
# platform/web/env.sh itself).
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
web_dir="$here"
. "$here/env.sh"
prefix="$DREEL_WEB_DEPS/prefix"
src="$DREEL_WEB_DEPS/src"
# A mirror may not serve a version its lists name; the nearest it serves is built then.
say_versions() {
  [ "$(cat "$src/versions")" = "$DREEL_WEB_SOURCES" ] ||
    echo "deps.sh: the mirror did not serve every version apt names; built instead:" $(cat "$src/versions") >&2
}
[ -f "$prefix/.complete" ] && say_versions && exit 0
exec 9> "$DREEL_WEB_DEPS/.lock"
if ! flock -n 9; then
  echo "deps.sh: another run is building the web libraries; waiting for it" >&2
  flock 9
fi
[ -f "$prefix/.complete" ] && say_versions && exit 0

if [ ! -f "$src/.complete" ]; then
  rm -rf "$src" "$prefix"
  sh "$here/../debian-source.sh" "$src" $DREEL_WEB_SOURCES
  touch "$src/.complete"
fi
say_versions
jobs="$(nproc)"

# source NAME-GLOB: the unpacked source folder matching the glob.
source_dir() {
  find "$src" -mindepth 1 -maxdepth 1 -type d -name "$1" | head -n 1
}

# build NAME-GLOB [cmake options]: configured for the browser, built and installed into
# the prefix; once (a stamp per library, so an interrupted run resumes).
build() {
  dir="$(source_dir "$1")"
  shift
  [ -f "$dir/web-build/.installed" ] && return 0
  emcmake cmake -S "$dir" -B "$dir/web-build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" \
    -DCMAKE_PREFIX_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF "$@"
  cmake --build "$dir/web-build" -j "$jobs"
  cmake --install "$dir/web-build"
  touch "$dir/web-build/.installed"
}

# zlib's CMake file insists on a shared library too; its own configure script does not.
zlib="$(source_dir 'zlib-*')"
if [ ! -f "$zlib/.installed" ]; then
  (cd "$zlib" && emconfigure ./configure --static --prefix="$prefix" && emmake make -j "$jobs" install)
  touch "$zlib/.installed"
fi
build 'libsdl2-[0-9]*' -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_THREADS=OFF -DSDL_TEST=OFF
# freetype on that zlib: without it, it compiles a copy of its own whose names clash.
build 'freetype-*' -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
build 'libsdl2-ttf-*' -DSDL2TTF_SAMPLES=OFF -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF \
  -DSDL2_DIR="$prefix/lib/cmake/SDL2"
build 'libpng1.6-*' -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF
touch "$prefix/.complete"
