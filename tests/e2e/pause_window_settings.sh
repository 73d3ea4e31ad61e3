#!/usr/bin/env bash
# What a player expects of the real program: F1 held for two seconds (a snapshot a frame) keeps
# the frames' pace, which KORIMO_TIMING=1 reports by the game's own clock; the window resized
# with the mouse, a run paused with P, shows the still picture at the largest whole factor that
# fits, centred on black; F6 and F5 step the window's scale; the scale is written to
# settings.ini on exit. How many frames come in a second is for the start-up benchmark to tell.
source "$(dirname "$0")/lib.sh"
e2e_init pause_window_settings "$1" "$2"
E2E_SCREEN_SIZE=1600x1200
e2e_start_display --wm
e2e_link_archive
e2e_start_game KORIMO_TIMING=1

window_is() { [ "$(e2e_window_size)" = "$1" ]; }

# F1 held saves a snapshot every frame, not once; the frames' pace is checked with the others.
xdotool keydown F1
sleep 2
xdotool keyup F1
sleep 0.3
[ "$(e2e_snapshot_count)" -gt 1 ] || e2e_fail "F1 held saved one snapshot, not one a frame"
rm -f Snap*.bmp

e2e_start_run
sleep 1.5

# Resized with the mouse, paused so that the picture holds still: 1400x1000 holds the 320x240
# picture four times over, centred, black around it.
e2e_press p
xdotool windowsize "$E2E_WINDOW" 1400 1000
e2e_wait_for 10 window_is "1400 1000" || e2e_fail "the window stayed at $(e2e_window_size)"
sleep 0.5
xwd -id "$E2E_WINDOW" | convert xwd:- -alpha off png:window.png
bands=$(convert window.png -fill black -draw "rectangle 60,20 1339,979" -format '%[fx:maxima]' info:)
[ "$bands" = 0 ] || e2e_fail "the window around the picture is not black"
convert window.png -crop 1280x960+60+20 +repage picture.png
convert picture.png -sample '320x240!' -sample '1280x960!' blocks.png
[ "$(e2e_differing picture.png blocks.png)" = 0 ] || e2e_fail "the picture is not scaled by 4"
convert picture.png -sample '320x240!' frame.png
e2e_snapshot
[ "$(e2e_differing frame.png "$E2E_SHOT")" = 0 ] || e2e_fail "the window does not show the frame"

# F6 steps up to the largest scale the desktop holds, F5 back down.
e2e_press F6
e2e_wait_for 10 window_is "1600 1200" || e2e_fail "F6 left the window at $(e2e_window_size)"
e2e_press F6
e2e_press F5
e2e_wait_for 10 window_is "1280 960" || e2e_fail "F5 left the window at $(e2e_window_size)"

e2e_quit
grep -qx 'window_scale = 4' settings.ini || e2e_fail "settings.ini did not keep the scale"

# No two frames of the session, F1 held, the window resized or the run paused, started less
# than 17 ms apart on the game's clock (which wraps after 2^32 ms).
read -r GAPS SHORTEST < <(awk '/^korimo: frame starts at / {
        if (n++) { gap = ($5 - last + 2^32) % 2^32; if (n == 2 || gap < least) least = gap }
        last = $5 }
    END { print n - 1, least + 0 }' game.log)
e2e_note "$((GAPS + 1)) frames, the closest $SHORTEST ms apart"
[ "$GAPS" -gt 0 ] || e2e_fail "the game reported no frames with KORIMO_TIMING=1"
[ "$SHORTEST" -ge 17 ] || e2e_fail "two frames started only $SHORTEST ms apart"
e2e_note "passed"
