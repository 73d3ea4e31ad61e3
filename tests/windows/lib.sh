# shellcheck shell=bash
# The Windows sessions' helpers, over the end-to-end ones (tests/e2e/lib.sh): a Wine prefix of
# the session's own, booted once, and the Windows program started in place of the Linux one.
# Each session runs as `bash tests/windows/<session>.sh <run folder> <build folder> <windows
# build folder>`; the Linux program of the run folder is the one the Windows one is held to.
#
#   win_init example "$1" "$2" "$3"  # as e2e_init, and a booted prefix; enters $E2E_WORK

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../e2e/lib.sh
. "$here/../e2e/lib.sh"

# win_init <name> <run folder> <build folder> <windows build folder>
win_init() {
    local name=$1
    command -v wine >/dev/null || { echo "$name: wine is not installed (tools/setup-dev.sh)"; exit 77; }
    [ -f "$4/korimo-shooting.exe" ] ||
        { echo "$name: $4/korimo-shooting.exe is not built (make windows)"; exit 77; }
    WIN_BUILD=$(cd "$4" && pwd)
    WIN_EXE=$WIN_BUILD/korimo-shooting.exe
    e2e_init "$name" "$2" "$3"
    trap win_cleanup EXIT
    LINUX_GAME=$E2E_GAME
    export WINEPREFIX=$E2E_WORK/prefix WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d
    # The prefix's user folders and the sound set-up live in a home of the session's own.
    export HOME=$E2E_WORK/home
    mkdir -p "$HOME"
    local started=$SECONDS
    wineboot -i >"$E2E_WORK/wineboot.log" 2>&1 ||
        e2e_fail "wineboot failed: $(tail -3 "$E2E_WORK/wineboot.log")"
    e2e_note "a fresh Wine prefix in $((SECONDS - started)) s"
    # The game that e2e_start_game starts is the Windows one.
    E2E_GAME=$E2E_WORK/korimo-wine
    printf '#!/bin/sh\nexec wine "%s" "$@"\n' "$WIN_EXE" >"$E2E_GAME"
    chmod +x "$E2E_GAME"
}

# The session's wineserver, and with it every Windows program it runs, goes before its folder.
win_cleanup() {
    [ -d "${WINEPREFIX:-/nonexistent}" ] && wineserver -k 2>/dev/null
    e2e_cleanup
}
