#!/bin/bash
# The Windows program sends runs to a board over WinHTTP: its sending test runs under Wine
# against the stand-in board of the desktop build, listening on loopback on the Linux side.
set -u
. "$(dirname "$0")/lib.sh"
win_init windows_board "$1" "$2" "$3"
test_program=$WIN_BUILD/tests/board/board_winhttp_test.exe
stand_in=$E2E_BUILD/tests/board/korimo_stand_in_board
[ -f "$test_program" ] || e2e_fail "$test_program is not built (make windows-tests)"
[ -x "$stand_in" ] || e2e_fail "$stand_in is not built"

# The stand-in serves until its standard input closes: a pipe this session holds open.
mkfifo stand-in.in
"$stand_in" <stand-in.in >stand-in.out 2>stand-in.log &
E2E_STARTED_PIDS+=($!)
exec 3>stand-in.in
e2e_wait_for 10 test -s stand-in.out || e2e_fail "the stand-in board did not start"
export KORIMO_STAND_IN_BOARD=http://127.0.0.1:$(head -1 stand-in.out)
e2e_note "the stand-in board at $KORIMO_STAND_IN_BOARD"

wine "$test_program" >test.log 2>&1 || { cat test.log; e2e_fail "sending over WinHTTP failed"; }
grep '^\[  PASSED  \]' test.log
exec 3>&-
echo "windows_board: ok"
