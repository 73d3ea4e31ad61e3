#!/bin/bash
# The unit tests of the Windows build (the folders whose tests need no window), each a Windows
# program run under Wine by the Windows build's own ctest, in a prefix of the session's own.
set -u
. "$(dirname "$0")/lib.sh"
win_init windows_unit_tests "$1" "$2" "$3"
[ -f "$WIN_BUILD/CTestTestfile.cmake" ] && [ -n "$(ls "$WIN_BUILD"/tests/*/test_*.exe 2>/dev/null)" ] ||
    e2e_fail "the Windows unit tests are not built (make windows-tests)"
ctest --test-dir "$WIN_BUILD" --output-on-failure -R '^test_' || e2e_fail "a Windows unit test failed"
e2e_note "every Windows unit test passed"
