#!/bin/bash
# The page served by a real board, as its "watch" links open it: a run uploaded to
# korimo-board on loopback, opened as /play/?replay=/runs/ID.krp in Debian's headless
# Chromium, plays in the game's replay viewer to the same last-frame checksum as the
# desktop's --verify prints for the file; addresses that are no run of this server, or hold
# no replay, each get one line on the page and the game starts all the same.
#
# Usage: board_page.sh <run folder> <page folder> <replay file>
# Skipped (77) without Chromium, the page (`make web`) or the board program.

set -u
RUN=$(cd "$1" && pwd)
PAGE=$2
REPLAY=$3
source "$(dirname "$0")/needs_page.sh" board_page "$PAGE"
[ -x "$RUN/korimo-board" ] || { echo "board_page: korimo-board is not built"; exit 77; }

desktop=$("$RUN/korimo" --verify "$REPLAY") || { echo "board_page: the desktop does not verify it: $desktop"; exit 1; }
echo "board_page: the desktop printed: $desktop"

WORK=$(mktemp -d)
BOARD_PID=
trap '[ -n "$BOARD_PID" ] && kill "$BOARD_PID" 2>/dev/null; wait; rm -rf "$WORK"' EXIT
PORT=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
BOARD=http://127.0.0.1:$PORT
"$RUN/korimo-board" --listen "127.0.0.1:$PORT" --database "sqlite:$WORK/board.sqlite" \
    --game "$RUN/korimo" --workers 1 --web "$(cd "$PAGE" && pwd)" >"$WORK/board.log" 2>&1 &
BOARD_PID=$!
for _ in $(seq 100); do
    curl -sf "$BOARD/healthz" >/dev/null && break
    sleep 0.2
done
curl -sf "$BOARD/healthz" >/dev/null || { echo "board_page: the board did not start"; cat "$WORK/board.log"; exit 1; }

KEY=$(head -c 32 /dev/urandom | od -An -tx1 | tr -d ' \n')
STORED=$(curl -sS -f -H "X-Player-Key: $KEY" --data-binary @"$REPLAY" "$BOARD/api/runs?name=Page%20Watcher") ||
    { echo "board_page: the board did not take the run"; cat "$WORK/board.log"; exit 1; }
ID=$(python3 -c 'import json, sys; print(json.loads(sys.argv[1])["id"])' "$STORED")
echo "board_page: the board stored it as run $ID"

node "$(dirname "$0")/board_page.js" "$BOARD" "$ID" "$desktop" "${BOARD_PAGE_SHOTS:-$WORK}"
