#!/usr/bin/env bash
# A replay watched in the window: F1 takes snapshots while it plays, Space skips to the end of
# the run, which must come to the recorded score (the game says where it differs otherwise and
# exits 1); the ending's ranking follows with the run's line in red, and Space in the staff
# roll ends the session where the game would return to the title. The save file is left byte
# for byte as it was and no replay is written.
source "$(dirname "$0")/lib.sh"
e2e_init replay_window "$1" "$2"
e2e_start_display
e2e_link_archive
cp "$(dirname "$0")/../data/golden-one-minute.krp" "$E2E_WORK/golden.krp" ||
    e2e_fail "the golden recording is missing"

# A save file with a ranking in it, to compare afterwards.
e2e_write_ints korimo.sav 0 0 100 200 300 400 500 600 700 800 900 40000 2147483647 \
    0 0 0 0 0 0 0 0 0 0 0 0
cp korimo.sav korimo.sav.before

E2E_GAME_OPTIONS=(--data-dir . --replay golden.krp)
e2e_start_game
sleep 1.5
e2e_alive
e2e_snapshot
e2e_note "a snapshot taken while the replay plays: $E2E_SHOT"

e2e_press space
# The rest of the minute flies by; the ending wipes in and shows the ranking.
sleep 6
e2e_alive
e2e_snapshot
RED=$(convert "$E2E_SHOT" -alpha off -fill black +opaque "#FF0000" -fill white -opaque "#FF0000" \
      -format "%[fx:round(mean*w*h)]" info:)
e2e_note "the ranking after the replay: $RED pixels of the run's red line"
[ "$RED" -gt 50 ] || e2e_fail "the ranking shows no line of the replayed run"
# The staff roll comes after 20 s of ranking; Space there goes back to the title.
sleep 16
e2e_press space
e2e_wait_exit 20
[ "$E2E_EXIT_STATUS" -eq 0 ] || e2e_fail "the replay ended with exit code $E2E_EXIT_STATUS"
cmp -s korimo.sav korimo.sav.before || e2e_fail "the replay changed korimo.sav"
[ ! -e replays ] || e2e_fail "the replay wrote replays of its own"
[ ! -e HighScore1.bmp ] || e2e_fail "the replay kept a best-run picture"
e2e_note "the replay played to its recorded score and left the save file as it was"
