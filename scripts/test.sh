#!/bin/sh
# Builds Dreel and runs the whole test suite through CTest.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh --test
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

cmake --preset release
cmake --build --preset release -j "$(nproc)"
ctest --preset release -j "$(nproc)"
