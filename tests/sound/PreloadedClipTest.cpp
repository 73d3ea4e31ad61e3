// Clips that a ClipPreloader is still decoding take their ids in load order at once and become
// playable when first used, in whatever order that happens, at the levels already set; one
// that will not decode stays silent instead of ending the game.

#include <gtest/gtest.h>

#include <string>

#include "archive/ResourceArchive.h"
#include "platform/scripted/Scripted.h"
#include "sound/ClipPreloader.h"
#include "sound/SoundSystem.h"
#include "tests/sound/TestClips.h"

using namespace testfiles;
using scripted::SoundEvent;

namespace {

TEST(PreloadedClip, KeepsLoadOrderPlaysEachClipWhenFirstUsedAndLetsABrokenOneStaySilent)
{
    // Lengths tell the clips apart when they play: 100 ms, 2 s and 500 ms.
    WriteArchive("preloaded", {{"short.mp3", EncodeMp3(TwoTones(2205, 8000))},
                               {"long.mp3", EncodeMp3(TwoTones(44100, 8000))},
                               {"middle.mp3", EncodeMp3(TwoTones(11025, 8000))},
                               {"noise.mp3", Bytes(3000, 0x5A)}});
    ResourceArchive archive("preloaded");
    ASSERT_TRUE(archive.error().empty()) << archive.error();
    scripted::Install();
    scripted::SetClock(1000);

    const char* const names[] = {"short.mp3", "long.mp3", "missing.mp3", "middle.mp3", "noise.mp3"};
    ClipPreloader preloader(archive, names);
    SoundSystem sound(nullptr);
    EXPECT_EQ(sound.Load(archive, "short.mp3"), 0) << sound.error();
    EXPECT_EQ(sound.Load(archive, "long.mp3"), 1) << sound.error();
    // An absent name fails at once, as without a preloader, and takes no slot.
    EXPECT_EQ(sound.Load(archive, "missing.mp3"), 0xFFFF);
    EXPECT_NE(sound.error().find("not in the archive"), std::string::npos) << sound.error();
    EXPECT_EQ(sound.Load(archive, "middle.mp3"), 2) << sound.error();
    EXPECT_EQ(sound.Load(archive, "noise.mp3"), 3) << sound.error();

    // The levels are set before any clip is used, as at start-up.
    sound.SetLevels(-2000, 0);
    sound.PlayMusic(2, 0);
    sound.PlayMusic(1, 1);
    sound.PlayMusic(0, 0);
    sound.PlayMusic(3, 0);
    EXPECT_NE(sound.error().find("noise.mp3"), std::string::npos) << sound.error();

    std::vector<SoundEvent> events = scripted::SoundEvents();
    ASSERT_EQ(events.size(), 3u) << "the clip that did not decode must not play";
    const int expectedClips[] = {2, 1, 0};
    for (size_t i = 0; i < events.size(); i++) {
        EXPECT_EQ(events[i].clip, expectedClips[i]);
        EXPECT_EQ(events[i].volume, -2000) << "clip " << events[i].clip;
    }
    EXPECT_EQ(events[1].kind, SoundEvent::Loop);
    // Loaded again once its clip was taken, a name is decoded afresh.
    const int again = sound.Load(archive, "short.mp3");
    sound.Play(again);
    EXPECT_TRUE(scripted::IsClipPlaying(again)) << sound.error();

    // Each id plays its own clip: after 300 ms only the two longer ones sound, after 1 s
    // only the longest.
    auto playing = [] {
        return std::vector{scripted::IsClipPlaying(0), scripted::IsClipPlaying(1),
                           scripted::IsClipPlaying(2), scripted::IsClipPlaying(3)};
    };
    scripted::AdvanceClock(300);
    EXPECT_EQ(playing(), (std::vector{false, true, true, false}));
    scripted::AdvanceClock(700);
    EXPECT_EQ(playing(), (std::vector{false, true, false, false}));
}

}  // namespace
