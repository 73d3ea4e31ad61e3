#pragma once
// From a stored sound to its PCM: the stream found inside the entry, described from its first
// frame header, and decoded whole.

#include <string>
#include <vector>

#include "sound/SoundSource.h"

// False, with fault saying what is wrong with the entry, when it holds no sound that decodes.
bool DecodeClip(SoundSource& source, std::vector<int16_t>& pcm, std::string& fault);
