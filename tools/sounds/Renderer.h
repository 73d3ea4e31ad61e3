#pragma once
// Turns a Score into the clip's 16-bit PCM at kSampleRate.

#include <cstdint>
#include <vector>

#include "tools/sounds/Score.h"

// No clip is let closer to full scale than this, whatever its levelling asks: the encoder can
// overshoot the source's peaks a little.
constexpr double kPeakCeilingDb = -1.5;

// A looping score gives exactly score.length samples: whatever rings past the last bar is
// wrapped onto the first, so the end flows into the start as it does when played in a loop.
// A score played once runs until its last note has died away. Each channel is monophonic:
// a note is cut (with a 3 ms fade) when the next note of its channel starts.
std::vector<int16_t> Render(const Score& score);
