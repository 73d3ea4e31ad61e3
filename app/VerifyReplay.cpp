#include "app/VerifyReplay.h"

#include "app/ReplaySession.h"
#include "app/Replays.h"
#include "platform/scripted/Scripted.h"

int VerifyReplayFile(const std::string& path, std::FILE* out)
{
    journal::Recording recording;
    std::string error;
    if (!LoadReplay(path, recording, error)) {
        std::fprintf(stderr, "korimo: %s\n", error.c_str());
        return 1;
    }
    scripted::Install();
    scripted::SilenceAudio();
    return PlayReplay(recording, ReplayMode::Verify, nullptr, out, scripted::SetClock);
}
