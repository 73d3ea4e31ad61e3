#include "sound/SoundSystem.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "archive/ResourceArchive.h"
#include "platform/scripted/Scripted.h"
#include "tests/sound/TestClips.h"

using namespace testfiles;
using scripted::SoundEvent;

namespace {

// Clip i of the test archive, "clip<i>.mp3", lasts (i + 1) tenths of a second.
std::string ClipName(int i)
{
    return "clip" + std::to_string(i) + ".mp3";
}

ResourceArchive& TestArchive()
{
    static bool written = [] {
        std::vector<std::pair<std::string, Bytes>> entries;
        for (int i = 0; i < 9; i++)
            entries.push_back({ClipName(i), EncodeMp3(TwoTones(2205 * (i + 1), 8000))});
        Bytes mp3 = entries[0].second;
        entries.push_back({"riff.mp3", Riff({Chunk("fmt ", Bytes(30)), Chunk("data", mp3)})});
        entries.push_back({"overlong.mp3", Riff({Chunk("data", mp3, true, 100000)})});
        WriteArchive("sounds", entries);
        return true;
    }();
    static ResourceArchive archive("sounds");
    EXPECT_TRUE(written && archive.error().empty()) << archive.error();
    return archive;
}

std::vector<SoundEvent> EventsOf(int clip)
{
    std::vector<SoundEvent> found;
    for (const SoundEvent& event : scripted::SoundEvents()) {
        if (event.clip == clip)
            found.push_back(event);
    }
    return found;
}

// The buffer the last event of the clip happened on.
int LastBuffer(int clip)
{
    return EventsOf(clip).back().buffer;
}

// A sound system on the scripted device with the nine test clips loaded, ids 0 to 8.
class SoundSystemTest : public testing::Test {
protected:
    void SetUp() override
    {
        scripted::Install();
        scripted::SetClock(1000);
        sound = std::make_unique<SoundSystem>(nullptr);
        for (int i = 0; i < 9; i++)
            ASSERT_EQ(sound->Load(TestArchive(), ClipName(i).c_str()), i) << sound->error();
    }

