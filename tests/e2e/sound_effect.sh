#!/usr/bin/env bash
# The real game in a real window (Xvfb), its sound mixed into a file by SDL's disk audio driver:
# on the title's menu, Up plays the selection sound. The output must be silent up to the press
# and carry the sound soon after it.
#
#   sound_effect.sh <run folder> <build folder>
set -u
source "$(dirname "$0")/lib.sh"
e2e_init sound_effect "$1" "$2"
rate=22050  # the device's samples per second; the output is 16-bit mono

e2e_start_display
# The game runs in a folder of its own, so its save file stays out of the run folder.
e2e_link_archive
e2e_start_game SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_AUDIO"

e2e_press space  # the logo gives way to the menu
sleep 1.5
pressed_at=$(e2e_audio_position)
e2e_press Up
sleep 1.5
e2e_quit

# Before the press: at least a second of output, and all of it silence.
[ "$pressed_at" -ge $((rate * 2)) ] || e2e_fail "only $pressed_at bytes of output before the press"
loudest_before=$(e2e_audio_peak 0 "$pressed_at")
[ "$loudest_before" -eq 0 ] || e2e_fail "sound before the press (peak $loudest_before)"

# After it: the effect, starting within half a second.
second_after=$((pressed_at + rate * 2))
first=$(e2e_audio_onset "$pressed_at" "$second_after")
loudest=$(e2e_audio_peak "$pressed_at" "$second_after")
[ "$first" -ge 0 ] || e2e_fail "no sound within a second of the press"
[ "$first" -lt $((rate / 2)) ] || e2e_fail "the sound started $first samples after the press"
[ "$loudest" -gt 1000 ] || e2e_fail "the sound after the press is too quiet (peak $loudest)"
e2e_note "silent for $((pressed_at / 2)) samples before the press; the effect began" \
         "$first samples after it, peak $loudest"
