#!/bin/sh
# Installs what a fresh Debian 12 machine lacks to build, test and play Dreel.
# Only Debian packages, through apt-get; nothing is downloaded from elsewhere.
set -eu

PACKAGES="build-essential cmake pkg-config
  libsdl2-dev libsdl2-ttf-dev libx11-dev fonts-dejavu-core libpng-dev
  libgtest-dev libbenchmark-dev"
# Extra tools the test suite drives (a virtual display, a window manager and window
# automation for the end-to-end test, with Mesa's GL, which draws the renderer there in
# software; clang's fuzzer runtime for the bounded fuzz runs, the validators of the
# desktop entry and the AppStream metadata, and what cpack needs to make the Debian
# package: dpkg-shlibdeps and file).
TEST_PACKAGES="xvfb xdotool x11-utils xfonts-base openbox imagemagick libglx-mesa0 libgl1-mesa-dri
  clang libclang-rt-14-dev desktop-file-utils appstream dpkg-dev file"

# The Windows build: Debian's mingw-w64 (posix threads), Wine to run what it makes, dpkg-dev
# to unpack Debian's sources of the libraries, zip for the package.
WINDOWS_PACKAGES="g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 dpkg-dev zip unzip"

want="$PACKAGES"
# --packages P...: these alone (the web build's setup names what it lacks).
if [ "${1:-}" = "--packages" ]; then shift; want="$*"; set --; fi
for option in "$@"; do
  case "$option" in
    --test) want="$want $TEST_PACKAGES" ;;
    --windows) want="$want $TEST_PACKAGES $WINDOWS_PACKAGES" ;;
    *) echo "usage: setup.sh [--test] [--windows] | --packages P..." >&2; exit 2 ;;
  esac
done

missing=""
for p in $want; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -n "$missing" ]; then
  echo "Installing:$missing"
  SUDO=""
  if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
fi
