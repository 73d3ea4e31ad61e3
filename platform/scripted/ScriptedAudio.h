#pragma once
// Internal link between the two halves of the scripted backend.

class AudioDevice;

namespace scripted::detail {
// The scripted audio device.
AudioDevice& Audio();
// Forgets every sound event and clears the device failure switch; Install calls it.
void ResetAudio();
}  // namespace scripted::detail
