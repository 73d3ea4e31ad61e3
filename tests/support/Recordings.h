#pragma once
// Recorded runs for the tests: loaded, played unseen for their verdict, and taken apart into
// frames and put together again after a change.

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/ReplaySession.h"
#include "app/Replays.h"
#include "platform/scripted/Scripted.h"
#include "replay/Journal.h"

namespace recordings {

inline const char kGolden[] = KORIMO_SOURCE_DIR "/tests/data/golden-one-minute.krp";

inline journal::Recording Load(const std::string& path = kGolden)
{
    journal::Recording recording;
    std::string error;
    EXPECT_TRUE(LoadReplay(path, recording, error)) << error;
    return recording;
}

// The verdict line and the exit code of playing the run unseen, as --verify does.
inline std::pair<std::string, int> Verdict(const journal::Recording& recording,
                                           ReplayMode mode = ReplayMode::Verify)
{
    scripted::Install();
    scripted::SilenceAudio();
    std::FILE* out = std::tmpfile();
    const int code = PlayReplay(recording, mode, nullptr, out, scripted::SetClock);
    std::rewind(out);
    char line[512] = {};
    std::fgets(line, sizeof line, out);
    std::fclose(out);
    return {line, code};
}

inline std::vector<journal::FrameRecord> Frames(const journal::Recording& recording)
{
    journal::FrameReader reader;
    reader.Reset(recording.frames.data(), recording.frames.size(), recording.header.clockBase);
    std::vector<journal::FrameRecord> frames(recording.header.frameCount + 1);
    std::string error;
    for (auto& frame : frames)
        EXPECT_TRUE(reader.Next(frame, error)) << error;
    return frames;
}

inline journal::Recording WithFrames(journal::Recording recording,
                                     const std::vector<journal::FrameRecord>& frames)
{
    journal::FrameWriter writer;
    writer.Reset(recording.header.clockBase);
    for (const auto& frame : frames)
        writer.Write(frame);
    writer.Finish();
    recording.frames = writer.bytes();
    return recording;
}

}  // namespace recordings
