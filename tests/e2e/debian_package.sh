#!/usr/bin/env bash
# The Debian package from end to end: `cpack` builds it (its dependencies from
# dpkg-shlibdeps), lintian finds no error, `dpkg -i` installs it, the installed game started
# from a folder of no interest finds its archive, and `dpkg --purge` removes it again. (Where
# the player's files go is for installed_game.sh.) Needs root and dpkg; skipped (code 77)
# without them, or when the package is installed already, which a test must not undo.
source "$(dirname "$0")/lib.sh"
GOLDEN=$(cd "$(dirname "$0")/../data" && pwd)/golden-one-minute.krp
e2e_init debian_package "$1" "$2"
[ "$(id -u)" = 0 ] && command -v dpkg >/dev/null || { e2e_note "skipped: needs root and dpkg"; exit 77; }
dpkg-query -W -f='${Status}' korimo-shooting 2>/dev/null | grep -q installed &&
    { e2e_note "skipped: korimo-shooting is installed on this machine already"; exit 77; }
for tool in cpack lintian dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || e2e_fail "$tool is missing (tools/setup-dev.sh installs it)"
done

(cd "$E2E_BUILD" && cpack -G DEB -B "$E2E_WORK/package") >cpack.log 2>&1 || e2e_fail "cpack failed: $(tail -5 cpack.log)"
DEB=$(ls "$E2E_WORK"/package/korimo-shooting_*.deb 2>/dev/null | head -n 1)
[ -n "$DEB" ] || e2e_fail "cpack made no package: $(tail -5 cpack.log)"
dpkg-deb -f "$DEB" Depends | grep -q 'libsdl2-2.0-0 (>=' || e2e_fail "the dependencies are not dpkg-shlibdeps': $(dpkg-deb -f "$DEB" Depends)"
lintian --fail-on error "$DEB" >lintian.log 2>&1 || e2e_fail "lintian: $(grep -v '^running with root' lintian.log)"

purge() { dpkg --purge korimo-shooting >>"$E2E_WORK/dpkg.log" 2>&1; }
trap 'purge; e2e_cleanup' EXIT
dpkg -i "$DEB" >dpkg.log 2>&1 || e2e_fail "dpkg -i failed: $(cat dpkg.log)"
E2E_GAME=/usr/games/korimo-shooting
[ -x "$E2E_GAME" ] || e2e_fail "the package installed no $E2E_GAME"
e2e_note "built $(basename "$DEB"), lintian finds no error, installed"

# From a folder of no interest, the installed game finds its archive where the package put it:
# the golden run verifies, which also proves it is the archive this source tree builds.
cd "$E2E_WORK" && mkdir elsewhere && cd elsewhere || e2e_fail "cannot make a folder of no interest"
"$E2E_GAME" --verify "$GOLDEN" >verify.log 2>&1 || e2e_fail "--verify printed: $(cat verify.log)"
e2e_note "the installed game verified the golden run: $(cat verify.log)"

purge || e2e_fail "dpkg --purge failed: $(cat "$E2E_WORK/dpkg.log")"
[ ! -e "$E2E_GAME" ] && [ ! -e /usr/share/korimo-shooting ] || e2e_fail "dpkg --purge left the game behind"
e2e_note "all checks passed"
