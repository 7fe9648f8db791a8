#!/bin/sh
# Builds Dreel and runs the whole test suite through CTest: the release build (with the
# end-to-end test in a virtual X display), the same suite under AddressSanitizer and
# UndefinedBehaviorSanitizer (with the long soak run), and bounded fuzz runs of the
# two file readers; the Windows build, tested under Wine; and the browser build, tested
# under node and in headless Chromium.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh --test
jobs="$(nproc)"

echo "== release build and tests"
cmake --preset release
cmake --build --preset release -j "$jobs"
# The soak run belongs to the sanitizer pass below.
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --preset release -j "$jobs" -LE long

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build and tests"
cmake --preset asan
cmake --build --preset asan -j "$jobs"
# The end-to-end test measures the release game's CPU use and punctuality; it ran above.
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --preset asan -j "$jobs" -LE e2e

echo "== the sound mixer under ThreadSanitizer"
cmake --preset tsan
cmake --build --preset tsan -j "$jobs" --target media_tests
TSAN_OPTIONS="halt_on_error=1" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
  build/tsan/tests/media/media_tests --gtest_filter='Sound*'

echo "== the Windows build under Wine"
sh scripts/windows.sh

echo "== the browser build, its replay tool under node and the page in headless Chromium"
sh scripts/web.sh --test

echo "== bounded fuzz runs"
sh fuzz/run.sh build/release/data "${DREEL_FUZZ_SECONDS:-60}"

echo "== all tests passed"
