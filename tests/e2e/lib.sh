# shellcheck shell=bash
# Shared helpers of the end-to-end sessions, sourced by tests/e2e/*.sh: a display of our own,
# the game started in a scratch folder and its window found, F1 snapshots, the sound that SDL's
# disk driver writes, and a trap that ends every process the session started and removes its
# folder. Each session runs as `bash tests/e2e/<session>.sh <run folder> <build folder>`, the run
# folder holding korimo and the archive pair. Set E2E_KEEP=1 to keep the scratch folder (its
# path is printed) for a look at what failed.
#
#   e2e_init example "$1" "$2"   # name, run folder, build folder; enters $E2E_WORK
#   e2e_start_display [--wm]     # Xvfb without key auto-repeat (and openbox)
#   e2e_start_game               # korimo from the run folder, in $E2E_WORK
#   e2e_snapshot                 # F1; E2E_SHOT is the new Snap%04d.bmp
#   e2e_quit                     # Alt+F4; the game must end with exit code 0

# The program a session starts and its options: by default the build's, writing its files into
# the folder it is started in. A session may set another screen size before e2e_start_display.
E2E_GAME_OPTIONS=(--data-dir .)
E2E_SCREEN_SIZE=1024x768
E2E_WORK=
E2E_GAME_PID=
E2E_STARTED_PIDS=()

# The 320x240 frame as F1 writes it: 32-bit, bottom-up, 58 bytes of headers.
E2E_SNAPSHOT_BYTES=307258

e2e_fail() {
    echo "$E2E_NAME: FAIL: $*" >&2
    # Less the line a frame that KORIMO_TIMING=1 prints: hundreds of them would bury the rest.
    [ -s "$E2E_WORK/game.log" ] &&
        grep -v '^korimo: frame starts at ' "$E2E_WORK/game.log" | sed 's/^/  game: /' >&2
    exit 1
}

e2e_note() { echo "$E2E_NAME: $*"; }

e2e_cleanup() {
    local pid
    # The game first, then the window manager, then the display they use.
    for pid in $E2E_GAME_PID $(printf '%s\n' "${E2E_STARTED_PIDS[@]}" | tac); do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    if [ -n "${E2E_KEEP:-}" ]; then
        echo "$E2E_NAME: kept $E2E_WORK" >&2
    elif [ -n "$E2E_WORK" ]; then
        rm -rf "$E2E_WORK"
    fi
}

# e2e_init <name> <run folder> <build folder>
e2e_init() {
    E2E_NAME=$1
    [ -x "$2/korimo" ] || { echo "$E2E_NAME: $2/korimo is not built" >&2; exit 1; }
    E2E_RUN=$(cd "$2" && pwd)
    E2E_GAME=$E2E_RUN/korimo
    E2E_BUILD=$(cd "$3" && pwd)
    local tool
    for tool in Xvfb openbox xdotool xdpyinfo xwininfo xwd convert compare od awk; do
        command -v "$tool" >/dev/null ||
            { echo "$E2E_NAME: $tool is missing (tools/setup-dev.sh installs it)" >&2; exit 1; }
    done
    E2E_WORK=$(mktemp -d "/tmp/korimo-e2e-$E2E_NAME.XXXXXX")
    E2E_AUDIO=$E2E_WORK/out.raw
    trap e2e_cleanup EXIT
    trap 'exit 1' INT TERM
    cd "$E2E_WORK" || e2e_fail "cannot enter $E2E_WORK"
}

# Polls a command until it succeeds, every tenth of a second for at most the given seconds.
e2e_wait_for() {
    local tries=$(($1 * 10))
    shift
    until "$@"; do
        tries=$((tries - 1))
        [ $tries -gt 0 ] || return 1
        sleep 0.1
    done
}

# Xvfb on the first free display number, without key auto-repeat, so that a key held by
# xdotool is one key-down as on a desk with a slow repeat. Full screen needs a window manager:
# openbox with --wm, tried again if it fails to open a display that has only just come up.
e2e_start_display() {
    exec 3>"$E2E_WORK/display"
    Xvfb -displayfd 3 -r -screen 0 "${E2E_SCREEN_SIZE}x24" -nolisten tcp >"$E2E_WORK/xvfb.log" 2>&1 &
    E2E_STARTED_PIDS+=($!)
    exec 3>&-
    e2e_wait_for 20 test -s "$E2E_WORK/display" || e2e_fail "Xvfb did not start"
    DISPLAY=:$(cat "$E2E_WORK/display")
    export DISPLAY
    e2e_wait_for 20 xdpyinfo >/dev/null 2>&1 || e2e_fail "Xvfb did not answer on $DISPLAY"
    [ "${1:-}" = --wm ] || return 0
    for _ in 1 2 3; do
        openbox >"$E2E_WORK/openbox.log" 2>&1 &
        E2E_STARTED_PIDS+=($!)
        e2e_wait_for 10 e2e_window_manager_ready && return 0
        sleep 1
    done
    e2e_fail "openbox did not start: $(cat "$E2E_WORK/openbox.log")"
}

e2e_window_manager_ready() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# Links the archive pair of the run folder into the current folder.
e2e_link_archive() { ln -sf "$E2E_RUN/korimo.set" "$E2E_RUN/korimo.dat" .; }

