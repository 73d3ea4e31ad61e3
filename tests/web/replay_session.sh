#!/bin/bash
# A recorded run verified in the page, in Debian's headless Chromium, ends on exactly the line
# the desktop's --verify prints for it: the same score, frames and last-frame checksum, and
# "verified". The page is served from a folder holding the built page and the recording.
#
# Usage: replay_session.sh <desktop program> <page folder> <replay file>
# Skipped (77) without Chromium or without the page (`make web` builds it).

set -u
KORIMO=$1
PAGE=$2
REPLAY=$3
source "$(dirname "$0")/needs_page.sh" replay_session "$PAGE"

desktop=$("$KORIMO" --verify "$REPLAY") || { echo "replay_session: the desktop does not verify it: $desktop"; exit 1; }
echo "replay_session: the desktop printed: $desktop"

SERVED=$(mktemp -d)
trap 'rm -rf "$SERVED"' EXIT
ln -s "$(cd "$PAGE" && pwd)"/* "$SERVED"/
cp "$REPLAY" "$SERVED"/
node "$(dirname "$0")/replay_session.js" "$SERVED" "$(basename "$REPLAY")" "$desktop"
