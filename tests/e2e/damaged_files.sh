#!/usr/bin/env bash
# The real program against damaged and hostile files, one case at a time, each in a folder of
# its own with a copy of the archive pair in which one thing is broken: a missing, cut or
# lying archive index or data file, a picture with an impossible header, a sound with a broken
# chunk, save files of every awkward length and content. Every case either stops at start-up
# with exit code 1 and one line on stderr naming the file or the resource and the fault, or
# runs on (naming a damaged picture in one line when it is loaded, and showing black in its
# place), closes with exit code 0, and reads the save file safely and writes it back as 100
# bytes.
#
#   damaged_files.sh <run folder> <build folder>
source "$(dirname "$0")/lib.sh"
e2e_init damaged_files "$1" "$2"
e2e_start_display
e2e_unpack_archive
PACK=$E2E_BUILD/tools/pack/korimo-pack
# A copy of the program in a folder without an archive, so that it reads each case's own.
mkdir "$E2E_WORK/bin" && cp "$E2E_GAME" "$E2E_WORK/bin/" && E2E_GAME=$E2E_WORK/bin/korimo
mkdir "$E2E_WORK/cases"
CASES=0

# --- Setting a case up -----------------------------------------------------------------------

# begin_case <folder name> <what is damaged>: enters a new folder holding the intact archive.
begin_case() {
    CASE=$1
    CASE_WHAT=$2
    CASE_TITLE=
    CASES=$((CASES + 1))
    mkdir "$E2E_WORK/cases/$CASE"
    cd "$E2E_WORK/cases/$CASE" || e2e_fail "cannot enter the folder of $CASE"
    cp "$E2E_RUN/korimo.set" "$E2E_RUN/korimo.dat" .
}

# Four bytes of a signed integer, little-endian, on standard output.
int32() {
    printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) \
        $(($1 >> 16 & 255)) $(($1 >> 24 & 255)))"
}

