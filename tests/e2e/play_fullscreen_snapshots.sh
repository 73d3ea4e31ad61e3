#!/usr/bin/env bash
# Alt+Enter and F1 during play, in the real program under a window manager: full screen shows
# the 640x480 picture scaled by the largest whole factor (one on a 1024x768 screen) and centred
# on black while the run goes on; F1 there still writes the 320x240 frame; holding F1 writes one
# snapshot per frame, each a new file; Alt+Enter again brings back the 640x480 window, the
# run still going.
#
#   play_fullscreen_snapshots.sh <run folder> <build folder>
source "$(dirname "$0")/lib.sh"
e2e_init play_fullscreen_snapshots "$1" "$2"
e2e_start_display --wm
e2e_unpack_archive
e2e_link_archive
e2e_start_game

SCREEN_SIZE=$(xdpyinfo | awk '/dimensions:/ { sub("x", " ", $2); print $2 }')
read -r SCREEN_WIDTH SCREEN_HEIGHT <<<"$SCREEN_SIZE"
# The 640x480 window picture, the frame doubled, is scaled by the largest whole factor that
# fits; where the picture then stands.
FACTOR=$(( 2 * (SCREEN_WIDTH / 640 < SCREEN_HEIGHT / 480 ? SCREEN_WIDTH / 640 : SCREEN_HEIGHT / 480) ))
PICTURE_WIDTH=$((320 * FACTOR)) PICTURE_HEIGHT=$((240 * FACTOR))
LEFT=$(((SCREEN_WIDTH - PICTURE_WIDTH) / 2)) TOP=$(((SCREEN_HEIGHT - PICTURE_HEIGHT) / 2))

window_size() {
    xwininfo -id "$E2E_WINDOW" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w, h }'
}
window_is() {
    [ "$(window_size)" = "$1" ]
}

# The timer of a snapshot taken now, in seconds; fails on a snapshot without one.
timer_seconds() {
    e2e_snapshot
    local text
    text=$(e2e_read_timer "$E2E_SHOT")
    [ -n "$text" ] || return 1
    TIMER=$((10#${text:0:2} * 60 + 10#${text:3:2}))
}

# One run with the heroine firing and bombing where she stands. Returns 1 when she was hit
# before the checks were through (the game-over screen then shows), after failing on anything
# else.
play() {
    e2e_press space  # the one-minute game, after a 512 ms fade to black
    sleep 0.8
    e2e_hold space b
    timer_seconds || return 1
    local windowed_timer=$TIMER

    xdotool key alt+Return
    e2e_wait_for 10 window_is "$SCREEN_WIDTH $SCREEN_HEIGHT" ||
        e2e_fail "Alt+Enter during play left the window at $(window_size)"
    sleep 1.2
    timer_seconds || return 1
    [ "$TIMER" -gt "$windowed_timer" ] ||
        e2e_fail "the timer went from $windowed_timer s to $TIMER s over Alt+Enter"
    FULL_SNAPSHOT=$E2E_SHOT

    # The screen: black bands around the picture, which is made of blocks of FACTORxFACTOR
    # pixels, each a pixel of the frame.
    xwd -root | convert xwd:- -alpha off png:screen.png
    local bands
    bands=$(convert screen.png -fill black -draw \
                "rectangle $LEFT,$TOP $((LEFT + PICTURE_WIDTH - 1)),$((TOP + PICTURE_HEIGHT - 1))" \
                -format '%[fx:maxima]' info:)
    [ "$bands" = 0 ] || e2e_fail "the screen around the full-screen picture is not black"
    convert screen.png -crop "${PICTURE_WIDTH}x${PICTURE_HEIGHT}+$LEFT+$TOP" +repage picture.png
    convert picture.png -sample "320x240!" -sample "${PICTURE_WIDTH}x${PICTURE_HEIGHT}!" blocks.png
    local differing
    differing=$(e2e_differing picture.png blocks.png)
    [ "$differing" = 0 ] || e2e_fail "the full-screen picture is not scaled by $FACTOR"
    [ "$(convert picture.png -format '%[fx:maxima]' info:)" != 0 ] ||
        e2e_fail "the full-screen picture is black"

    # F1 held: a snapshot per frame, each a new file, numbered one after another.
    local before after
    before=$(e2e_snapshot_count)
    xdotool keydown F1
    sleep 0.5
    xdotool keyup F1
    sleep 0.3
    after=$(e2e_snapshot_count)
    HELD_SNAPSHOTS=$((after - before))
    [ "$HELD_SNAPSHOTS" -ge 5 ] || e2e_fail "F1 held for half a second wrote $HELD_SNAPSHOTS files"
    local number
    for ((number = before; number < after; number++)); do
        [ -f "$(printf 'Snap%04d.bmp' "$number")" ] ||
            e2e_fail "holding F1 skipped $(printf 'Snap%04d.bmp' "$number")"
    done
    [ "$(e2e_differing "$(printf 'Snap%04d.bmp' "$before")" \
                       "$(printf 'Snap%04d.bmp' $((after - 1)))")" != 0 ] ||
        e2e_fail "the snapshots of half a second of play are all the same"

    xdotool key alt+Return
    e2e_wait_for 10 window_is "640 480" ||
        e2e_fail "a second Alt+Enter left the window at $(window_size)"
    local full_timer=$TIMER
    sleep 1.2
    timer_seconds || return 1
    [ "$TIMER" -gt "$full_timer" ] ||
        e2e_fail "the timer went from $full_timer s to $TIMER s back in the window"
    e2e_release space b
    return 0
}

e2e_wait_for_menu 0 || e2e_fail "no menu at start-up"
done=
for attempt in 1 2 3; do
    if play; then
        done=yes
        break
    fi
    e2e_release space b
    e2e_shows_game_over "$E2E_SHOT" || e2e_fail "a snapshot during play shows no timer: $E2E_SHOT"
    e2e_note "attempt $attempt was hit during the checks; playing again"
    e2e_press space
    if ! window_is "640 480"; then
        xdotool key alt+Return
        e2e_wait_for 10 window_is "640 480" || e2e_fail "cannot leave full screen"
    fi
    e2e_wait_for_menu 0 || e2e_fail "no menu after the game-over screen"
done
[ -n "$done" ] || e2e_fail "three runs in a row were hit within seconds"

e2e_quit
e2e_note "full screen at factor $FACTOR on ${SCREEN_WIDTH}x$SCREEN_HEIGHT ($FULL_SNAPSHOT);" \
    "F1 held for half a second wrote $HELD_SNAPSHOTS snapshots"
