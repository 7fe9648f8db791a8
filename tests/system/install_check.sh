#!/bin/sh
# The install seen from outside, one check a run:
#   metadata   the desktop entry and the AppStream metadata pass their validators, and
#              the metadata's newest release is the project's version
#   tree       an install into a fresh prefix holds exactly the game, its data, the
#              desktop entry, icons and metadata; the installed game, started in an
#              empty folder with nothing useful in XDG_DATA_DIRS, finds every data file
#              beside its own folder and draws the arena in its first frame
#   deb        the Debian package holds the same files under /usr and depends on SDL
# CTest sets the environment: BUILD, SOURCE, APP_ID, VERSION, BINDIR, DATADIR, DATA_DIR
# (the configured install folders) and the tools' paths.
set -eu

fail() {
  echo "install_check: $*" >&2
  exit 1
}

tmp=$(mktemp -d)
game=""
cleanup() {
  if [ -n "$game" ]; then kill "$game" 2>/dev/null || true; fi
  rm -rf "$tmp"
}
trap cleanup EXIT

entry="$DATADIR/applications/$APP_ID.desktop"

# Every file an install holds, relative to the prefix, sorted.
expected_files() {
  {
    echo "$BINDIR/dreel"
    for f in Background.bmp kugeln.bmp shoot.bmp rauch.bmp Fleck.bmp kanone2.bmp \
             Shild1.bmp Shild2.bmp Shild3.bmp Shild4.bmp Shild5.bmp Shild6.bmp Shild7.bmp \
             Shotl.wav Shotr.wav flash.wav bigex.wav Ex1.wav Ex2.wav Ex3.wav Ex4.wav Ex5.wav \
             screenshots/arena.png; do
      echo "$DATA_DIR/$f"
    done
    echo "$entry"
    echo "$DATADIR/metainfo/$APP_ID.metainfo.xml"
    for n in 48 64 128 256; do echo "$DATADIR/icons/hicolor/${n}x$n/apps/$APP_ID.png"; done
  } | sort
}

# The files under $1 against the list above, and the desktop entry's Exec line against $2;
# the rest of the entry (StartupWMClass, which the end-to-end test holds against the
# window's class, among it) as in the source.
check_tree() {
  (cd "$1" && find . -type f | sed 's|^\./||' | sort) > "$tmp/found"
  expected_files > "$tmp/expected"
  diff "$tmp/expected" "$tmp/found" >&2 || fail "the installed files differ from the list (< missing, > extra)"
  exec_line=$(grep '^Exec=' "$1/$entry")
  [ "$exec_line" = "Exec=$2" ] || fail "$entry has '$exec_line', not 'Exec=$2'"
  grep -v '^Exec=' "$SOURCE/packaging/linux/$APP_ID.desktop" > "$tmp/entry.source"
  grep -v '^Exec=' "$1/$entry" > "$tmp/entry.installed"
  diff "$tmp/entry.source" "$tmp/entry.installed" >&2 || fail "$entry differs from its source beyond Exec"
}

validate_desktop_entry() {
  out=$("$DESKTOP_VALIDATE" "$1" 2>&1) || fail "desktop-file-validate: $out"
  [ -z "$out" ] || fail "desktop-file-validate warns: $out"
}

case "$1" in
metadata)
  validate_desktop_entry "$SOURCE/packaging/linux/$APP_ID.desktop"
  grep -qx "Icon=$APP_ID" "$SOURCE/packaging/linux/$APP_ID.desktop" || fail "the desktop entry's Icon is not $APP_ID"
  meta="$SOURCE/packaging/linux/$APP_ID.metainfo.xml"
  for tag in "<id>$APP_ID</id>" "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>"; do
    grep -qF "$tag" "$meta" || fail "$meta lacks $tag"
  done
  # --strict fails on warnings and infos too; pedantic notes pass.
  "$APPSTREAMCLI" validate --no-net --strict "$meta" >&2 || fail "appstreamcli rejects $meta"
  newest=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$meta" | head -n 1)
  [ "$newest" = "$VERSION" ] || fail "the newest release in $meta is '$newest', the project is $VERSION"
  ;;

