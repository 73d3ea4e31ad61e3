#!/usr/bin/env bash
# The real game in a real window (Xvfb), its sound mixed into a file by SDL's disk audio driver:
# on the title's menu, Up plays the selection sound. The output must be silent up to the press
# and carry the sound soon after it.
#
#   sound_effect.sh <run folder> <build folder>
set -euo pipefail
run=$(cd "$1" && pwd)
game=$run/korimo
rate=22050  # the device's samples per second; the output is 16-bit mono

fail() { echo "sound_effect: $*" >&2; exit 1; }
[ -x "$game" ] || fail "$game is not built"
for tool in Xvfb xdotool xdpyinfo od awk; do
  command -v $tool >/dev/null || fail "$tool is missing (tools/setup.sh installs it)"
done

work=$(mktemp -d /tmp/korimo-e2e-sound.XXXXXX)
xvfb_pid=
game_pid=
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A display of our own, on the first free number.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"

# The game runs in a folder of its own, so its save file stays out of the run folder.
cd "$work"
ln -s "$run/korimo.set" "$run/korimo.dat" .
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/out.raw" "$game" >"$work/game.log" 2>&1 &
game_pid=$!
window=$(timeout 20 xdotool search --sync --limit 1 --pid "$game_pid") ||
  fail "no window appeared: $(cat "$work/game.log")"
xdotool windowfocus --sync "$window"

bytes() { stat -c %s "$work/out.raw"; }
# Sample values from a byte offset on, one a line.
samples() { od -An -v -t d2 -w2 -j "$1" -N "$2" "$work/out.raw"; }

xdotool key space  # the logo gives way to the menu
sleep 1.5
pressed_at=$(bytes)
xdotool key Up
sleep 1.5
kill -0 "$game_pid" 2>/dev/null || fail "the game ended: $(cat "$work/game.log")"
xdotool key alt+F4
timeout 10 tail --pid="$game_pid" -f /dev/null || fail "the game did not close"
wait "$game_pid" || fail "the game exited with $?: $(cat "$work/game.log")"
game_pid=

# Before the press: at least a second of output, and all of it silence.
[ "$pressed_at" -ge $((rate * 2)) ] || fail "only $pressed_at bytes of output before the press"
loudest_before=$(samples 0 "$pressed_at" | awk '
  { a = $1 < 0 ? -$1 : $1; if (a > m) m = a }
  END { print m + 0 }')
[ "$loudest_before" -eq 0 ] || fail "sound before the press (peak $loudest_before)"

# After it: the effect, starting within half a second.
read -r first loudest < <(samples "$pressed_at" $((rate * 2)) | awk '
  $1 != 0 && first == "" { first = NR - 1 }
  { a = $1 < 0 ? -$1 : $1; if (a > m) m = a }
  END { print (first == "" ? -1 : first), m + 0 }')
[ "$first" -ge 0 ] || fail "no sound within a second of the press"
[ "$first" -lt $((rate / 2)) ] || fail "the sound started $first samples after the press"
[ "$loudest" -gt 1000 ] || fail "the sound after the press is too quiet (peak $loudest)"
echo "sound_effect: silent for $((pressed_at / 2)) samples before the press; the effect began" \
     "$first samples after it, peak $loudest"
