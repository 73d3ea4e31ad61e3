#!/bin/bash
# The real game in a real window under Xvfb with openbox, driven by xdotool, its sound written
# by SDL's disk driver: the window opens with its caption and a 640x480 client area, F1 writes
# a snapshot whose pixels are the ones shown, Alt+Enter goes to full screen and back, the title
# is silent and Space on its menu starts a run with its music, Alt+F4 ends the game with exit
# code 0 and a 100-byte save file; without a display or without the archive it ends at once
# with one line. (What each reader makes of every kind of damage is for the unit tests and the
# fuzz targets.)

set -u
source "$(dirname "$0")/lib.sh"
e2e_init shell "$1" "$2"
SCREEN_WIDTH=1280
SCREEN_HEIGHT=1024
E2E_SCREEN_SIZE=${SCREEN_WIDTH}x$SCREEN_HEIGHT
e2e_start_display --wm  # full screen needs a window manager
e2e_link_archive
e2e_start_game SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_AUDIO"

[ "$(xdotool getwindowname "$E2E_WINDOW")" = "こりもしゅーてぃんぐ" ] ||
    e2e_fail "caption is '$(xdotool getwindowname "$E2E_WINDOW")'"

[ "$(e2e_window_size)" = "640 480" ] || e2e_fail "client area is $(e2e_window_size), not 640 480"

# Waits until the window's picture has stayed the same for two seconds (the title's menu
# stands still), so that a snapshot and a screenshot taken next show the same frame.
wait_until_still() {
    local same=0
    xwd -id "$E2E_WINDOW" | convert xwd:- png:before.png
    for _ in $(seq 60); do
        sleep 0.5
        xwd -id "$E2E_WINDOW" | convert xwd:- png:after.png
        if [ "$(compare -metric AE before.png after.png null: 2>&1)" = 0 ]; then
            same=$((same + 1))
            [ $same -ge 4 ] && return 0
        else
            same=0
        fi
        mv after.png before.png
    done
    e2e_fail "the picture never stood still"
}

wait_until_still
e2e_focus
e2e_snapshot
[ -f Snap0000.bmp ] || e2e_fail "the first snapshot is $E2E_SHOT, not Snap0000.bmp"
xwd -id "$E2E_WINDOW" | convert xwd:- -sample 50% png:shown.png
convert "$E2E_SHOT" -alpha off png:snapshot.png
# The menu's bottom line names the way to the options over the shown picture; the snapshot
# is the game's picture alone.
DIFFERENT=$(e2e_differing shown.png snapshot.png 320x224+0+0)
[ "$DIFFERENT" = 0 ] || e2e_fail "snapshot and screen differ in $DIFFERENT pixels"
HINT=$(e2e_differing shown.png snapshot.png 320x16+0+224)
[ "$HINT" -gt 50 ] || e2e_fail "the title menu does not name the options key"

xdotool key alt+Return
sleep 1
[ "$(e2e_window_size)" = "$SCREEN_WIDTH $SCREEN_HEIGHT" ] || e2e_fail "full screen is $(e2e_window_size)"
# Scaled by the largest whole factor (two) and centred on black: the middle 1280x960 of the
# screen, quartered, is the next snapshot, and the bands above and below are black.
wait_until_still
e2e_snapshot
xwd -id "$E2E_WINDOW" | convert xwd:- png:full.png
convert full.png -crop 1280x960+0+32 +repage -sample 25% png:full-picture.png
convert "$E2E_SHOT" -alpha off png:full-snapshot.png
DIFFERENT=$(e2e_differing full-picture.png full-snapshot.png 320x224+0+0)
[ "$DIFFERENT" = 0 ] || e2e_fail "full-screen picture and snapshot differ in $DIFFERENT pixels"
BANDS=$(convert full.png \( -clone 0 -crop 1280x32+0+0 \) \( -clone 0 -crop 1280x32+0+992 \) \
        -delete 0 -append -format '%[fx:maxima.r+maxima.g+maxima.b]' info:)
[ "$BANDS" = 0 ] || e2e_fail "the bands around the full-screen picture are not black"

xdotool key alt+Return
sleep 1
[ "$(e2e_window_size)" = "640 480" ] || e2e_fail "back from full screen the window is $(e2e_window_size)"

# Keys and sound through the real devices: the title is silent, and Space on its menu starts a
# run whose music plays (the run itself is for the unit tests and the golden run).
PRESSED_AT=$(e2e_audio_position)
[ "$PRESSED_AT" -gt 44100 ] || e2e_fail "only $PRESSED_AT bytes of sound before the press"
[ "$(e2e_audio_peak 0 "$PRESSED_AT")" = 0 ] || e2e_fail "the title was not silent"
e2e_press space
sleep 3
MUSIC_PEAK=$(e2e_audio_peak "$PRESSED_AT" "$(e2e_audio_position)")
[ "$MUSIC_PEAK" -gt 1000 ] || e2e_fail "Space on the menu started no music (peak $MUSIC_PEAK)"

e2e_quit
[ -f korimo.sav ] || e2e_fail "no korimo.sav"
[ "$(stat -c %s korimo.sav)" = 100 ] || e2e_fail "korimo.sav is $(stat -c %s korimo.sav) bytes"

# Without a display, or without the archive: one line that says so, exit code 1, and the
# scores on disk untouched.
cp korimo.sav scores.before
env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy "$E2E_RUN/korimo" --data-dir . 2>nodisplay.log
STATUS=$?
[ "$STATUS" = 1 ] || e2e_fail "without a display the exit code is $STATUS"
[ "$(wc -l <nodisplay.log)" = 1 ] && grep -q "no display" nodisplay.log ||
    e2e_fail "without a display it printed: $(cat nodisplay.log)"
cmp -s korimo.sav scores.before || e2e_fail "a start without a display changed korimo.sav"
mkdir empty  # a copy of the program alone, as the build's folder holds the archive
cp "$E2E_RUN/korimo" empty/
(cd empty && SDL_AUDIODRIVER=dummy ./korimo --data-dir . 2>../noarchive.log)
STATUS=$?
[ "$STATUS" = 1 ] || e2e_fail "without the archive the exit code is $STATUS"
[ "$(wc -l <noarchive.log)" = 1 ] && grep -q "korimo.set" noarchive.log ||
    e2e_fail "without the archive it printed: $(cat noarchive.log)"

e2e_note "all checks passed"
