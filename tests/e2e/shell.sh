#!/bin/bash
# The real game in a real window under Xvfb with openbox, driven by xdotool: the window opens
# with its caption and a 640x480 client area, F1 writes a snapshot whose pixels are the ones
# shown, Alt+Enter goes to full screen and back, Alt+F4 ends the game with exit code 0 and a
# 100-byte save file; without a display or without the archive it ends at once with one line.
#
# Usage: shell.sh <run folder with korimo and the archive> <build folder>

set -u
RUN_DIR=$(cd "$1" && pwd)
WORK=$(mktemp -d /tmp/korimo-e2e-shell.XXXXXX)
SCREEN_WIDTH=1280
SCREEN_HEIGHT=1024
XVFB_PID=
OPENBOX_PID=
GAME_PID=

cleanup() {
    for pid in $GAME_PID $OPENBOX_PID $XVFB_PID; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -f "$WORK/game.log" ] && sed 's/^/  game: /' "$WORK/game.log" >&2
    exit 1
}

# A display of our own, on the first free number.
exec 3>"$WORK/display"
Xvfb -displayfd 3 -screen 0 ${SCREEN_WIDTH}x${SCREEN_HEIGHT}x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
exec 3>&-
for _ in $(seq 100); do
    [ -s "$WORK/display" ] && break
    sleep 0.1
done
export DISPLAY=:$(cat "$WORK/display")
for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start on $DISPLAY"
# Full screen needs a window manager.
openbox >/dev/null 2>&1 &
OPENBOX_PID=$!
sleep 1

cd "$WORK" || fail "cannot enter $WORK"
ln -s "$RUN_DIR/korimo.set" "$RUN_DIR/korimo.dat" .
SDL_AUDIODRIVER=dummy "$RUN_DIR/korimo" >game.log 2>&1 &
GAME_PID=$!

WINDOW=$(timeout 20 xdotool search --sync --pid "$GAME_PID" 2>/dev/null | head -1)
[ -n "$WINDOW" ] || fail "no window appeared"
[ "$(xdotool getwindowname "$WINDOW")" = "こりもしゅーてぃんぐ" ] ||
    fail "caption is '$(xdotool getwindowname "$WINDOW")'"

# Client size in pixels: "640 480".
window_size() {
    xwininfo -id "$WINDOW" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}'
}
[ "$(window_size)" = "640 480" ] || fail "client area is $(window_size), not 640 480"

# Waits until the window's picture has stayed the same for two seconds (the title's menu
# stands still), so that a snapshot and a screenshot taken next show the same frame.
wait_until_still() {
    local same=0
    xwd -id "$WINDOW" | convert xwd:- png:before.png
    for _ in $(seq 60); do
        sleep 0.5
        xwd -id "$WINDOW" | convert xwd:- png:after.png
        if [ "$(compare -metric AE before.png after.png null: 2>&1)" = 0 ]; then
            same=$((same + 1))
            [ $same -ge 4 ] && return 0
        else
            same=0
        fi
        mv after.png before.png
    done
    fail "the picture never stood still"
}

wait_until_still
xdotool windowfocus --sync "$WINDOW"
xdotool key F1
sleep 1
[ -f Snap0000.bmp ] || fail "F1 wrote no Snap0000.bmp"
[ "$(stat -c %s Snap0000.bmp)" = 307258 ] || fail "Snap0000.bmp is $(stat -c %s Snap0000.bmp) bytes"
xwd -id "$WINDOW" | convert xwd:- -sample 50% png:shown.png
convert Snap0000.bmp -alpha off png:snapshot.png
DIFFERENT=$(compare -metric AE shown.png snapshot.png null: 2>&1)
[ "$DIFFERENT" = 0 ] || fail "snapshot and screen differ in $DIFFERENT pixels"

xdotool key alt+Return
sleep 1
[ "$(window_size)" = "$SCREEN_WIDTH $SCREEN_HEIGHT" ] || fail "full screen is $(window_size)"
# Scaled by the largest whole factor (two) and centred on black: the middle 1280x960 of the
# screen, quartered, is the next snapshot, and the bands above and below are black.
wait_until_still
xdotool key F1
sleep 1
[ -f Snap0001.bmp ] || fail "F1 in full screen wrote no Snap0001.bmp"
xwd -id "$WINDOW" | convert xwd:- png:full.png
convert full.png -crop 1280x960+0+32 +repage -sample 25% png:full-picture.png
convert Snap0001.bmp -alpha off png:full-snapshot.png
DIFFERENT=$(compare -metric AE full-picture.png full-snapshot.png null: 2>&1)
[ "$DIFFERENT" = 0 ] || fail "full-screen picture and snapshot differ in $DIFFERENT pixels"
BANDS=$(convert full.png \( -clone 0 -crop 1280x32+0+0 \) \( -clone 0 -crop 1280x32+0+992 \) \
        -delete 0 -append -format '%[fx:maxima.r+maxima.g+maxima.b]' info:)
[ "$BANDS" = 0 ] || fail "the bands around the full-screen picture are not black"

xdotool key alt+Return
sleep 1
[ "$(window_size)" = "640 480" ] || fail "back from full screen the window is $(window_size)"

xdotool key alt+F4
for _ in $(seq 100); do
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$GAME_PID" 2>/dev/null && fail "the game did not end after Alt+F4"
wait "$GAME_PID"
STATUS=$?
GAME_PID=
[ "$STATUS" = 0 ] || fail "exit code $STATUS"
[ -f korimo.sav ] || fail "no korimo.sav"
[ "$(stat -c %s korimo.sav)" = 100 ] || fail "korimo.sav is $(stat -c %s korimo.sav) bytes"

# Without a display, or without the archive: one line that says so, exit code 1, and the
# scores on disk untouched.
cp korimo.sav scores.before
env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy "$RUN_DIR/korimo" 2>nodisplay.log
STATUS=$?
[ "$STATUS" = 1 ] || fail "without a display the exit code is $STATUS"
[ "$(wc -l <nodisplay.log)" = 1 ] && grep -q "no display" nodisplay.log ||
    fail "without a display it printed: $(cat nodisplay.log)"
cmp -s korimo.sav scores.before || fail "a start without a display changed korimo.sav"
mkdir empty
(cd empty && SDL_AUDIODRIVER=dummy "$RUN_DIR/korimo" 2>../noarchive.log)
STATUS=$?
[ "$STATUS" = 1 ] || fail "without the archive the exit code is $STATUS"
[ "$(wc -l <noarchive.log)" = 1 ] && grep -q "korimo.set" noarchive.log ||
    fail "without the archive it printed: $(cat noarchive.log)"

echo "shell end-to-end: all checks passed"
