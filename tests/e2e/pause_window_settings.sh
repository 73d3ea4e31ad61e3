#!/usr/bin/env bash
# What a player expects of the real program: F1 held for two seconds keeps the frame rate (one
# snapshot a frame, about 17 ms apart); the window resized with the mouse, a run paused with P,
# shows the still picture at the largest whole factor that fits, centred on black; F6 and F5
# step the window's scale; the scale is written to settings.ini on exit.
source "$(dirname "$0")/lib.sh"
e2e_init pause_window_settings "$1" "$2"
E2E_SCREEN_SIZE=1600x1200
e2e_start_display --wm
e2e_link_archive
e2e_start_game

window_is() { [ "$(e2e_window_size)" = "$1" ]; }

# F1 held: the snapshots' times are the frames' times (to the file system's clock, a few
# milliseconds fine). Prints the count, the median gap and the longest, in milliseconds.
xdotool keydown F1
sleep 2
xdotool keyup F1
sleep 0.3
read -r SHOTS MEDIAN WORST < <(stat -c '%.6Y' Snap*.bmp | sort -n |
    awk 'NR > 1 { print ($1 - last) * 1000 } { last = $1 }' | sort -n |
    awk '{ gap[NR] = $1 } END { printf "%d %.1f %.1f\n", NR + 1, gap[int((NR + 1) / 2)], gap[NR] }')
e2e_note "F1 held 2 s: $SHOTS snapshots, median interval $MEDIAN ms, longest $WORST ms"
[ "$SHOTS" -ge 90 ] || e2e_fail "only $SHOTS frames in the two seconds F1 was held"
awk -v m="$MEDIAN" 'BEGIN { exit !(m <= 20) }' ||
    e2e_fail "frames came $MEDIAN ms apart while F1 was held"
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
e2e_note "passed"
