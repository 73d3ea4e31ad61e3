// A clip's PCM is held once: the voices that let an effect overlap itself play the bytes of
// the clip's own buffer instead of copies, so ten overlapping plays of a long effect cost
// next to nothing, and loading a clip keeps no second copy besides its buffer.

#include <malloc.h>

#include <gtest/gtest.h>

#include "archive/ResourceArchive.h"
#include "platform/scripted/Scripted.h"
#include "sound/SoundSystem.h"
#include "tests/sound/TestClips.h"

using namespace testfiles;

namespace {

size_t HeapInUse()
{
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

TEST(SharedClip, LoadingAndOverlappingPlaysHoldThePcmOnce)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the address sanitizer's allocator keeps no mallinfo2 figures";
#endif
    constexpr size_t kSamples = 22050 * 2;  // two seconds, as long as the bomb's boom
    constexpr size_t kPcmBytes = kSamples * sizeof(int16_t);
    WriteArchive("long", {{"long.mp3", EncodeMp3(TwoTones(kSamples, 8000))}});
    ResourceArchive archive("long");
    ASSERT_TRUE(archive.error().empty()) << archive.error();
    scripted::Install();
    SoundSystem sound(nullptr);

    size_t before = HeapInUse();
    ASSERT_EQ(sound.Load(archive, "long.mp3"), 0) << sound.error();
    size_t loaded = HeapInUse() - before;
    EXPECT_GE(loaded, kPcmBytes);
    EXPECT_LT(loaded, kPcmBytes * 3 / 2) << "the clip's PCM is held twice";

    // Ten plays at once: ten voices, each sounding the clip.
    for (int i = 0; i < 10; i++)
        sound.Play(0);
    size_t voices = HeapInUse() - before - loaded;
    EXPECT_LT(voices, kPcmBytes / 2) << "voices copy the clip";
    EXPECT_TRUE(scripted::IsClipPlaying(0));
    int plays = 0;
    for (const scripted::SoundEvent& event : scripted::SoundEvents())
        plays += event.clip == 0 && event.kind == scripted::SoundEvent::Play;
    EXPECT_EQ(plays, 10);
}

}  // namespace
