#include "sound/SoundSource.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/sound/TestClips.h"

using namespace testfiles;

namespace {

// The entry sits in its own heap block of exactly its size, so that a read past its end is
// caught by the address sanitizer.
struct Entry {
    explicit Entry(const Bytes& bytes) : bytes(bytes), source(this->bytes.data(), size()) {}
    uint32_t size() const { return static_cast<uint32_t>(bytes.size()); }
    size_t At(const uint8_t* p) const { return p ? p - bytes.data() : size_t(-1); }
    std::string StreamFault()
    {
        const char* fault = nullptr;
        EXPECT_TRUE(source.Stream(&fault).empty());
        return fault ? fault : "";
    }
    Bytes bytes;
    SoundSource source;
};

TEST(SoundSource, FindsTheDataChunkOfARiffFileOrTakesABareEntryWhole)
{
    // The odd LIST chunk is followed by its pad byte: the walk must step over it.
    Entry riff(Riff({Chunk("fmt ", Bytes(30, 1)), Chunk("LIST", Bytes(7, 2)),
                     Chunk("data", Bytes(300, 0xAB))}));
    EXPECT_EQ(riff.At(riff.source.FindChunk("fmt ")), 12u);
    EXPECT_EQ(riff.At(riff.source.FindChunk("data")), 12u + 38 + 16);
    EXPECT_EQ(riff.At(riff.source.StreamStart()), 12u + 38 + 16 + 8);
    EXPECT_EQ(riff.source.StreamLength(), 300u);
    EXPECT_EQ(riff.source.FindChunk("cue "), nullptr);
    EXPECT_EQ(riff.source.position, riff.bytes.data());

    Entry bare({0xFF, 0xF3, 0x80, 0xC4, 1, 2, 3, 4, 5});
    EXPECT_FALSE(bare.source.IsRiff());
    EXPECT_EQ(bare.source.FindChunk("data"), nullptr);
    EXPECT_EQ(bare.At(bare.source.StreamStart()), 0u);
    const char* fault = nullptr;
    EXPECT_EQ(bare.source.Stream(&fault).size(), 9u);
}

TEST(SoundSource, RoundsAnOddDataChunkUpToEvenButNeverPastTheEntry)
{
    const char* fault = nullptr;
    Entry padded(Riff({Chunk("data", Bytes(1001, 7))}));
    EXPECT_EQ(padded.source.StreamLength(), 1002u);
    EXPECT_EQ(padded.source.Stream(&fault).size(), 1002u);
    Entry unpadded(Riff({Chunk("data", Bytes(1001, 7), false)}));
    EXPECT_EQ(unpadded.source.StreamLength(), 1002u);
    std::span<const uint8_t> stream = unpadded.source.Stream(&fault);
    EXPECT_EQ(unpadded.At(stream.data() + stream.size()), unpadded.size());
}

TEST(SoundSource, FindsNoChunkWhereNoWholeChunkLiesInsideTheEntry)
{
    // RIFF files of twelve bytes or less, and a chunk header cut short by the entry's end.
    Bytes twelve = Riff({}), cut = twelve;
    cut.insert(cut.end(), {'d', 'a', 't', 'a', 0x10});
    for (const Bytes& bytes : {twelve, Bytes(twelve.begin(), twelve.end() - 1), cut}) {
        Entry entry(bytes);
        EXPECT_EQ(entry.source.FindChunk("data"), nullptr) << bytes.size();
    }
    EXPECT_NE(Entry(twelve).StreamFault().find("\"data\""), std::string::npos);

    // Sizes near 4 GiB: an odd one rounded up would wrap a 32-bit offset round to where it
    // started, and the walk would never end.
    for (uint32_t size : {0xFFFFFFFFu, 0xFFFFFFF7u, 0xFFFFFFF0u, 0x7FFFFFFFu}) {
        Entry entry(Riff({Chunk("LIST", Bytes(20, 3), true, size), Chunk("data", Bytes(40))}));
        EXPECT_EQ(entry.source.FindChunk("data"), nullptr) << size;
        EXPECT_EQ(entry.source.StreamLength(), 0u) << size;
        EXPECT_NE(entry.StreamFault().find("\"data\""), std::string::npos) << size;
    }
    // A data chunk claiming more than the entry holds is refused, not read beyond.
    for (uint32_t size : {5000u, 0xFFFFFFFFu}) {
        Entry overlong(Riff({Chunk("data", Bytes(100, 5), true, size)}));
        EXPECT_NE(overlong.StreamFault().find("past the end"), std::string::npos) << size;
    }
}

}  // namespace
