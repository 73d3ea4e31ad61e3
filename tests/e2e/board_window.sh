#!/usr/bin/env bash
# A player on a real board: korimo-board on loopback, the game in a window with the board set.
# A short run, given up (as a hit ends it), is sent; the game-over screen shows its world place
# over its picture (a screenshot of the window, since F1 keeps the screen's own picture); the board's
# top lists it under the player's name, --board-top prints it, and --replay with the run's
# address on the board plays it, while an address that holds no replay is one line and exit 1.
source "$(dirname "$0")/lib.sh"
e2e_init board_window "$1" "$2"
BOARD_PROGRAM=$E2E_RUN/korimo-board
[ -x "$BOARD_PROGRAM" ] || { e2e_note "skipped: korimo-board is not built"; exit 77; }
command -v curl >/dev/null || e2e_fail "curl is missing (tools/setup-dev.sh installs it)"
e2e_start_display
e2e_link_archive

PORT=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
BOARD=http://127.0.0.1:$PORT
"$BOARD_PROGRAM" --listen "127.0.0.1:$PORT" --database "sqlite:$E2E_WORK/board.sqlite" \
    --game "$E2E_GAME" --workers 1 >"$E2E_WORK/board.log" 2>&1 &
E2E_STARTED_PIDS+=($!)
e2e_wait_for 20 curl -sf "$BOARD/healthz" >/dev/null || e2e_fail "the board did not start"

printf 'player_name = Window Pilot\nboard = %s\n' "$BOARD" >settings.ini
e2e_start_game
e2e_start_run
xdotool keydown space
sleep 4
xdotool keyup space
e2e_press p
sleep 0.5
e2e_press q
# The board verifies the run while the game-over picture sweeps in.
sleep 4
e2e_alive
SHOT=$E2E_WORK/placed.png
import -window "$E2E_WINDOW" "$SHOT" || e2e_fail "no screenshot"
# The board's line is drawn in gold (#F2C840) near the bottom, where the picture has none.
GOLD=$(convert "$SHOT" -crop 640x24+0+428 -alpha off -fill black +opaque "#F2C840" \
       -fill white -opaque "#F2C840" -format "%[fx:round(mean*w*h)]" info:)
e2e_note "the board's line: $GOLD gold pixels (screenshot $SHOT)"
[ "$GOLD" -gt 40 ] || e2e_fail "the game-over screen shows no board line"
TOP=$(curl -sf "$BOARD/api/top?length=1") || e2e_fail "the board gives no top"
e2e_note "the board's top: $TOP"
ID=$(python3 -c 'import json, sys; t = json.loads(sys.argv[1]); r = t["runs"][0]
assert r["name"] == "Window Pilot" and t["ranked"] == 1, t; print(r["id"])' "$TOP") ||
    e2e_fail "the board does not list the run under the player's name"
e2e_quit
[ -z "$(ls replays/outbox 2>/dev/null)" ] || e2e_fail "the sent run stayed in the outbox"

LISTED=$("$E2E_GAME" --data-dir . --board-top 1) || e2e_fail "--board-top failed"
e2e_note "--board-top: $(echo "$LISTED" | tr '\n' '|')"
grep -q "^   1  Window Pilot" <<<"$LISTED" || e2e_fail "--board-top does not list the run"

# The run watched from its address on the board: it plays (Space skips to its end, which must
# come to the recorded score), then its ranking.
E2E_GAME_OPTIONS=(--data-dir . --replay "$BOARD/runs/$ID.krp")
e2e_start_game
sleep 1
e2e_press space
sleep 5
e2e_alive
e2e_quit
"$E2E_GAME" --data-dir . --replay "$BOARD/healthz" 2>watch.err && e2e_fail "a page watched as a run"
[ "$(wc -l <watch.err)" = 1 ] || e2e_fail "not one line for a URL without a replay: $(cat watch.err)"
e2e_note "a URL that is not a replay: $(cat watch.err)"
