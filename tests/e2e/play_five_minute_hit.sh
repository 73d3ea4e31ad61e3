#!/usr/bin/env bash
# The five-minute game of the real program in a real window, played with xdotool until the
# heroine is hit: Down on the menu chooses it (with the selection sound), she flies into the
# enemies without firing, the game-over screen holds until Space, then the title comes back
# still offering five minutes. Checked through F1 snapshots, the sound of SDL's disk driver
# (music during play, silence on the game-over screen) and the save file, which must hold the
# run's score in the five-minute ranking; a run ended by a hit writes no "HighScore5.bmp".
#
#   play_five_minute_hit.sh <run folder> <build folder>
source "$(dirname "$0")/lib.sh"
e2e_init play_five_minute_hit "$1" "$2"
e2e_start_display
e2e_unpack_archive
e2e_link_archive

# Ten five-minute scores below anything a run can make, so the run's score, even 0, must come
# out on top; and one-minute scores the run must leave alone.
SEEDED_ONE_MINUTE=(7 1 2 3 4 5 6 7 8 9 10 2147483647)
SEEDED_FIVE_MINUTE=(-5 -5 -5 -5 -5 -5 -5 -5 -5 -5 -5 2147483647)
e2e_write_ints korimo.sav 0 "${SEEDED_ONE_MINUTE[@]}" "${SEEDED_FIVE_MINUTE[@]}"

e2e_start_game SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_AUDIO"
e2e_wait_for_menu 0 || e2e_fail "no menu offering the one-minute game at start-up"

# Down chooses five minutes and plays the selection sound.
BEFORE_DOWN=$(e2e_audio_position)
e2e_press Down
e2e_wait_for_menu 1 || e2e_fail "Down did not choose the five-minute game"
SELECT_PEAK=$(e2e_audio_peak "$BEFORE_DOWN" "$(e2e_audio_position)")
[ "$SELECT_PEAK" -gt 1000 ] || e2e_fail "Down played no selection sound (peak $SELECT_PEAK)"

e2e_press space  # the five-minute game, after a 512 ms fade to black
sleep 0.8
RUN_AUDIO_START=$(e2e_audio_position)
e2e_snapshot
TIMER=$(e2e_read_timer "$E2E_SHOT")
[[ $TIMER =~ ^00:0[0-4]\ Sec\.$ ]] || e2e_fail "the run's first second shows the timer '$TIMER'"

# Straight at the enemies, without firing, until the game-over screen shows.
e2e_hold Right
deadline=$((SECONDS + 150))
while :; do
    sleep 2
    e2e_alive
    PLAY_AUDIO_END=$(e2e_audio_position)
    e2e_snapshot
    e2e_shows_game_over "$E2E_SHOT" && break
    [ $SECONDS -lt $deadline ] || e2e_fail "she was not hit in 150 s of flying into the enemies"
done
e2e_release Right
GAME_OVER=$E2E_SHOT
MUSIC_PEAK=$(e2e_audio_peak "$RUN_AUDIO_START" "$PLAY_AUDIO_END")
[ "$MUSIC_PEAK" -gt 1000 ] || e2e_fail "no music during play (peak $MUSIC_PEAK)"

# The game-over screen holds, silent: the music stopped with the hit, the effects have ended.
sleep 1
QUIET_FROM=$(e2e_audio_position)
sleep 1.5
e2e_snapshot
e2e_shows_game_over "$E2E_SHOT" || e2e_fail "the game-over screen did not hold"
QUIET_PEAK=$(e2e_audio_peak "$QUIET_FROM" "$(e2e_audio_position)")
[ "$QUIET_PEAK" = 0 ] || e2e_fail "sound on the game-over screen (peak $QUIET_PEAK)"

# Space fades to black and brings back the title, which keeps the five-minute choice.
e2e_press space
e2e_wait_for_menu 1 || e2e_fail "after the game-over screen the title does not offer five minutes"

e2e_quit

[ "$(stat -c %s korimo.sav)" = 100 ] || e2e_fail "korimo.sav is $(stat -c %s korimo.sav) bytes"
mapfile -t SAVED < <(e2e_read_ints korimo.sav)
[ "${SAVED[0]}" = 1 ] || e2e_fail "the save file's game mode is ${SAVED[0]}, not the 1 chosen"
[ "${SAVED[*]:1:12}" = "${SEEDED_ONE_MINUTE[*]}" ] || e2e_fail "the one-minute scores changed"
SCORE=${SAVED[23]}
[ "$SCORE" -ge 0 ] || e2e_fail "the five-minute ranking holds no score of this run"
[ "${SAVED[*]:13:10}" = "-5 -5 -5 -5 -5 -5 -5 -5 -5 -5" ] ||
    e2e_fail "the five-minute scores below the run's are '${SAVED[*]:13:10}'"
[ "${SAVED[24]}" = 2147483647 ] || e2e_fail "no sentinel behind the five-minute scores"
[ -e HighScore5.bmp ] && e2e_fail "a run ended by a hit wrote HighScore5.bmp"
e2e_note "hit with $SCORE points, saved on top of the five-minute ranking; music $MUSIC_PEAK" \
    "during play, silence on the game-over screen ($GAME_OVER)"
