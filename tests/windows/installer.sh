#!/bin/bash
# The installer run silently (/S) under Wine, as a player without administrator rights: the
# program lands in the player's own programs folder with a Start menu entry and an entry in the
# list of installed programs, and verifies the golden run; the uninstaller removes all of that
# and leaves the player's folder (scores, settings, replays) as it was.
set -u
. "$(dirname "$0")/lib.sh"
win_init windows_installer "$1" "$2" "$3"
installer=$(ls "$WIN_BUILD"/korimo-shooting-*-setup.exe 2>/dev/null | head -n 1)
[ -n "$installer" ] || { echo "windows_installer: no installer built (make windows-package)"; exit 77; }
golden=$(cd "$here/../data" && pwd)/golden-one-minute.krp

user_folder=$WINEPREFIX/drive_c/users/$(id -un)/
programs="${user_folder}AppData/Local/Programs/Korimo Shooting"
start_menu_entry="${user_folder}AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Korimo Shooting.lnk"
player_folder="${user_folder}AppData/Roaming/Korimo Shooting"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\KorimoShooting'

wine "$installer" /S || e2e_fail "the installer ended with exit code $?"
for file in korimo-shooting.exe korimo.set korimo.dat README.txt LICENSE.txt LICENSE-assets.txt uninstall.exe; do
    [ -f "$programs/$file" ] || e2e_fail "the installer did not put $file in $programs"
done
[ -f "$start_menu_entry" ] || e2e_fail "no Start menu entry"
wine reg query "$uninstall_key" /v UninstallString >reg.txt 2>&1 ||
    e2e_fail "no entry in the installed programs: $(cat reg.txt)"
e2e_note "installed in $programs, with a Start menu entry and an uninstall entry"

VERDICT=$(cd /tmp && wine "$programs/korimo-shooting.exe" --verify "$golden" | tr -d '\r')
[[ "$VERDICT" == *"score 33490"*": verified" ]] || e2e_fail "the installed game says '$VERDICT'"
e2e_note "the installed game: $VERDICT"

# Something of the player's, as a run would have left it.
mkdir -p "$player_folder/replays"
cp "$golden" "$player_folder/replays/best1.krp"
printf 'saved' >"$player_folder/korimo.sav"

wine "$programs/uninstall.exe" /S || e2e_fail "the uninstaller ended with exit code $?"
# The uninstaller hands over to a copy of itself and returns at once: wait for the copy.
e2e_wait_for 30 test ! -e "$programs/korimo-shooting.exe" || e2e_fail "the uninstaller left the program"
wineserver -w
[ ! -e "$programs" ] || e2e_fail "the uninstaller left $(ls "$programs")"
[ ! -e "$start_menu_entry" ] || e2e_fail "the uninstaller left the Start menu entry"
! wine reg query "$uninstall_key" >/dev/null 2>&1 || e2e_fail "the uninstaller left the uninstall entry"
cmp -s "$player_folder/replays/best1.krp" "$golden" && [ "$(cat "$player_folder/korimo.sav")" = saved ] ||
    e2e_fail "the uninstaller touched the player's folder"
e2e_note "uninstalled; the player's folder stays"
