// The game's own clips, from the built archive, through the game's loader.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "archive/ResourceArchive.h"
#include "platform/scripted/Scripted.h"
#include "sound/ClipDecoder.h"
#include "sound/SoundSource.h"
#include "sound/SoundSystem.h"
#include "tools/sounds/Renderer.h"
#include "tools/sounds/ScoreReader.h"

namespace {

// How many samples the clip's source renders to.
size_t RenderedLength(const char* clipName)
{
    std::string stem(clipName, std::strlen(clipName) - std::strlen(".mp3"));
    Score score;
    std::string error;
    EXPECT_TRUE(LoadScore(KORIMO_SOURCE_DIR "/assets/sounds/" + stem + ".seq", score, error))
        << error;
    return Render(score).size();
}

}  // namespace

TEST(GameClips, LoadInTheirOrderAndDecodeToExactlyTheSamplesTheirSourcesMake)
{
    ResourceArchive archive(KORIMO_RUN_DIR "/korimo");
    ASSERT_EQ(archive.error(), "");

    // The game music above all: a sample too many or too few and its loop would jump.
    for (const char* name : kClipNames) {
        SoundSource source(archive, name);
        std::vector<int16_t> pcm;
        std::string fault;
        ASSERT_TRUE(DecodeClip(source, pcm, fault)) << name << ": " << fault;
        EXPECT_EQ(pcm.size(), RenderedLength(name)) << name;
    }

    scripted::Install();
    SoundSystem sound(nullptr);
    for (int id = 0; id < 9; id++)
        EXPECT_EQ(sound.Load(archive, kClipNames[id]), id) << sound.error();
    EXPECT_EQ(sound.error(), "");
}
