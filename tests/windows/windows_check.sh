#!/bin/sh
# Checks of the Windows build, run by CTest with the environment tests/windows/CMakeLists.txt
# gives: BUILD (this build), HOST (the Linux release build), SOURCE, VERSION, WINE (runs a
# Windows program), OBJDUMP, WINDRES, CPACK, XVFB, XDOTOOL, XWININFO, IDENTIFY.
#   imports    the programs import only Windows' own DLLs, and only the game is a GUI program
#   same_game  the data generator made the Linux files, and dreel-replay.exe writes the
#              Linux tool's traces, pictures and tables byte for byte (tests/same_game.sh),
#              also with its data, recording and outputs in a folder named in Polish
#   package    the zip holds exactly the files listed here; the icon has its four sizes
#   game       the game unpacked into a folder with letters beyond ASCII, started from
#              another folder, opens its 800 x 600 window titled "Dreel", finds its data
#              and ends with Escape; it plays a recording made on Linux into the Linux
#              trace, with --data, the recording and the trace named beyond ASCII too;
#              with no sound device it shows the "Sound" message and ends with 1
set -u
mode="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# Players' folders are named in their languages: these letters are beyond every ANSI code
# page that has the others, so only names kept in Unicode throughout find them.
beyond="$work/un pâcked Łódź"
zip="$BUILD/Dreel-$VERSION-windows-x64.zip"
data_names="Background.bmp kugeln.bmp shoot.bmp rauch.bmp Fleck.bmp kanone2.bmp Shild1.bmp
  Shild2.bmp Shild3.bmp Shild4.bmp Shild5.bmp Shild6.bmp Shild7.bmp Shotl.wav Shotr.wav
  flash.wav bigex.wav Ex1.wav Ex2.wav Ex3.wav Ex4.wav Ex5.wav"

check_imports() {
  system=" advapi32 gdi32 imm32 kernel32 msvcrt ole32 oleaut32 setupapi shell32 user32 version winmm "
  for exe in game/dreel.exe tools/replay/dreel-replay.exe tests/game/game_tests.exe; do
    dump="$("$OBJDUMP" -p "$BUILD/$exe")" || fail "cannot read $exe"
    for dll in $(echo "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z'); do
      case "$system" in *" ${dll%.dll} "*) ;; *) fail "$exe imports $dll, which is not part of Windows" ;; esac
    done
    kind="Windows CUI"
    if [ "$exe" = game/dreel.exe ]; then kind="Windows GUI"; fi
    echo "$dump" | grep -q "^Subsystem.*($kind)" || fail "$exe is not a $kind program"
  done
  # The game's resources, read back from the program: four icon sizes, the version, and a
  # manifest asking for per-monitor DPI awareness and UTF-8.
  resources="$("$WINDRES" -i "$BUILD/game/dreel.exe" -O rc)" || fail "cannot read the game's resources"
  [ "$(echo "$resources" | grep -c 'RT_ICON \*/')" = 4 ] || fail "the game has not 4 icons"
  for asked in 'RT_MANIFEST' 'PerMonitorV2' '<activeCodePage[^>]*>UTF-8<' "\"FileVersion\", \"$VERSION\""; do
    echo "$resources" | grep -q "$asked" || fail "the game's resources lack '$asked'"
  done
}

check_same_game() {
  [ -x "$HOST/tools/replay/dreel-replay" ] || fail "no Linux release build at '$HOST' to compare with"
  for name in $data_names; do
    cmp "$BUILD/data/$name" "$HOST/data/$name" || fail "the generated $name differs"
  done
  sh "$SOURCE/tests/same_game.sh" "$HOST/tools/replay/dreel-replay" "$WINE" "$BUILD/tools/replay/dreel-replay.exe" ||
    fail "the Windows replay tool plays another game"
  mkdir -p "$beyond"
  cp -r "$BUILD/data" "$SOURCE/tests/replay/recordings/fire.rec" "$beyond/"
  "$HOST/tools/replay/dreel-replay" --script "$beyond/fire.rec" --trace "$work/fire.trace" --png "400:$work/fire.png"
  "$WINE" "$BUILD/tools/replay/dreel-replay.exe" --data "$beyond/data" --script "$beyond/fire.rec" \
    --trace "$beyond/fire.trace" --png "400:$beyond/fire.png" || fail "the replay tool failed in '$beyond'"
  cmp "$work/fire.trace" "$beyond/fire.trace" && cmp "$work/fire.png" "$beyond/fire.png" ||
    fail "the replay tool played otherwise in '$beyond'"
}

check_package() {
  rm -f "$zip"
  (cd "$BUILD" && "$CPACK" -G ZIP) > "$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack failed"; }
  top="Dreel-$VERSION-windows-x64"
  {
    for f in dreel.exe dreel-replay.exe README.txt LICENSE.txt; do echo "$top/$f"; done
    for f in DejaVu-fonts SDL2 SDL2_ttf freetype libpng mingw-w64 zlib; do echo "$top/licenses/$f.txt"; done
    for f in $data_names; do echo "$top/data/$f"; done
  } | sort > "$work/expected"
  unzip -Z1 "$zip" | grep -v '/$' | sort > "$work/got" || fail "cannot list $zip"
  diff "$work/expected" "$work/got" || fail "the zip holds other files than these (< expected, > found)"
  unzip -p "$zip" "$top/README.txt" | head -1 | grep -q "^Dreel $VERSION for Windows$(printf '\r')\$" ||
    fail "README.txt does not open with the title and Windows line ends"
  if [ -n "$IDENTIFY" ]; then
    sizes="$("$IDENTIFY" -format '%wx%h ' "$BUILD/icons/dreel.ico")"
    [ "$sizes" = "48x48 64x64 128x128 256x256 " ] || fail "the icon holds '$sizes'"
  fi
}

