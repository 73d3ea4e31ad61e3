#pragma once
// Internal link between the two halves of the scripted backend.

namespace scripted::detail {
// Forgets every buffer and sound event and clears the device failure switch; Install calls it.
void ResetAudio();
}  // namespace scripted::detail
