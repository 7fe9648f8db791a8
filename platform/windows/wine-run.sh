#!/bin/sh
# Runs a Windows program under Wine: quiet, in one prefix made once, no sound device
# asked of a container that has none unless the caller says otherwise.
set -eu
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEPREFIX="${WINEPREFIX:-${DREEL_DEPS_CACHE:-$HOME/.cache/dreel}/wine}"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER-dummy}"
wine=wine
if ! command -v wine >/dev/null; then wine=/usr/lib/wine/wine64; fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  # Once, even when several programs start at the same moment. Without .NET and the HTML
  # engine: nothing of ours needs them, and their installers ask.
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot --init >/dev/null 2>&1 || true
      wineserver -w 2>/dev/null || true
    fi
  ) 9> "$WINEPREFIX.lock"
fi
exec "$wine" "$@"
