#!/usr/bin/env bash
# The options screen as a player uses it in a real window: opened from the title menu with O,
# shoot moved from Space to X by pressing it, a run where Space no longer shoots and X does
# (her cyan shots counted in F1 snapshots), and settings.ini holding the key, written at once
# and still there after the game has quit. On the way out, the run given up is on the REPLAYS
# screen (R on the title menu), plays from there, and Backspace comes back to the same list.
source "$(dirname "$0")/lib.sh"
e2e_init options_window "$1" "$2"
e2e_start_display
e2e_link_archive
E2E_GAME_OPTIONS=(--data-dir .)
e2e_start_game

# Pixels of her shot's cyan in a snapshot.
shot_pixels() {
    convert "$1" -alpha off -fill black +opaque '#5ee2e2' -fill white -opaque '#5ee2e2' \
        -format '%[fx:round(mean*w*h)]' info:
}

e2e_press space
sleep 0.5
e2e_press o
sleep 0.3
# Down past the volumes, the window and the four directions to shoot; Return, then X.
for _ in 1 2 3 4 5 6 7 8; do e2e_press Down; done
e2e_press Return
sleep 0.2
e2e_press x
sleep 0.3
e2e_snapshot
cp "$E2E_SHOT" options.bmp
grep -qx 'keys_shoot = X' settings.ini || e2e_fail "settings.ini does not hold X for shoot at once"
e2e_press Escape
sleep 0.3

# Early in the run, before enemies crowd her: half a second of each key.
e2e_press space  # the menu is there already: the one-minute game
sleep 0.6
xdotool keydown space
sleep 0.5
e2e_snapshot
xdotool keyup space
with_space=$(shot_pixels "$E2E_SHOT")
xdotool keydown x
sleep 0.5
e2e_snapshot
xdotool keyup x
with_x=$(shot_pixels "$E2E_SHOT")
e2e_note "shot pixels holding Space: $with_space, holding X: $with_x"
[ "$with_x" -gt $((with_space + 20)) ] || e2e_fail "X does not shoot (or Space still does)"

# Given up: the game-over screen (two presses), its fade and the logo lead to the title menu.
e2e_press p
sleep 0.3
e2e_press q
sleep 1
e2e_press space
sleep 0.4
e2e_press space
sleep 5
[ -s replays/last1.krp ] || e2e_fail "the run given up was not kept as replays/last1.krp"
e2e_press r
sleep 0.5
e2e_snapshot
cp "$E2E_SHOT" replays-list.bmp
chosen=$(convert replays-list.bmp -alpha off -fill black +opaque '#f2c840' -fill white \
    -opaque '#f2c840' -format '%[fx:round(mean*w*h)]' info:)
[ "$chosen" -gt 100 ] || e2e_fail "the REPLAYS screen shows no chosen line ($chosen yellow pixels)"
e2e_press Return
sleep 1
e2e_snapshot
watching=$(e2e_differing "$E2E_SHOT" replays-list.bmp)
[ "$watching" -gt 20000 ] || e2e_fail "Return on the list does not play the run ($watching pixels)"
e2e_press BackSpace
sleep 0.5
e2e_snapshot
back=$(e2e_differing "$E2E_SHOT" replays-list.bmp)
[ "$back" -eq 0 ] || e2e_fail "Backspace does not come back to the same list ($back pixels differ)"
e2e_note "REPLAYS: $chosen pixels of the chosen line; watching differs by $watching pixels"

e2e_quit
grep -qx 'keys_shoot = X' settings.ini || e2e_fail "settings.ini lost the key at exit"
e2e_note "settings.ini: $(grep keys_shoot settings.ini)"
