#pragma once
// The chip's voices: a band-limited pulse with a variable duty cycle, a 32-step triangle, a
// 15-bit noise generator, and the envelope and pitch movements an instrument puts on them.

#include <cstdint>
#include <vector>

#include "tools/sounds/Score.h"

// Seconds from note-on to the end of its release.
double SoundingTime(const Instrument& instrument, double gate);

// The note's sound, from its start until it has died away (or `samples` if sooner), scaled by
// the note's and the instrument's volume. Pulse and triangle swing between -0.5 and 0.5 at
// full level; every voice is centred on zero, so notes start and stop without a thump.
std::vector<double> RenderNote(const Instrument& instrument, const Note& note, int64_t samples);
