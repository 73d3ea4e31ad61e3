#pragma once
// Reads a clip's text source into a Score. The source is a list of lines (`#` starts a
// comment):
//
//   tempo 147                      quarter notes per minute
//   play loop | play once          a loop is exactly its bars long; its tails wrap around
//   level peak -2dB                the highest peak; or `level loudness -16dB`, the loudest
//                                  30 ms (effects use it so that they match)
//   instrument lead pulse duty=25% attack=3ms decay=200ms sustain=60% release=60ms
//                         vibrato-rate=5Hz ...  (indented lines carry on the settings)
//   channel melody pulse gain=40% instrument=lead
//   kit drums k=kick s=snare        letters a drum channel's text uses for its instruments
//   section A                       then `channel: notes` lines (see PhraseReader.h)
//   order intro A A2 B A            sections in the order they play (default: as written)
//
// Instrument settings, each with its unit: volume (%), duty, duty-end (%), duty-time,
// attack, decay, release (ms), sustain (%), vibrato-rate (Hz), vibrato-depth (c, cents),
// vibrato-delay (ms), glide-from (st, semitones), glide-time (ms), sweep (st/s),
// arpeggio-step (ms), rate (Hz, the noise clock). Waves: pulse, triangle, noise, metal; a
// channel is pulse, triangle or noise (which plays noise and metal).

#include <string>
#include <string_view>

#include "tools/sounds/Score.h"

// On a fault returns false and sets error to one line naming the file, the line and the fault.
bool ReadScore(std::string_view text, const std::string& fileName, Score& score,
               std::string& error);

// Reads the file at path; its name without folder and extension becomes the score's name.
bool LoadScore(const std::string& path, Score& score, std::string& error);