# e2e_start_game [VARIABLE=value...]: starts the game in the current folder with the given
# environment (SDL_AUDIODRIVER=dummy unless one is given), its output in game.log, then waits
# for the window to be shown and gives it the keyboard.
e2e_start_game() {
    env SDL_AUDIODRIVER=dummy "$@" "$E2E_GAME" "${E2E_GAME_OPTIONS[@]}" >"$E2E_WORK/game.log" 2>&1 &
    E2E_GAME_PID=$!
    E2E_WINDOW=$(timeout 30 xdotool search --sync --onlyvisible --limit 1 --pid "$E2E_GAME_PID" \
                 2>/dev/null) || e2e_fail "no window appeared"
    e2e_focus
}

e2e_focus() {
    e2e_wait_for 10 xdotool windowfocus --sync "$E2E_WINDOW" 2>/dev/null ||
        e2e_fail "the window did not take the focus"
}

# The window's client size in pixels: "640 480".
e2e_window_size() {
    xwininfo -id "$E2E_WINDOW" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w, h }'
}

e2e_alive() { kill -0 "$E2E_GAME_PID" 2>/dev/null || e2e_fail "the game ended unexpectedly"; }

# Waits at most the given seconds for the game to end by itself, and sets E2E_EXIT_STATUS.
e2e_wait_exit() {
    timeout "$1" tail --pid="$E2E_GAME_PID" -f /dev/null 2>/dev/null ||
        e2e_fail "the game did not end within $1 s"
    wait "$E2E_GAME_PID"
    E2E_EXIT_STATUS=$?
    E2E_GAME_PID=
}

# Closes the window with Alt+F4; the game must end with exit code 0.
e2e_quit() {
    e2e_alive
    e2e_focus
    xdotool key alt+F4
    e2e_wait_exit 20
    [ "$E2E_EXIT_STATUS" = 0 ] || e2e_fail "the game ended with exit code $E2E_EXIT_STATUS"
}

# Keys: e2e_press key... (xdotool key names).
e2e_press() { xdotool key "$@"; }

# Space twice: past the title's logo, then the one-minute game from its menu.
e2e_start_run() {
    e2e_press space
    sleep 0.5
    e2e_press space
}

e2e_snapshot_count() { find . -maxdepth 1 -name 'Snap*.bmp' | wc -l; }
e2e_more_snapshots_than() { [ "$(e2e_snapshot_count)" -gt "$1" ]; }
e2e_snapshot_complete() { [ "$(stat -c %s "$1" 2>/dev/null)" = "$E2E_SNAPSHOT_BYTES" ]; }

# Presses F1 and sets E2E_SHOT to the last snapshot file the press wrote, once it is whole. (A
# press may span two frames and so write two files.)
e2e_snapshot() {
    local before
    before=$(e2e_snapshot_count)
    xdotool key F1
    e2e_wait_for 20 e2e_more_snapshots_than "$before" || e2e_fail "F1 wrote no snapshot"
    sleep 0.2
    E2E_SHOT=$(ls Snap*.bmp | tail -n 1)
    e2e_wait_for 10 e2e_snapshot_complete "$E2E_SHOT" ||
        e2e_fail "$E2E_SHOT is $(stat -c %s "$E2E_SHOT") bytes, not $E2E_SNAPSHOT_BYTES"
}

# e2e_differing <picture> <reference> [geometry]: how many pixels of the two pictures differ,
# within the area WxH+X+Y (top-left origin) of both, or over the whole of them.
e2e_differing() {
    local crop=()
    [ -n "${3:-}" ] && crop=(-crop "$3" +repage)
    convert "$1" -alpha off "${crop[@]}" "$E2E_WORK/differing-a.png"
    convert "$2" -alpha off "${crop[@]}" "$E2E_WORK/differing-b.png"
    compare -metric AE "$E2E_WORK/differing-a.png" "$E2E_WORK/differing-b.png" null: 2>&1 || true
}

# Sound written by SDL's disk driver (start the game with SDL_AUDIODRIVER=disk
# SDL_DISKAUDIOFILE="$E2E_AUDIO"), raw 16-bit mono at 22,050 samples a second, in real time.
# Bytes written so far, a position to measure from:
e2e_audio_position() { stat -c %s "$E2E_AUDIO" 2>/dev/null || echo 0; }

# e2e_audio_peak <from byte> <to byte>: the largest sample magnitude in between.
e2e_audio_peak() {
    local from=$(($1 / 2 * 2)) to=$2
    [ "$to" -gt "$from" ] || { echo 0; return; }
    od -An -v -t d2 -w2 -j "$from" -N $((to - from)) "$E2E_AUDIO" |
        awk '{ a = $1 < 0 ? -$1 : $1; if (a > m) m = a } END { print m + 0 }'
}

# The save file's signed 32-bit little-endian integers: written from arguments, read one a line.
e2e_write_ints() {
    local file=$1 value
    shift
    : >"$file"
    for value in "$@"; do
        printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((value & 255)) $((value >> 8 & 255)) \
            $((value >> 16 & 255)) $((value >> 24 & 255)))" >>"$file"
    done
}

e2e_read_ints() { od -An -v -t d4 -w4 "$1" | tr -d ' '; }