# put_int <file> <offset> <value> [bytes]: overwrites 4 (or 2) bytes in place, little-endian.
put_int() {
    int32 "$3" | head -c "${4:-4}" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

# Sets RECORD to the byte offset of an entry's record in the index (260 bytes a record).
find_record() {
    local number
    number=$("$PACK" list korimo | awk -v name="$1" '$1 == name { print NR - 1 }')
    [ -n "$number" ] || e2e_fail "$1 is not in the archive"
    RECORD=$((number * 260))
}

# repack <entry> <command...>: the archive packed again from its own files, with the entry
# replaced by what the command writes on its standard output when given the intact file.
repack() {
    local entry=$1
    shift
    cp -r "$E2E_ASSETS" files
    "$@" "$E2E_ASSETS/$entry" >"files/$entry" || e2e_fail "cannot damage $entry"
    "$PACK" pack files korimo >/dev/null || e2e_fail "cannot pack the damaged $entry"
    rm -r files
}

# with_header_field <offset> <bytes> <value> <picture>: the picture with one header field set.
with_header_field() {
    local copy=$E2E_WORK/field.bmp
    cp "$4" "$copy"
    put_int "$copy" "$1" "$3" "$2"
    cat "$copy"
}

# riff_around <format chunk size> <data chunk size, or "" for the true one> <stream>: the
# stream inside a RIFF/WAVE file.
riff_around() {
    local size
    size=$(stat -c %s "$3")
    printf RIFF
    int32 $((size + 36))
    printf 'WAVEfmt '
    int32 "$1"
    head -c 16 /dev/zero
    printf data
    int32 "${2:-$size}"
    cat "$3"
}

words() {
    echo "no frame header here, only words"
}

# --- What the game must do -------------------------------------------------------------------

report() {
    echo "  $CASE_WHAT: $1"
}

# The game's output must be exactly one line matching the pattern.
expect_one_line() {
    local lines
    lines=$(grep -c '' "$E2E_WORK/game.log")
    [ "$lines" = 1 ] || e2e_fail "$CASE_WHAT: $lines lines of output, not one"
    grep -Eq "$1" "$E2E_WORK/game.log" ||
        e2e_fail "$CASE_WHAT: the message does not match '$1'"
}

# Start-up stops with exit code 1 and one line matching the pattern.
expect_refusal() {
    e2e_launch_game
    e2e_wait_exit 30
    [ "$E2E_EXIT_STATUS" = 1 ] ||
        e2e_fail "$CASE_WHAT: exit code $E2E_EXIT_STATUS instead of 1 and a message"
    expect_one_line "$1"
    report "stops at start-up, exit code 1: $(cat "$E2E_WORK/game.log")"
}

# The game starts and shows its menu (or CASE_TITLE, the picture the title must show instead);
# with "play", a one-minute run starts and lasts two seconds, and E2E_SHOT shows its end.
# Alt+F4 then ends the game with exit code 0.
run_and_quit() {
    e2e_start_game
    if [ -n "$CASE_TITLE" ]; then
        e2e_wait_for_picture "$CASE_TITLE" || e2e_fail "$CASE_WHAT: the title is not $CASE_TITLE"
    else
        e2e_wait_for_menu 0 || e2e_fail "$CASE_WHAT: the title shows no menu"
    fi
    if [ "${1:-}" = play ]; then
        e2e_press space
        sleep 2.5
        e2e_snapshot
    fi
    e2e_quit
}

# The game runs, and says in one line matching the pattern what it could not use.
expect_message_and_run() {
    local pattern=$1
    shift
    run_and_quit "$@"
    expect_one_line "$pattern"
    report "runs on${1:+ into a run}, exit code 0: $(cat "$E2E_WORK/game.log")"
}

expect_silence() {
    [ ! -s "$E2E_WORK/game.log" ] || e2e_fail "$CASE_WHAT: the game said: $(cat "$E2E_WORK/game.log")"
}

# The game runs without a word and writes the save file back as the given integers.
expect_save_file() {
    run_and_quit
    expect_silence
    [ "$(stat -c %s korimo.sav)" = 100 ] ||
        e2e_fail "$CASE_WHAT: korimo.sav was written back as $(stat -c %s korimo.sav) bytes"
    local saved
    saved=$(e2e_read_ints korimo.sav | tr '\n' ' ')
    [ "$saved" = "$* " ] || e2e_fail "$CASE_WHAT: korimo.sav holds '$saved', not '$* '"
    report "runs, reads what there is and writes 100 bytes back at exit"
}

echo "damaged_files: what the game does with each damaged file"

# --- The archive -----------------------------------------------------------------------------

begin_case no-index "korimo.set missing"
rm korimo.set
expect_refusal '^korimo: korimo\.set: No such file or directory$'

begin_case no-data "korimo.dat missing"
rm korimo.dat
expect_refusal '^korimo: korimo\.dat: No such file or directory$'

begin_case data-cut-in-half "korimo.dat cut in half"
truncate -s $(($(stat -c %s korimo.dat) / 2)) korimo.dat
expect_refusal "^korimo: korimo\.set: entry '[a-z_0-9]+\.(bmp|mp3)' starts at [0-9]+, past the end of korimo\.dat \([0-9]+ bytes\)$"

begin_case offset-past-data "an index record pointing past the data"
find_record black.bmp
put_int korimo.set $((RECORD + 256)) 2147483647
expect_refusal "^korimo: korimo\.set: entry 'black\.bmp' starts at 2147483647, past the end of korimo\.dat"

begin_case offsets-backwards "an index record pointing before the one ahead of it"
find_record menu.bmp
put_int korimo.set $((RECORD + 256)) 100
expect_refusal "^korimo: korimo\.set: entry 'menu\.bmp' starts at 100, before the entry ahead of it"

begin_case unterminated-name "an index name without its terminating zero"
printf '%256s' '' | tr ' ' 'x' | dd of=korimo.set bs=1 seek=520 conv=notrunc status=none
expect_refusal '^korimo: korimo\.set: record 2 has no name ending within 256 bytes$'

begin_case empty-index "korimo.set empty"
: >korimo.set
expect_refusal '^korimo: korimo\.dat: sound "se_select\.mp3": not in the archive$'

# A ragged index loses its last, partial record: the title needs nothing of it, the run does.
begin_case index-cut "korimo.set cut inside its last record"
LAST=$("$PACK" list korimo | tail -n 1 | awk '{ print $1 }')
truncate -s -100 korimo.set
expect_message_and_run "^korimo: ${LAST//./\\.}: not in the archive$" play

begin_case data-cut-in-last-entry "korimo.dat cut inside its last entry"
LAST=$("$PACK" list korimo | tail -n 1 | awk '{ print $1 }')
truncate -s -1000 korimo.dat
expect_message_and_run "^korimo: ${LAST//./\\.}: picture is cut short" play

# --- Pictures --------------------------------------------------------------------------------

begin_case logo-huge "logo.bmp claiming 2147483647 pixels a row"
repack logo.bmp with_header_field 18 4 2147483647
expect_message_and_run '^korimo: logo\.bmp: picture header is damaged \(width 2147483647\)$'

# A picture the title cannot use is replaced by black: the menu over black, or the opening
# picture without a menu.
begin_case opening-7-bit "opening.bmp with 7 bits a pixel"
repack opening.bmp with_header_field 28 2 7
convert -size 320x240 xc:black black.png
e2e_expected_menu 0 title.png black.png
CASE_TITLE=$PWD/title.png
expect_message_and_run '^korimo: opening\.bmp: 7-bit pictures are not read'

begin_case menu-cut "menu.bmp cut short"
repack menu.bmp head -c 100000
CASE_TITLE=$E2E_ASSETS/opening.bmp
expect_message_and_run '^korimo: menu\.bmp: picture is cut short'

begin_case black-upside-down "black.bmp with a negative height"
repack black.bmp with_header_field 22 4 -240
expect_message_and_run '^korimo: black\.bmp: picture header is damaged \(height -240'

begin_case sprite-huge "bbolo.bmp, an enemy of the run, claiming a height of 100000"
repack bbolo.bmp with_header_field 22 4 100000
expect_message_and_run '^korimo: bbolo\.bmp: picture header is damaged \(height 100000\)$' play

# --- Sounds ----------------------------------------------------------------------------------

begin_case sound-chunk-wraps "se_fire.mp3 in a RIFF whose format chunk claims 4 GiB"
repack se_fire.mp3 riff_around -16 ""
expect_refusal '^korimo: korimo\.dat: sound "se_fire\.mp3": a RIFF file without a "data" chunk$'

begin_case sound-data-past-end "se_fire.mp3 in a RIFF whose data chunk runs past the entry"
repack se_fire.mp3 riff_around 16 1000000
expect_refusal '^korimo: korimo\.dat: sound "se_fire\.mp3": its "data" chunk runs past the end of the entry$'

begin_case music-not-mp3 "tessani.mp3 holding text"
repack tessani.mp3 words
expect_refusal '^korimo: korimo\.dat: sound "tessani\.mp3": no MPEG audio frame header'

begin_case sound-cut "se_bomb.mp3 cut to its first 40 bytes"
repack se_bomb.mp3 head -c 40
expect_refusal '^korimo: korimo\.dat: sound "se_bomb\.mp3": no MP3 frame the decoder could read$'

# --- The save file ---------------------------------------------------------------------------

SCORES_A=(3 30 300 3000 30000 300000 3000000 30000000 300000000 2000000000 7 2147483647)
SCORES_B=(0 1 2 3 4 5 6 7 8 9 10 2147483647)

begin_case save-0 "korimo.sav of 0 bytes"
: >korimo.sav
expect_save_file 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0

# 50 bytes: the mode, eleven scores, and the twelfth cut after two of its bytes.
begin_case save-50 "korimo.sav of 50 bytes"
e2e_write_ints korimo.sav 1 "${SCORES_A[@]:0:11}" 0x0201
truncate -s 50 korimo.sav
expect_save_file 0 "${SCORES_A[@]:0:11}" 513 0 0 0 0 0 0 0 0 0 0 0 0

begin_case save-100 "korimo.sav of 100 bytes, five minutes chosen"
e2e_write_ints korimo.sav 1 "${SCORES_A[@]}" "${SCORES_B[@]}"
expect_save_file 0 "${SCORES_A[@]}" "${SCORES_B[@]}"

begin_case save-1000 "korimo.sav of 1000 bytes"
e2e_write_ints korimo.sav 1 "${SCORES_B[@]}" "${SCORES_A[@]}"
head -c 900 /dev/urandom >>korimo.sav
expect_save_file 0 "${SCORES_B[@]}" "${SCORES_A[@]}"

# Extreme integers everywhere, the best one-minute score the largest: a run shows it as the
# high score, all ten digits.
begin_case save-extreme "korimo.sav full of extreme integers"
MIN=-2147483648 MAX=2147483647
EXTREME=("$MIN" "$MAX" -1 "$MIN" "$MAX" 0 "$MIN" -1 "$MAX" "$MIN" "$MAX" "$MIN"
         "$MAX" "$MIN" "$MAX" -1 0 "$MIN" "$MIN" "$MAX" -1 "$MAX" "$MIN" "$MIN")
e2e_write_ints korimo.sav "$MIN" "${EXTREME[@]}"
run_and_quit play
expect_silence
# The high score stands at x 138, the top of its digits 4 rows below the top of the screen:
# text.bmp's digits 2147483647 with black clear, over what the frame shows there.
DIGITS=()
for digit in 2 1 4 7 4 8 3 6 4 7; do
    DIGITS+=(\( "$E2E_ASSETS/text.bmp" -alpha off -crop "8x16+$((8 * digit))+0" +repage \))
done
convert "${DIGITS[@]}" +append -transparent black high-score.png
convert "$E2E_SHOT" -alpha off -crop 80x16+138+4 +repage shown.png
convert shown.png high-score.png -composite -alpha off expected.png
[ "$(e2e_differing shown.png expected.png)" = 0 ] ||
    e2e_fail "$CASE_WHAT: the run does not show 2147483647 as the high score ($E2E_SHOT)"
[ "$(e2e_read_ints korimo.sav | tr '\n' ' ')" = "0 ${EXTREME[*]} " ] ||
    e2e_fail "$CASE_WHAT: korimo.sav was not written back as read"
report "runs, shows 2147483647 as the high score, writes 100 bytes back at exit"

begin_case save-folder "korimo.sav a folder"
mkdir korimo.sav
expect_message_and_run '^korimo: could not write korimo\.sav; the scores of this session are lost$'

echo "damaged_files: all $CASES cases behaved"
