// Recorded runs played back: the golden recording on every drawing path, a recording with one
// read changed, a run recorded here and verified back, the best replay kept only for a score
// that leads its ranking, and every kind of bad file refused in one line.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ReplaySession.h"
#include "app/Replays.h"
#include "app/SaveRecord.h"
#include "gfx/DrawPaths.h"
#include "platform/Journal.h"
#include "platform/scripted/Scripted.h"
#include "scenes/GameScene.h"
#include "tests/support/GameHarness.h"

namespace {

const char kGoldenRecording[] = KORIMO_SOURCE_DIR "/tests/data/golden-one-minute.krp";

journal::Recording Golden()
{
    journal::Recording recording;
    std::string error;
    EXPECT_TRUE(LoadReplay(kGoldenRecording, recording, error)) << error;
    return recording;
}

// Verifies unseen, as --verify does; the verdict line and the exit code.
std::pair<std::string, int> Verify(const journal::Recording& recording)
{
    scripted::Install();
    scripted::SilenceAudio();
    std::FILE* out = std::tmpfile();
    const int code = PlayReplay(recording, ReplayMode::Verify, nullptr, out);
    std::rewind(out);
    char line[512] = {};
    std::fgets(line, sizeof line, out);
    std::fclose(out);
    return {line, code};
}

std::vector<journal::FrameRecord> Frames(const journal::Recording& recording)
{
    journal::FrameReader reader;
    reader.Reset(recording.frames.data(), recording.frames.size(),
                 recording.header.clockBase);
    std::vector<journal::FrameRecord> frames(recording.header.frameCount + 1);
    std::string error;
    for (auto& frame : frames)
        EXPECT_TRUE(reader.Next(frame, error)) << error;
    return frames;
}

journal::Recording WithFrames(journal::Recording recording,
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

class GoldenReplay : public testing::TestWithParam<DrawPath> {
protected:
    void SetUp() override
    {
        if (!CanUseDrawPath(GetParam()))
            GTEST_SKIP() << DrawPathName(GetParam()) << " is not available on this processor";
        ASSERT_TRUE(UseDrawPath(GetParam()));
    }
    void TearDown() override { UseDrawPath(BestDrawPath()); }
};

TEST_P(GoldenReplay, PlaysToTheRecordedScoreAndPicture)
{
    const journal::Recording golden = Golden();
    // The pilot's golden run (GameSceneGoldenTest): 3530 frames to 33490 points.
    EXPECT_EQ(golden.header.frameCount, 3530u);
    EXPECT_EQ(golden.header.finalScore, 33490);
    EXPECT_EQ(golden.header.finalChecksum, 0xbd3e4a9cb17e40f4ull);
    const auto [line, code] = Verify(golden);
    EXPECT_EQ(code, 0) << line;
    EXPECT_EQ(line, "one minute, score 33490, 3530 frames, checksum bd3e4a9cb17e40f4: verified\n");
}

INSTANTIATE_TEST_SUITE_P(Paths, GoldenReplay,
                         testing::Values(DrawPath::Reference, DrawPath::Sse2, DrawPath::Avx2),
                         [](const testing::TestParamInfo<DrawPath>& info) {
                             return std::string(DrawPathName(info.param));
                         });

TEST(Replay, AChangedReadIsReportedAtItsFrame)
{
    const journal::Recording golden = Golden();
    std::vector<journal::FrameRecord> frames = Frames(golden);
    // In the thick of the run, the recording asks for another key than the game does.
    const uint32_t changedFrame = 2000;
    auto& reads = frames[changedFrame].reads;
    auto key = std::find_if(reads.begin(), reads.end(),
                            [](const journal::Read& r) { return r.kind == journal::ReadKind::Key; });
    ASSERT_NE(key, reads.end());
    key->arg = 'Z';
    const auto [line, code] = Verify(WithFrames(golden, frames));
    EXPECT_EQ(code, 1);
    EXPECT_NE(line.find("differs at frame 2000: the game asked for key"), std::string::npos) << line;
}

}  // namespace
