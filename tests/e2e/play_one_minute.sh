#!/usr/bin/env bash
# A whole one-minute game of the real program in a real window, played with xdotool: the title
# and its menu, a run in which the heroine moves, fires and bombs, the ranking with the run's
# score, the staff roll, Space back to the title, Alt+F4. Checked through F1 snapshots, the
# sound SDL's disk driver writes, and the files the game leaves: the save file holds the run's
# score among the scores it started with.
#
#   play_one_minute.sh <run folder> <build folder>
source "$(dirname "$0")/lib.sh"
e2e_init play_one_minute "$1" "$2"
e2e_start_display
e2e_unpack_archive
e2e_link_archive

# A save file from an earlier session: the five-minute game was chosen last (which a new start
# forgets), ten one-minute scores of 10 to 100 and ten five-minute ones.
SEEDED_ONE_MINUTE=(0 10 20 30 40 50 60 70 80 90 100 2147483647)
SEEDED_FIVE_MINUTE=(0 1000 2000 3000 4000 5000 6000 7000 8000 9000 10000 2147483647)
e2e_write_ints korimo.sav 1 "${SEEDED_ONE_MINUTE[@]}" "${SEEDED_FIVE_MINUTE[@]}"

e2e_start_game SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_AUDIO"

expect_one_minute_menu() {
    e2e_wait_for_menu 0 || e2e_fail "$1: no menu offering the one-minute game"
}

# Plays one run from the menu: a few steps up and down, then fire and bombs held where she
# stands, which clears her row and, whenever the gauge allows, the screen. Returns 0 when the
# ranking came, 1 when she was hit (the game-over screen is then shown).
play_run() {
    e2e_press space  # the one-minute game, after a 512 ms fade to black
    sleep 0.8
    RUN_AUDIO_START=$(e2e_audio_position)
    e2e_hold space b
    e2e_hold Up; sleep 0.3; e2e_release Up
    e2e_hold Down; sleep 0.3; e2e_release Down
    sleep 2
    PLAY_AUDIO_END=$(e2e_audio_position)
    # The minute, the ending's 3 s sweep, the ranking; a hit shows the game-over screen.
    local deadline=$((SECONDS + 75))
    while [ $SECONDS -lt $deadline ]; do
        sleep 4
        e2e_alive
        e2e_snapshot
        if e2e_shows_text "$E2E_SHOT" '#FFFFFF' 112 10 "SCORE RANKING"; then
            e2e_release space b
            return 0
        fi
        if e2e_shows_game_over "$E2E_SHOT"; then
            e2e_release space b
            return 1
        fi
    done
    e2e_release space b
    e2e_fail "after 75 s neither the ranking nor the game-over screen showed"
}

expect_one_minute_menu "at start-up, with a save file that chose five minutes"
TITLE_AUDIO_END=$(e2e_audio_position)
[ "$(e2e_audio_peak 0 "$TITLE_AUDIO_END")" = 0 ] || e2e_fail "the title was not silent"

ranked=
for attempt in 1 2 3; do
    if play_run; then
        ranked=yes
        break
    fi
    e2e_note "attempt $attempt was hit before the minute was up; playing again"
    e2e_press space  # the game-over screen fades to the title
    expect_one_minute_menu "after the game-over screen"
done
[ -n "$ranked" ] || e2e_fail "three runs in a row were hit before the minute was up"
RANKING=$E2E_SHOT

# During play the music plays.
MUSIC_PEAK=$(e2e_audio_peak "$RUN_AUDIO_START" "$PLAY_AUDIO_END")
[ "$MUSIC_PEAK" -gt 1000 ] || e2e_fail "no music during play (peak $MUSIC_PEAK)"

# The ranking: the run's score in red below the ten best (which the unit tests check line by
# line); the save file checked below must hold it among the seeded scores.
SCORE_TEXT=$(e2e_read_text "$RANKING" '#FF0000' 196 202 10 0123456789)
[[ $SCORE_TEXT =~ ^[0-9]{10}$ ]] || e2e_fail "the ranking shows no score of this run: '$SCORE_TEXT'"
e2e_shows_text "$RANKING" '#FF0000' 44 202 "This time SCORE is $SCORE_TEXT" ||
    e2e_fail "the score line is not 'This time SCORE is $SCORE_TEXT' in red"
SCORE=$((10#$SCORE_TEXT))
mapfile -t EXPECTED < <(printf '%s\n' "${SEEDED_ONE_MINUTE[@]:1:10}" "$SCORE" | sort -n -r | head -10)

# Space during the ranking changes nothing; the staff roll follows when the ending is 20 s old
# and keeps the ending's music playing.
e2e_press space
ranking_shown() {
    e2e_snapshot
    e2e_shows_text "$E2E_SHOT" '#FFFFFF' 112 10 "SCORE RANKING"
}
ranking_shown || e2e_fail "Space during the ranking left it"
deadline=$((SECONDS + 25))
while ranking_shown; do
    [ $SECONDS -lt $deadline ] || e2e_fail "the ranking never gave way to the staff roll"
    sleep 2
done
ROLL=$E2E_SHOT
ENDING_AUDIO=$(e2e_audio_position)
sleep 1
e2e_snapshot
MOVED=$(e2e_differing "$ROLL" "$E2E_SHOT")
[ "$MOVED" -gt 1000 ] || e2e_fail "the staff roll stood still for a second"
ENDING_PEAK=$(e2e_audio_peak "$ENDING_AUDIO" "$(e2e_audio_position)")
[ "$ENDING_PEAK" -gt 1000 ] || e2e_fail "no ending music in the staff roll (peak $ENDING_PEAK)"

# Space in the roll stops the music and brings back the title.
e2e_press space
sleep 0.5
STOPPED_AT=$(e2e_audio_position)
expect_one_minute_menu "after the staff roll"
SILENCE_PEAK=$(e2e_audio_peak "$STOPPED_AT" "$(e2e_audio_position)")
[ "$SILENCE_PEAK" = 0 ] || e2e_fail "sound after the ending's music was stopped (peak $SILENCE_PEAK)"

e2e_quit

# The save file: the run's score among the seeded ones, the one-minute game chosen at exit,
# the five-minute scores untouched.
[ "$(stat -c %s korimo.sav)" = 100 ] || e2e_fail "korimo.sav is $(stat -c %s korimo.sav) bytes"
mapfile -t SAVED < <(e2e_read_ints korimo.sav)
[ "${SAVED[0]}" = 0 ] || e2e_fail "the save file's game mode is ${SAVED[0]}, not 0"
mapfile -t ASCENDING < <(printf '%s\n' "${EXPECTED[@]}" | sort -n)
KEPT="${SAVED[*]:2:10}"
[ "$KEPT" = "${ASCENDING[*]}" ] ||
    e2e_fail "the one-minute scores saved are '$KEPT', not '${ASCENDING[*]}'"
[ "${SAVED[12]}" = 2147483647 ] || e2e_fail "no sentinel behind the one-minute scores"
[ "${SAVED[*]:13:12}" = "${SEEDED_FIVE_MINUTE[*]}" ] || e2e_fail "the five-minute scores changed"

e2e_note "score $SCORE ranked and saved; music $MUSIC_PEAK during play, $ENDING_PEAK in the" \
    "roll, silence after it; staff roll in $ROLL"
