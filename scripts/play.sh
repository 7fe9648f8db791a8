#!/bin/sh
# Builds a release of Dreel with its generated pictures and sounds, then starts the
# game from its data folder.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh
cmake --preset release
cmake --build --preset release -j "$(nproc)"
cd build/release/data
exec ../game/dreel
