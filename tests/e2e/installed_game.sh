#!/usr/bin/env bash
# The game as a player installs it: `cmake --install` into a scratch prefix, checked as the
# desktop checks it (desktop entry, AppStream file), its command line, and then started from a
# folder that has nothing of the game's, with XDG_DATA_HOME set, unset, and with HOME unset
# too. The archive must be found in the prefix; the save file and the snapshots must land in
# the player's folder (and nowhere else); an earlier korimo.sav, in the folder the game is
# started from or beside the program, must be copied in and stay where it was. (The rules
# themselves, case by case, are for the unit tests.)
source "$(dirname "$0")/lib.sh"
e2e_init installed_game "$1" "$2"
for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || e2e_fail "$tool is missing (tools/setup-dev.sh installs it)"
done

PREFIX=$E2E_WORK/prefix
cmake --install "$E2E_BUILD" --prefix "$PREFIX" >install.log 2>&1 || e2e_fail "cmake --install failed: $(cat install.log)"
E2E_GAME=$PREFIX/games/korimo-shooting
E2E_GAME_OPTIONS=()
[ -x "$E2E_GAME" ] || e2e_fail "no $E2E_GAME after installing"
desktop-file-validate "$PREFIX/share/applications/korimo-shooting.desktop" ||
    e2e_fail "the desktop entry does not validate"
appstreamcli validate --no-net "$PREFIX"/share/metainfo/*.metainfo.xml >appstream.log 2>&1 ||
    e2e_fail "the AppStream file does not validate: $(cat appstream.log)"
for size in 16 24 32 48 64 128 256; do
    [ "$(identify -format '%wx%h %A' "$PREFIX/share/icons/hicolor/${size}x${size}/apps/korimo-shooting.png")" \
        = "${size}x${size} True" ] || e2e_fail "no transparent ${size}x${size} icon"
done

# --- The command line --------------------------------------------------------------------------
"$E2E_GAME" --help >help.out 2>help.err || e2e_fail "--help exited with $?"
grep -q '^Usage: korimo-shooting' help.out && grep -q -- '--window-scale N' help.out &&
    grep -q 'F1' help.out && grep -q '.local/share/korimo-shooting' help.out && [ ! -s help.err ] ||
    e2e_fail "--help printed: $(cat help.out help.err)"
"$E2E_GAME" --version >version.out 2>&1 || e2e_fail "--version exited with $?"
grep -Eq '^Korimo Shooting [0-9]+\.[0-9]+\.[0-9]+$' version.out && grep -Eq '^SDL 2\.[0-9]+\.[0-9]+$' version.out &&
    grep -Eq '^libmpg123 [0-9]+\.[0-9]+' version.out || e2e_fail "--version printed: $(cat version.out)"
# What each option takes is for the unit tests; a refusal ends with code 2 and the usage.
"$E2E_GAME" --window-scale 9 >bad.out 2>bad.err
status=$?
[ "$status" = 2 ] && [ ! -s bad.out ] && grep -q '^Usage: korimo-shooting' bad.err ||
    e2e_fail "--window-scale 9 gave exit code $status and printed: $(cat bad.out bad.err)"
e2e_note "installed; the desktop entry, AppStream file and icons check out; --help, --version and bad options answer"

# --- Where the files go ------------------------------------------------------------------------
e2e_start_display
mkdir elsewhere && cd elsewhere || e2e_fail "cannot make a folder of no interest"
ORIGINAL_HOME=$HOME

# start_and_quit <case>: the game from this folder with the environment as it stands now; the
# title must show (so the archive was found), then Alt+F4. F1 first when SNAP is set.
start_and_quit() {
    CASE_WHAT=$1
    e2e_start_game
    sleep 1.5
    e2e_alive
    [ -n "${SNAP:-}" ] && xdotool key F1 && sleep 0.5
    e2e_quit
}

# Only the given file may have been written, in the given folder; nothing in this folder.
expect_written() {
    [ -f "$1" ] && [ "$(stat -c %s "$1")" = 100 ] || e2e_fail "$CASE_WHAT: no 100-byte $1"
    [ -z "$(ls -A .)" ] || e2e_fail "$CASE_WHAT: the game wrote into the folder it was started from: $(ls -A .)"
}

# An earlier save in the current folder, one beside the program; the first is copied in.
e2e_write_ints earlier.sav 0 11 12 13 14 15 16 17 18 19 20 21 2147483647 0 0 0 0 0 0 0 0 0 0 0 0
cp earlier.sav ../earlier.sav && mv earlier.sav korimo.sav
export XDG_DATA_HOME=$E2E_WORK/xdg HOME=$E2E_WORK/home
SNAP=1 start_and_quit "XDG_DATA_HOME set"
SAVED=$XDG_DATA_HOME/korimo-shooting/korimo.sav
cmp -s "$SAVED" ../earlier.sav || e2e_fail "the earlier scores were not copied in: $(e2e_read_ints "$SAVED" | tr '\n' ' ')"
cmp -s korimo.sav ../earlier.sav || e2e_fail "the earlier korimo.sav was changed"
grep -q "copied the scores of $PWD/korimo.sav" "$E2E_WORK/game.log" || e2e_fail "the copy was not told: $(cat "$E2E_WORK/game.log")"
ls "$XDG_DATA_HOME"/korimo-shooting/Snap0000.bmp >/dev/null 2>&1 || e2e_fail "F1 wrote no snapshot in the player's folder"
rm korimo.sav
[ ! -e "$HOME" ] || e2e_fail "HOME was used although XDG_DATA_HOME was set"

cp ../earlier.sav "$PREFIX/games/korimo.sav"  # an old save beside the program
unset XDG_DATA_HOME
start_and_quit "XDG_DATA_HOME unset"
expect_written "$HOME/.local/share/korimo-shooting/korimo.sav"
cmp -s "$HOME/.local/share/korimo-shooting/korimo.sav" ../earlier.sav ||
    e2e_fail "the scores beside the program were not copied in"
[ -f "$PREFIX/games/korimo.sav" ] || e2e_fail "the save beside the program was moved"
rm "$PREFIX/games/korimo.sav"

unset XDG_DATA_HOME HOME
start_and_quit "neither XDG_DATA_HOME nor HOME set"
HOME=$ORIGINAL_HOME
[ -f korimo.sav ] && [ "$(stat -c %s korimo.sav)" = 100 ] || e2e_fail "$CASE_WHAT: no korimo.sav in the current folder"
grep -q "kept in the current folder" "$E2E_WORK/game.log" || e2e_fail "$CASE_WHAT: not told"

e2e_note "all checks passed"
