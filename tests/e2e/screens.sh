#!/usr/bin/env bash
# The real game in a real window (Xvfb), played through its screens with xdotool: Space past
# the logo, Space on the menu, a one-minute run survived by firing and bombing all the way, then
# the ending. An F1 snapshot during the ranking must show "SCORE RANKING" in white where the
# ranking puts it, glyph for glyph in our own font; Space there changes nothing; Space during
# the staff roll brings back the title, whose menu is checked against the opening picture.
#
#   screens.sh <run folder> <build folder>
set -euo pipefail
run=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
game=$run/korimo
pack=$build/tools/pack/korimo-pack
font=$source_dir/assets/font/ascii.txt

fail() { echo "screens: $*" >&2; exit 1; }
[ -x "$game" ] || fail "$game is not built"
[ -x "$pack" ] || fail "$pack is not built"
for tool in Xvfb xdotool xdpyinfo convert compare identify awk; do
  command -v $tool >/dev/null || fail "$tool is missing (tools/setup.sh installs it)"
done

work=$(mktemp -d /tmp/korimo-e2e-screens.XXXXXX)
xvfb_pid=
game_pid=
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A display of our own, on the first free number, without key auto-repeat: a held key is one
# key-down, as on a player's desk with a slow repeat.
exec 3>"$work/display"
Xvfb -displayfd 3 -r -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"

cd "$work"
ln -s "$run/korimo.set" "$run/korimo.dat" .
SDL_AUDIODRIVER=dummy "$game" >"$work/game.log" 2>&1 &
game_pid=$!
window=$(timeout 20 xdotool search --sync --limit 1 --pid "$game_pid") ||
  fail "no window appeared: $(cat "$work/game.log")"
xdotool windowfocus --sync "$window"

alive() { kill -0 "$game_pid" 2>/dev/null || fail "the game ended: $(cat "$work/game.log")"; }

# Presses F1 and prints the name of the snapshot file the game wrote for it.
snapshot() {
  local before
  before=$(ls Snap*.bmp 2>/dev/null | wc -l)
  xdotool key F1
  for _ in $(seq 50); do
    [ "$(ls Snap*.bmp 2>/dev/null | wc -l)" -gt "$before" ] && break
    sleep 0.1
  done
  local newest
  newest=$(ls Snap*.bmp 2>/dev/null | tail -n 1)
  [ -n "$newest" ] || fail "F1 wrote no snapshot"
  sleep 0.2  # let the file be written out
  echo "$newest"
}

# One character per pixel of a text drawn in our font: '#' ink, '.' clear; 16 lines.
text_mask() {
  awk -v text="$1" '
    BEGIN {
      for (i = 32; i < 127; i++) code[sprintf("%c", i)] = i
      for (i = 0; i < 16; i++) digit[substr("0123456789abcdef", i + 1, 1)] = i
    }
    /^glyph 0x/ {
      hex = tolower(substr($2, 3))
      glyph = 16 * digit[substr(hex, 1, 1)] + digit[substr(hex, 2, 1)]
      row = 0
      next
    }
    /^[.#]+$/ && row < 16 { rows[glyph, row++] = $0 }
    END {
      for (r = 0; r < 16; r++) {
        line = ""
        for (i = 1; i <= length(text); i++) line = line rows[code[substr(text, i, 1)], r]
        print line
      }
    }' "$font"
}

# The same area of a snapshot, '#' for pure white pixels and '.' for anything else.
white_mask() {
  local file=$1 x=$2 y=$3 width=$4
  convert "$file" -alpha off -crop "${width}x16+${x}+${y}" +repage -depth 8 txt:- |
    awk -v width="$width" '
      NR > 1 {
        split($1, at, /[,:]/)
        cell[at[2], at[1]] = ($3 == "#FFFFFF") ? "#" : "."
      }
      END {
        for (r = 0; r < 16; r++) {
          line = ""
          for (c = 0; c < width; c++) line = line cell[r, c]
          print line
        }
      }'
}

shows_ranking() {
  [ "$(white_mask "$1" 112 10 104)" == "$(text_mask "SCORE RANKING")" ]
}

# How many pixels differ between the top rows of a snapshot and of a picture of the archive.
pixels_differing() {
  local file=$1 picture=$work/pictures/$2 rows=$3
  convert "$file" -alpha off -crop "320x${rows}+0+0" +repage "$work/a.png"
  convert "$picture" -alpha off -crop "320x${rows}+0+0" +repage "$work/b.png"
  compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 || true
}

for picture in gameover.bmp opening.bmp menu.bmp; do
  "$pack" extract "$run/korimo" "$work/pictures" "$picture" >/dev/null ||
    fail "cannot extract $picture from the archive"
done

# Logo, menu, and a one-minute run held with fire and bomb: bombs clear the screen whenever
# the gauge allows, which keeps the heroine alive for the minute. Should she be hit all the
# same, Space leaves the game-over screen and the next attempt starts from the title.
ranking=
for attempt in 1 2 3; do
  alive
  xdotool key space  # the logo gives way to the menu
  sleep 0.5
  xdotool key space  # the one-minute game, after a 512 ms fade
  sleep 0.7
  xdotool keydown space keydown b
  sleep 61
  xdotool keyup space keyup b
  sleep 5  # the ending sweeps in for 3 s, then shows the ranking
  alive
  shot=$(snapshot)
  if shows_ranking "$shot"; then
    ranking=$shot
    break
  fi
  [ "$(pixels_differing "$shot" gameover.bmp 240)" == "0" ] ||
    fail "after the run the screen is neither the ranking nor the game-over picture ($shot)"
  echo "screens: the heroine was hit in attempt $attempt; trying again" >&2
  xdotool key space  # fade to the title
  sleep 1.5
done
[ -n "$ranking" ] || fail "no snapshot showed the ranking after three runs"

# The ranking ignores Space; the staff roll starts when the ending is 20 s old.
xdotool key space
sleep 1
shows_ranking "$(snapshot)" || fail "Space during the ranking left it"
sleep 15
xdotool key space  # during the roll: back to the title
sleep 4.5  # past the logo, the opening picture and the menu's arrival

# The title's menu over the opening picture: the rows above the menu are the picture's own.
menu_rows=$(( $(identify -format %h "$work/pictures/menu.bmp") / 2 ))
clear_rows=$(( 240 - 40 - menu_rows ))
differing=$(pixels_differing "$(snapshot)" opening.bmp "$clear_rows")
[ "$differing" == "0" ] || fail "the title after the ending differs from the opening picture" \
  "in $differing pixels of its top $clear_rows rows"

xdotool key alt+F4
timeout 10 tail --pid="$game_pid" -f /dev/null || fail "the game did not close"
wait "$game_pid" || fail "the game exited with $?: $(cat "$work/game.log")"
game_pid=
echo "screens: ranking shown in $ranking; the title came back after Space in the staff roll"
