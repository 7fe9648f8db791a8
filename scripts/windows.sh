#!/bin/sh
# Builds Dreel for 64-bit Windows on this Debian machine and tests it under Wine: the
# libraries from Debian's sources (built once, then reused from ~/.cache/dreel), the
# game, its package build/windows/Dreel-<version>-windows-x64.zip, the unit tests as
# Windows programs, and the Windows build against the Linux release build (built here
# too when missing): the same traces, pictures, tables and data, byte for byte.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh --windows
jobs="$(nproc)"

echo "== the Linux build the Windows one is compared with"
cmake --preset release > /dev/null
cmake --build --preset release -j "$jobs" --target dreel-replay

echo "== the Windows libraries"
DREEL_WINDOWS_PREFIX="$(sh platform/windows/build-deps.sh)"
export DREEL_WINDOWS_PREFIX

echo "== the Windows build, its package and its tests under Wine"
cmake --preset windows
cmake --build --preset windows -j "$jobs"
ctest --preset windows -j "$jobs"
ls -l build/windows/Dreel-*-windows-x64.zip
