#!/bin/bash
# The Windows program verifies replays and refuses bad input exactly as the Linux one: for each
# case both run it and must print the same line and end with the same exit code. Cases: the
# golden run, a five-minute run, replays cut short and damaged, and the archive missing or damaged beside the
# program, verifying and playing.
set -u
. "$(dirname "$0")/lib.sh"
win_init windows_verify "$1" "$2" "$3"

golden=$(cd "$here/../data" && pwd)/golden-one-minute.krp
five=$(cd "$here/../data" && pwd)/five-minutes.krp
size=$(stat -c %s "$golden")
head -c $((size / 2)) "$golden" >short.krp
cp "$golden" damaged.krp
printf '\x5a\x5a\x5a\x5a' | dd of=damaged.krp bs=1 seek=$((size / 2)) conv=notrunc 2>/dev/null

# setup <folder> <whole|none|damaged>: both programs, each in a folder with that archive pair.
setup() {
    local side
    for side in linux windows; do
        mkdir -p "$1/$side"
        case $2 in
        whole) ln -s "$E2E_RUN/korimo.set" "$E2E_RUN/korimo.dat" "$1/$side/" ;;
        damaged)
            cp "$E2E_RUN/korimo.set" "$1/$side/"
            head -c 100000 "$E2E_RUN/korimo.dat" >"$1/$side/korimo.dat"
            ;;
        esac
    done
    cp "$LINUX_GAME" "$1/linux/korimo"
    cp "$WIN_EXE" "$1/windows/"
}
setup whole whole
setup none none
setup damaged damaged

# A program's output with the folders made neutral: the two name the places they looked in
# their own way (/tmp/... against Z:\tmp\...), and Windows ends lines with CR LF.
neutral() {
    tr -d '\r' | sed -e 's#[A-Z]:\\#/#g' -e 's#\\#/#g' \
        -e "s#$E2E_WORK/[a-z]*/\(linux\|windows\)#HERE#g" -e 's#/korimo-shooting.exe#/korimo#g'
}

failed=0
check() { # <case> <folder> <arguments...>
    local case=$1 folder=$2 linux windows linux_status windows_status
    shift 2
    linux=$(cd "$folder/linux" && ./korimo "$@" 2>&1)
    linux_status=$?
    windows=$(cd "$folder/windows" && wine ./korimo-shooting.exe "$@" 2>&1)
    windows_status=$?
    linux=$(neutral <<<"$linux")
    windows=$(neutral <<<"$windows")
    if [ "$linux" != "$windows" ] || [ "$linux_status" != "$windows_status" ]; then
        echo "windows_verify: FAIL: $case: Linux ($linux_status) '$linux'; Windows ($windows_status) '$windows'"
        failed=1
    else
        e2e_note "$case: both ($windows_status) '$windows'"
    fi
}
check "the golden run" whole --verify "$golden"
check "a five-minute run" whole --verify "$five"
check "a replay cut short" whole --verify "$E2E_WORK/short.krp"
check "a damaged replay" whole --verify "$E2E_WORK/damaged.krp"
check "no archive, verifying" none --verify "$golden"
check "no archive, playing" none --no-sound
check "a damaged archive, verifying" damaged --verify "$golden"
check "a damaged archive, playing" damaged --no-sound

# Agreeing is not enough for the golden run: it must verify, at its score.
(cd whole/windows && wine ./korimo-shooting.exe --verify "$golden") | grep -q 'score 33490.*: verified' ||
    { echo "windows_verify: FAIL: the golden run did not verify at score 33490"; failed=1; }
(cd whole/windows && wine ./korimo-shooting.exe --verify "$five") | grep -q 'five minutes, score 234765.*: verified' ||
    { echo "windows_verify: FAIL: the five-minute run did not verify at score 234765"; failed=1; }
[ $failed = 0 ] || exit 1
echo "windows_verify: ok"