tree)
  # A space in the prefix makes the desktop entry quote its Exec path.
  prefix="$tmp/a prefix"
  # By component, so that the build's install_manifest.txt, which tells a user what their
  # own install put where, is left alone.
  "$CMAKE" --install "$BUILD" --prefix "$prefix" --component Unspecified > "$tmp/install.log" ||
    { cat "$tmp/install.log" >&2; fail "cmake --install failed"; }
  check_tree "$prefix" "\"$prefix/$BINDIR/dreel\""
  validate_desktop_entry "$prefix/$entry"
  for n in 48 64 128 256; do
    got=$("$IDENTIFY" -format '%m %wx%h' "$prefix/$DATADIR/icons/hicolor/${n}x$n/apps/$APP_ID.png")
    [ "$got" = "PNG ${n}x$n" ] || fail "the ${n}x$n icon is '$got'"
  done
  got=$("$IDENTIFY" -format '%m %wx%h' "$prefix/$DATA_DIR/screenshots/arena.png")
  [ "$got" = "PNG 800x600" ] || fail "the screenshot is '$got'"

  # SDL's dummy video driver writes every presented frame to the current folder as
  # SDL_window<id>-<frame>.bmp. Once the second is there, the first is complete.
  mkdir "$tmp/run"
  cd "$tmp/run"
  # The player's files in the test's folder: the user's own settings are neither read nor written.
  XDG_DATA_DIRS="$tmp/nowhere" XDG_CONFIG_HOME="$tmp/config" XDG_STATE_HOME="$tmp/state" \
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy SDL_VIDEO_DUMMY_SAVE_FRAMES=1 "$prefix/$BINDIR/dreel" 2> "$tmp/stderr" &
  game=$!
  tries=0
  while ! ls SDL_window*-00000002.bmp > /dev/null 2>&1; do
    kill -0 "$game" 2>/dev/null || { cat "$tmp/stderr" >&2; fail "the installed game ended before its second frame"; }
    tries=$((tries + 1))
    [ "$tries" -le 1200 ] || fail "no second frame from the installed game in two minutes"
    sleep 0.1
  done
  kill "$game" 2>/dev/null || true
  wait "$game" 2>/dev/null || true
  game=""
  cd "$tmp"
  if grep 'cannot find' "$tmp/stderr" >&2; then fail "the installed game misses data files"; fi
  # The floor covers the arena and has no black pixel; without it the frame is black
  # but for a few sprites and the score.
  lit=$("$CONVERT" "$tmp"/run/SDL_window*-00000001.bmp -colorspace Gray -threshold 2% -format '%[fx:mean]' info:)
  awk -v lit="$lit" 'BEGIN { exit !(lit > 0.9) }' || fail "only $lit of the first frame is lit"
  ;;

deb)
  "$CPACK" -G DEB --config "$BUILD/CPackConfig.cmake" -B "$tmp/package" > "$tmp/cpack.log" ||
    { cat "$tmp/cpack.log" >&2; fail "cpack failed"; }
  deb=$(ls "$tmp"/package/dreel_*.deb)
  "$DPKG_DEB" -I "$deb" >&2
  for field in "Package dreel" "Version $VERSION" "Section games"; do
    got=$("$DPKG_DEB" -f "$deb" "${field% *}")
    [ "$got" = "${field#* }" ] || fail "${field% *} is '$got', not '${field#* }'"
  done
  "$DPKG_DEB" -f "$deb" Depends | grep -q 'libsdl2-2\.0-0 (>= ' || fail "Depends names no libsdl2-2.0-0"
  "$DPKG_DEB" -f "$deb" Depends | grep -q 'libsdl2-ttf-2\.0-0 (>= ' || fail "Depends names no libsdl2-ttf-2.0-0"
  "$DPKG_DEB" -x "$deb" "$tmp/root"
  [ "$(ls -A "$tmp/root")" = usr ] || fail "the package puts files outside /usr: $(ls -A "$tmp/root")"
  check_tree "$tmp/root/usr" "/usr/$BINDIR/dreel"
  ;;

*)
  fail "usage: install_check.sh metadata|tree|deb"
  ;;
esac
