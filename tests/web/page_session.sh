#!/bin/bash
# The game as a web page, served on 127.0.0.1 in Debian's headless Chromium and driven by real
# key events from the browser's automation interface: its title menu is, pixel for pixel, the
# desktop's F1 snapshot of the same moment; the sound waits for the first key; Down and Up,
# and a game pad's d-pad, move the menu's choice; Space starts the run with its music; a
# run flown with Space and the arrows, then given up from the pause, leaves its score in the
# ranking of the player's folder, and the score is still there after the page is reloaded.
#
# Usage: page_session.sh <run folder> <build folder> <page folder>
# Skipped (77) without Chromium or without the page (`make web` builds it).

set -u
PAGE=$3
source "$(dirname "$0")/needs_page.sh" page_session "$PAGE"
PAGE=$(cd "$PAGE" && pwd)
DRIVER=$(cd "$(dirname "$0")" && pwd)/page_session.js

source "$(dirname "$0")/../e2e/lib.sh"
e2e_init page_session "$1" "$2"

# The desktop's own picture of the title menu, which stands still once the logo has turned.
e2e_start_display
e2e_link_archive
e2e_start_game
e2e_focus
sleep 5
e2e_snapshot
cp "$E2E_SHOT" desktop-menu.bmp
e2e_quit

node "$DRIVER" "$PAGE" "$E2E_WORK/desktop-menu.bmp" "$E2E_WORK" || e2e_fail "the page session failed"
e2e_note "ok"