    std::unique_ptr<SoundSystem> sound;
};

TEST_F(SoundSystemTest, TakesSlotsInLoadOrderUpToSixteenAndNamesEveryFailure)
{
    struct Case {
        const char* name;
        const char* fault;
    };
    for (Case broken :
         {Case{"missing.mp3", "not in the archive"}, Case{"overlong.mp3", "past the end"}}) {
        EXPECT_EQ(sound->Load(TestArchive(), broken.name), 0xFFFF) << broken.name;
        for (const char* says : {broken.name, "sounds.dat", broken.fault})
            EXPECT_NE(sound->error().find(says), std::string::npos) << sound->error();
    }
    // Failed loads take no slot. (Each kind of damage is for the sound source and decoder
    // tests; here the message names the clip and the archive.)
    EXPECT_EQ(sound->Load(TestArchive(), "riff.mp3"), 9);
    for (int id = 10; id < 16; id++)
        EXPECT_EQ(sound->Load(TestArchive(), ClipName(0).c_str()), id);
    EXPECT_EQ(sound->Load(TestArchive(), "clip5.mp3"), 0xFFFF);
    EXPECT_NE(sound->error().find("clip5.mp3"), std::string::npos) << sound->error();
    EXPECT_NE(sound->error().find("slot"), std::string::npos) << sound->error();
}

TEST_F(SoundSystemTest, OverlapsEffectsOnVoicesThatAreUsedAgainOnceIdle)
{
    // Clip 4 lasts 500 ms: three plays at once take three voices, at 10 dB below the music.
    for (int i = 0; i < 3; i++)
        sound->Play(4);
    std::vector<SoundEvent> plays = EventsOf(4);
    ASSERT_EQ(plays.size(), 3u);
    EXPECT_EQ((std::set<int>{plays[0].buffer, plays[1].buffer, plays[2].buffer}).size(), 3u);
    for (const SoundEvent& play : plays) {
        EXPECT_EQ(play.kind, SoundEvent::Play);
        EXPECT_EQ(play.volume, -1000);
    }
    // The oldest idle voice plays the next, from its start, skipping those still sounding.
    scripted::AdvanceClock(500);
    EXPECT_FALSE(scripted::IsClipPlaying(4));
    sound->Play(4);
    EXPECT_EQ(LastBuffer(4), plays[0].buffer);
    scripted::AdvanceClock(499);
    EXPECT_TRUE(scripted::IsClipPlaying(4));
    scripted::AdvanceClock(1);
    sound->Play(4);
    scripted::AdvanceClock(300);
    sound->Play(4);
    EXPECT_EQ(LastBuffer(4), plays[1].buffer);
    scripted::AdvanceClock(200);
    sound->Play(4);
    EXPECT_EQ(LastBuffer(4), plays[0].buffer);

    // An effect whose only voice is busy gets a new one, never another clip's idle voice.
    sound->Play(3);
    int firstVoiceOf3 = LastBuffer(3);
    scripted::AdvanceClock(500);
    sound->Play(3);
    EXPECT_EQ(LastBuffer(3), firstVoiceOf3);
    scripted::AdvanceClock(100);
    sound->Play(3);
    EXPECT_NE(LastBuffer(3), firstVoiceOf3);
    for (const SoundEvent& play : EventsOf(4))
        EXPECT_NE(LastBuffer(3), play.buffer);
}

TEST_F(SoundSystemTest, LoopsMusicUnderneathItsEffectsAndStartsItAgainFromTheBeginning)
{
    // Clip 1 lasts 200 ms.
    sound->PlayMusic(1, 1);
    ASSERT_EQ(EventsOf(1).size(), 1u);
    SoundEvent music = EventsOf(1)[0];
    EXPECT_EQ(music.kind, SoundEvent::Loop);
    EXPECT_EQ(music.volume, 0);
    scripted::AdvanceClock(10 * 200 + 37);
    EXPECT_TRUE(scripted::IsClipPlaying(1));
    // The same clip as an effect plays on a voice of its own, which stopping the music spares.
    sound->Play(1);
    EXPECT_NE(LastBuffer(1), music.buffer);
    scripted::AdvanceClock(100);
    sound->Stop(1);
    EXPECT_EQ(EventsOf(1).back().kind, SoundEvent::Stop);
    EXPECT_EQ(LastBuffer(1), music.buffer);
    EXPECT_TRUE(scripted::IsClipPlaying(1));
    scripted::AdvanceClock(100);
    EXPECT_FALSE(scripted::IsClipPlaying(1));

    // Clip 2 lasts 300 ms: stopped half way, or played to its end, it starts again from the
    // beginning and plays for the whole 300.
    sound->PlayMusic(2, 0);
    scripted::AdvanceClock(150);
    sound->Stop(2);
    EXPECT_FALSE(scripted::IsClipPlaying(2));
    for (int round = 0; round < 2; round++) {
        sound->PlayMusic(2, 0);
        scripted::AdvanceClock(299);
        EXPECT_TRUE(scripted::IsClipPlaying(2));
        scripted::AdvanceClock(1);
        EXPECT_FALSE(scripted::IsClipPlaying(2));
    }
}

TEST_F(SoundSystemTest, IgnoresIdsWithoutAClipAndFallsSilentWhenTornDown)
{
    for (int id : {-1, 9, 15, 16, 0xFFFF}) {
        sound->Play(id);
        sound->PlayMusic(id, 1);
        sound->Stop(id);
    }
    EXPECT_TRUE(scripted::SoundEvents().empty());
    sound->PlayMusic(1, 1);
    sound->Play(5);
    sound.reset();
    EXPECT_FALSE(scripted::IsClipPlaying(1));
    EXPECT_FALSE(scripted::IsClipPlaying(5));
    // A device of the game's own goes with its last reference.
    IDirectSound* device = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
    // Its cooperative levels run from 1 (normal) to 4 (write primary).
    for (auto [level, result] :
         {std::pair{0u, DSERR_INVALIDPARAM}, {1u, DS_OK}, {4u, DS_OK}, {5u, DSERR_INVALIDPARAM}})
        EXPECT_EQ(device->SetCooperativeLevel(nullptr, level), result) << level;
    EXPECT_EQ(device->Release(), 0u);
}

}  // namespace
