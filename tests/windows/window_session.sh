#!/bin/bash
# The Windows program in a Wine window under Xvfb, played as a player would: the window opens
# at 640x480 (and, without a sound device, the game ends at once with the one line that says
# so); the title menu's F1 snapshot equals the Linux program's, pixel for pixel; Alt+Enter
# fills the screen and comes back; the menu is silent until Down plays the selection sound
# through DirectSound (an ALSA file device records it); a one-minute run played with the keys
# ends in a saved score whose replay verifies on Linux; Alt+F4 ends the program with exit code 0.
set -u
. "$(dirname "$0")/lib.sh"
win_init windows_window_session "$1" "$2" "$3"
e2e_start_display
e2e_link_archive

# The title menu once it stands still: the same frame on every system.
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
title_menu_snapshot() { # <copy to>
    e2e_press space # past the logo
    wait_until_still
    e2e_snapshot
    cp "$E2E_SHOT" "$1"
}

# The Linux program's snapshot of the title menu, for the Windows one to equal.
WINDOWS_GAME=$E2E_GAME
E2E_GAME=$LINUX_GAME
mkdir linux && cd linux && e2e_link_archive
e2e_start_game
title_menu_snapshot ../linux-menu.bmp
e2e_quit
cd .. || exit 1

# No sound device yet: one line that names --no-sound, and the game ends at once (no message
# box waits for a click while standard error is read).
timeout 60 wine "$WIN_EXE" --data-dir . >nosound.log 2>&1
STATUS=$?
[ "$STATUS" = 255 ] || e2e_fail "without a sound device the exit code is $STATUS"
grep -q '^korimo: no audio device could be opened (.*); --no-sound runs the game silently' nosound.log ||
    e2e_fail "without a sound device it printed: $(cat nosound.log)"
e2e_note "without a sound device: $(grep '^korimo:' nosound.log)"

# Sound through DirectSound: Wine's ALSA output goes to a file of the device's own format.
cat >"$HOME/.asoundrc" <<ASOUND
pcm.!default { type file slave.pcm "null" file "$E2E_AUDIO" format "raw" }
pcm.null { type null }
ASOUND
E2E_GAME=$WINDOWS_GAME
e2e_start_game
[ "$(e2e_window_size)" = "640 480" ] || e2e_fail "the client area is $(e2e_window_size), not 640 480"
title_menu_snapshot windows-menu.bmp
DIFFERENT=$(e2e_differing windows-menu.bmp linux-menu.bmp)
[ "$DIFFERENT" = 0 ] || e2e_fail "the title menu differs from Linux's in $DIFFERENT pixels"
e2e_note "the title menu's snapshot equals Linux's"
# The snapshot is what the window shows, the picture doubled, except the bottom row where the
# options hint is drawn over it.
xwd -id "$E2E_WINDOW" | convert xwd:- -sample 50% png:shown.png
DIFFERENT=$(e2e_differing shown.png windows-menu.bmp 320x224+0+0)
[ "$DIFFERENT" = 0 ] || e2e_fail "the window and its snapshot differ in $DIFFERENT pixels"
HINT=$(e2e_differing shown.png windows-menu.bmp 320x16+0+224)
[ "$HINT" -gt 50 ] || e2e_fail "the title menu does not name the options key"

xdotool key alt+Return
sleep 2
[ "$(e2e_window_size)" = "1024 768" ] || e2e_fail "full screen is $(e2e_window_size), not 1024 768"
xdotool key alt+Return
sleep 2
[ "$(e2e_window_size)" = "640 480" ] || e2e_fail "back from full screen the window is $(e2e_window_size)"
e2e_note "Alt+Enter went to full screen and back"

# Silence on the menu, then the selection sound on Down.
e2e_wait_for 20 test -s "$E2E_AUDIO" || e2e_fail "DirectSound wrote nothing to the ALSA file device"
sleep 1
PRESSED_AT=$(e2e_audio_position)
[ "$(e2e_audio_peak 0 "$PRESSED_AT")" = 0 ] || e2e_fail "the title menu was not silent"
e2e_press Down
sleep 1
PEAK=$(e2e_audio_peak "$PRESSED_AT" "$(e2e_audio_position)")
[ "$PEAK" -gt 1000 ] || e2e_fail "Down played no selection sound (peak $PEAK)"
e2e_note "silent menu, then the selection sound at peak $PEAK"
e2e_press Up

# A one-minute run: shooting and weaving until the time is up, then the ranking saves it.
e2e_press space
sleep 1
xdotool keydown space
for _ in $(seq 30); do
    xdotool keydown Up; sleep 1.5; xdotool keyup Up
    xdotool keydown Down; sleep 1.5; xdotool keyup Down
    [ -s replays/last1.krp ] && break
    e2e_alive
done
xdotool keyup space
e2e_wait_for 60 test -s replays/last1.krp || e2e_fail "the run left no replays/last1.krp"
[ -s korimo.sav ] || e2e_fail "the run saved no korimo.sav"
VERDICT=$("$LINUX_GAME" --verify replays/last1.krp)
STATUS=$?
e2e_note "the run recorded on Windows, verified on Linux: $VERDICT"
[ "$STATUS" = 0 ] && [[ "$VERDICT" == *": verified" ]] || e2e_fail "Linux did not verify it: $VERDICT"
WINDOWS_VERDICT=$(wine "$WIN_EXE" --verify replays/last1.krp | tr -d '\r')
[ "$WINDOWS_VERDICT" = "$VERDICT" ] || e2e_fail "Windows says '$WINDOWS_VERDICT'"

e2e_quit
e2e_note "all checks passed"
