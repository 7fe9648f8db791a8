#!/bin/sh
# Builds the libraries the Windows build links, statically, from Debian's own source
# packages: zlib, libpng, freetype, SDL2 and SDL2_ttf (without HarfBuzz, as the text
# is plain ASCII in a monospaced font). A prefix is named after this recipe and the
# source versions it holds, and those fetched are the versions of what apt would
# install here: a changed recipe or a new Debian version (a security fix, once apt's
# lists have it) builds afresh, an unchanged one is reused. Where the mirror cannot
# serve a version its lists name, the nearest it serves is built, said on every run,
# and the name of the versions wanted leads to it (a symbolic link) until apt's lists
# change. A prefix is filled in a scratch folder and moved into place only when every
# library is in. One run builds at a time: another waits, then reuses what it built.
# Usage: build-deps.sh          prints the prefix, building it first when missing
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
cache="${DREEL_DEPS_CACHE:-$HOME/.cache/dreel}"
fetcher="$here/../debian-source.sh"
key() {  # VERSIONS: the prefix's name for them
  echo "$cache/windows-$({ cat "$here/build-deps.sh" "$here/toolchain.cmake" "$fetcher"; echo "$1"; } |
    sha256sum | cut -c1-12)"
}
# The sources of these binary packages are built.
wanted="$(sh "$fetcher" --versions zlib1g libpng16-16 libfreetype6 libsdl2-2.0-0 libsdl2-ttf-2.0-0)"
named="$(key "$wanted")"
reuse() {
  [ -f "$named/.complete" ] || return 1
  if [ -L "$named" ]; then
    echo "build-deps.sh: the mirror did not serve every version apt names; built instead:" \
      $(cat "$named/versions") >&2
  fi
  (cd "$named" && pwd -P)
}
reuse && exit 0

mkdir -p "$cache"
exec 9> "$cache/windows.lock"
if ! flock -n 9; then
  echo "build-deps.sh: another run is building the Windows libraries; waiting for it" >&2
  flock 9
fi
reuse && exit 0

jobs="$(nproc)"
work="$cache/windows-work"
rm -rf "$work" "$cache"/windows-*.partial
mkdir -p "$work"
sh "$fetcher" "$work/src" $wanted >&2
got="$(cat "$work/src/versions")"
prefix="$(key "$got")"
if [ "$got" != "$wanted" ]; then ln -sfn "$(basename "$prefix")" "$named"; fi
if reuse; then rm -rf "$work"; exit 0; fi
export DREEL_WINDOWS_PREFIX="$prefix.partial"
host=x86_64-w64-mingw32

cmake_build() {  # NAME SOURCE-GLOB CMAKE-OPTIONS...
  name="$1"; src="$(echo "$work"/src/$2)"; shift 2
  echo "== $name" >&2
  cmake -S "$src" -B "$work/build-$name" -G "Unix Makefiles" \
    -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix.partial" -DCMAKE_PREFIX_PATH="$prefix.partial" \
    -DBUILD_SHARED_LIBS=OFF "$@" >&2
  cmake --build "$work/build-$name" -j "$jobs" >&2
  cmake --install "$work/build-$name" >&2
}

# Only zlib's static library, under the name the other libraries look for.
echo "== zlib" >&2
mkdir -p "$prefix.partial/lib" "$prefix.partial/include"
cmake -S "$(echo "$work"/src/zlib-*)" -B "$work/build-zlib" -G "Unix Makefiles" \
  -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" -DCMAKE_BUILD_TYPE=Release >&2
cmake --build "$work/build-zlib" -j "$jobs" --target zlibstatic >&2
cp "$work/build-zlib/libzlibstatic.a" "$prefix.partial/lib/libz.a"
cp "$work/build-zlib/zconf.h" "$(echo "$work"/src/zlib-*)/zlib.h" "$prefix.partial/include/"

cmake_build libpng 'libpng1.6-*' -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON
cmake_build freetype 'freetype-*' -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
  -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
cmake_build sdl2 'libsdl2-2*' -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
cmake_build sdl2_ttf 'libsdl2-ttf-*' -DSDL2TTF_SAMPLES=OFF -DSDL2TTF_VENDORED=OFF \
  -DSDL2TTF_HARFBUZZ=OFF

# The licences of what the executables carry, for the package.
mkdir -p "$prefix.partial/licenses"
for pair in "zlib-*:debian/copyright:zlib" "libpng1.6-*:LICENSE:libpng" \
            "freetype-*:docs/FTL.TXT:freetype" "libsdl2-2*:LICENSE.txt:SDL2" \
            "libsdl2-ttf-*:LICENSE.txt:SDL2_ttf"; do
  dir="${pair%%:*}"; rest="${pair#*:}"; file="${rest%%:*}"; name="${rest#*:}"
  cp "$(echo "$work"/src/$dir)/$file" "$prefix.partial/licenses/$name.txt"
done

echo "$got" > "$prefix.partial/versions"
touch "$prefix.partial/.complete"
rm -rf "$prefix"
mv "$prefix.partial" "$prefix"
rm -rf "$work"
echo "$prefix"