# AUDIO ARGS...: starts the unpacked game from another folder, with SDL_AUDIODRIVER=AUDIO
# and the player's files in $work/appdata, never the prefix's own user folder. Wine sets
# APPDATA from its prefix over ours: cmd sets it again for the game, and waits for it.
start_game() {
  audio="$1"
  shift
  mkdir -p "$work/elsewhere" "$work/appdata"
  appdata="$("$WINE" winepath -w "$work/appdata")" exe="$("$WINE" winepath -w "$game")"
  (cd "$work/elsewhere" && SDL_AUDIODRIVER="$audio" exec "$WINE" cmd /c set "APPDATA=$appdata&&" "$exe" "$@") \
    > "$work/out" 2> "$work/err" &
  pid=$!
}

# TITLE: waits for the game's window titled TITLE; leaves its id and size in $window, $geometry.
find_window() {
  window=""
  for _ in $(seq 600); do
    window="$("$XDOTOOL" search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)"
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { kill $pid; cat "$work/err"; fail "no window titled '$1'"; }
  geometry="$("$XDOTOOL" getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')"
}

# KEY: sends KEY to $window and leaves the game's exit code in $status.
end_with() {
  "$XDOTOOL" windowfocus --sync "$window" key "$1"
  for _ in $(seq 200); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  if kill -0 $pid 2>/dev/null; then kill $pid; fail "the game did not end after $1"; fi
  wait $pid
  status=$?
}

check_game() {
  unpacked="$beyond"
  mkdir -p "$unpacked"
  unzip -q "$zip" -d "$unpacked" || fail "cannot unpack $zip"
  game="$unpacked/Dreel-$VERSION-windows-x64/dreel.exe"
  recordings="$SOURCE/tests/replay/recordings"
  "$HOST/tools/replay/dreel-replay" --script "$recordings/fire.rec" --trace "$work/fire.trace" ||
    fail "no Linux trace to compare with (a Linux release build at '$HOST')"
  display=$((90 + $$ % 100))
  "$XVFB" ":$display" -screen 0 1280x1024x24 -nolisten tcp > /dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb; rm -rf "$work"' EXIT
  export DISPLAY=":$display"
  unset SDL_VIDEODRIVER  # the real Windows video driver, on Wine's X11
  for _ in $(seq 100); do "$XWININFO" -root > /dev/null 2>&1 && break; sleep 0.1; done

  start_game dummy --record "$unpacked/recording.txt"
  find_window Dreel
  sleep 1
  end_with Escape
  [ "$status" = 0 ] || { cat "$work/err"; fail "Escape ended the game with $status"; }
  [ "$geometry" = 800x600 ] || fail "the window is $geometry, not 800x600"
  # The data digest says which files the game read: the ones the recordings were made with.
  expected="$(grep '^# data ' "$recordings/fire.rec")"
  got="$(grep '^# data ' "$unpacked/recording.txt")"
  [ "$got" = "$expected" ] || { cat "$work/err"; fail "the game read other data: '$got', not '$expected'"; }
  [ -f "$work/appdata/Dreel/records.txt" ] || { cat "$work/err"; fail "no records.txt in the game's APPDATA folder"; }

  # A recording made on Linux, played by the Windows game in real time: the same game,
  # from the same data (the game names a recording made with other data).
  cp "$recordings/fire.rec" "$unpacked/"
  start_game dummy --data "$unpacked/Dreel-$VERSION-windows-x64/data" --play "$unpacked/fire.rec" --trace "$unpacked/live.trace"
  find_window Dreel
  # 421 frames take 8.4 s; a busy machine may take longer to start.
  for _ in $(seq 900); do
    [ "$(wc -c < "$unpacked/live.trace")" -ge "$(wc -c < "$work/fire.trace")" ] && break
    sleep 0.1
  done
  end_with Escape
  cmp "$work/fire.trace" "$unpacked/live.trace" ||
    { cat "$work/err"; fail "the Windows game played the recording otherwise (or not to its end)"; }
  if grep -q "other data" "$work/err"; then cat "$work/err"; fail "the game read other data from --data"; fi

  start_game ""
  find_window "Varnok Dreel"
  end_with Return
  [ "$status" = 1 ] || { cat "$work/err"; fail "without sound the game ended with $status, not 1"; }
  grep -q "Varnok Dreel: Sound" "$work/err" || { cat "$work/err"; fail "no 'Sound' message"; }
}

case "$mode" in
  imports) check_imports ;;
  same_game) check_same_game ;;
  package) check_package ;;
  game) check_game ;;
  *) fail "unknown check '$mode'" ;;
esac
echo "windows $mode: passed"
