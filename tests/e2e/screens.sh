#!/usr/bin/env bash
# The real game in a real window (Xvfb), played through its screens with xdotool: Space past
# the logo, Space on the menu, a one-minute run survived by firing and bombing all the way, then
# the ending. An F1 snapshot during the ranking must show "SCORE RANKING" in white where the
# ranking puts it, glyph for glyph in our own font; Space there changes nothing; Space during
# the staff roll brings back the title, whose menu is checked against the opening picture.
#
#   screens.sh <run folder> <build folder>
set -u
source "$(dirname "$0")/lib.sh"
e2e_init screens "$1" "$2"
e2e_start_display
e2e_unpack_archive
e2e_link_archive
e2e_start_game

shows_ranking() {
    e2e_shows_text "$1" '#FFFFFF' 112 10 "SCORE RANKING"
}

# Logo, menu, and a one-minute run held with fire and bomb: bombs clear the screen whenever
# the gauge allows, which keeps the heroine alive for the minute. Should she be hit all the
# same, Space leaves the game-over screen and the next attempt starts from the title.
ranking=
for attempt in 1 2 3; do
    e2e_alive
    e2e_press space  # the logo gives way to the menu
    sleep 0.5
    e2e_press space  # the one-minute game, after a 512 ms fade
    sleep 0.7
    e2e_hold space b
    sleep 61
    e2e_release space b
    sleep 5  # the ending sweeps in for 3 s, then shows the ranking
    e2e_alive
    e2e_snapshot
    if shows_ranking "$E2E_SHOT"; then
        ranking=$E2E_SHOT
        break
    fi
    e2e_shows_game_over "$E2E_SHOT" ||
        e2e_fail "after the run the screen is neither the ranking nor the game-over picture" \
                 "($E2E_SHOT)"
    e2e_note "the heroine was hit in attempt $attempt; trying again" >&2
    e2e_press space  # fade to the title
    sleep 1.5
done
[ -n "$ranking" ] || e2e_fail "no snapshot showed the ranking after three runs"

# The ranking ignores Space; the staff roll starts when the ending is 20 s old.
e2e_press space
sleep 1
e2e_snapshot
shows_ranking "$E2E_SHOT" || e2e_fail "Space during the ranking left it"
sleep 15
e2e_press space  # during the roll: back to the title
sleep 4.5  # past the logo, the opening picture and the menu's arrival

# The title's menu over the opening picture: the rows above the menu are the picture's own.
menu_rows=$(($(identify -format %h "$E2E_ASSETS/menu.bmp") / 2))
clear_rows=$((240 - 40 - menu_rows))
e2e_snapshot
differing=$(e2e_differing "$E2E_SHOT" "$E2E_ASSETS/opening.bmp" "320x$clear_rows+0+0")
[ "$differing" == "0" ] || e2e_fail "the title after the ending differs from the opening" \
    "picture in $differing pixels of its top $clear_rows rows"

e2e_quit
e2e_note "ranking shown in $ranking; the title came back after Space in the staff roll"
