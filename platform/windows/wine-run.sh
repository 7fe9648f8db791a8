#!/bin/sh
# Runs a Windows program under Wine: quiet, in one prefix made once, no sound device
# asked of a container that has none unless the caller says otherwise, file names in UTF-8.
set -eu
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEPREFIX="${WINEPREFIX:-${DREEL_DEPS_CACHE:-$HOME/.cache/dreel}/wine}"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER-dummy}"
# Wine spells Unix file names in Windows through the locale's character set: in the C
# locale (a bare chroot, a service) a folder named in any language cannot be opened.
# C.UTF-8 is in every Debian.
case "${LC_ALL:-${LC_CTYPE:-${LANG:-}}}" in
  *UTF-8* | *utf8*) ;;
  *) export LC_ALL=C.UTF-8 ;;
esac
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
