#include "sound/SoundSource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/sound/TestClips.h"

namespace {

// The entry sits in its own heap block of exactly its size, so that a read past its end is
// caught by the address sanitizer.
struct Entry {
    explicit Entry(const Bytes& bytes) : bytes(bytes), source(this->bytes.data(), size()) {}
    uint32_t size() const { return static_cast<uint32_t>(bytes.size()); }
    Bytes bytes;
    SoundSource source;
};

Bytes Filler(size_t size, uint8_t value)
{
    return Bytes(size, value);
}

std::string StreamFault(Entry& entry)
{
    const char* fault = nullptr;
    std::span<const uint8_t> stream = entry.source.Stream(&fault);
    EXPECT_TRUE(stream.empty());
    return fault ? fault : "";
}

}  // namespace

TEST(SoundSource, FindsTheDataChunkOfARiffFile)
{
    Bytes mp3 = Filler(300, 0xAB);
    Entry entry(Riff({Chunk("fmt ", Filler(30, 1)), Chunk("LIST", Filler(7, 2)), Chunk("data", mp3)}));

    const uint8_t* format = entry.source.FindChunk("fmt ");
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(format - entry.bytes.data(), 12);
    EXPECT_EQ(entry.source.position, format);

    // The odd LIST chunk is followed by its pad byte: the walk must step over it.
    const uint8_t* data = entry.source.FindChunk("data");
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data - entry.bytes.data(), 12 + 38 + 16);
    EXPECT_EQ(entry.source.StreamStart(), data + 8);
    EXPECT_EQ(entry.source.StreamLength(), 300u);

    EXPECT_EQ(entry.source.FindChunk("cue "), nullptr);
    EXPECT_EQ(entry.source.position, entry.bytes.data());
}

TEST(SoundSource, TakesABareEntryWholeAsTheStream)
{
    Entry entry({0xFF, 0xF3, 0x80, 0xC4, 1, 2, 3, 4, 5});
    EXPECT_FALSE(entry.source.IsRiff());
    EXPECT_EQ(entry.source.FindChunk("data"), nullptr);
    EXPECT_EQ(entry.source.StreamStart(), entry.bytes.data());
    EXPECT_EQ(entry.source.StreamLength(), 9u);
    const char* fault = nullptr;
    EXPECT_EQ(entry.source.Stream(&fault).size(), 9u);
}

TEST(SoundSource, RoundsAnOddDataChunkUpToEven)
{
    Entry padded(Riff({Chunk("data", Filler(1001, 7))}));
    EXPECT_EQ(padded.source.StreamLength(), 1002u);
    const char* fault = nullptr;
    EXPECT_EQ(padded.source.Stream(&fault).size(), 1002u);

    // Without its pad byte at the end of the entry, the stream stops at the entry's end.
    Entry unpadded(Riff({Chunk("data", Filler(1001, 7), false)}));
    EXPECT_EQ(unpadded.source.StreamLength(), 1002u);
    std::span<const uint8_t> stream = unpadded.source.Stream(&fault);
    EXPECT_EQ(stream.size(), 1001u);
    EXPECT_EQ(stream.data() + stream.size(), unpadded.bytes.data() + unpadded.size());
}

TEST(SoundSource, FindsNoChunkInARiffFileOfTwelveBytesOrLess)
{
    Entry twelve({'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'});
    EXPECT_EQ(twelve.source.FindChunk("data"), nullptr);
    EXPECT_NE(StreamFault(twelve).find("\"data\""), std::string::npos);

    Entry eleven({'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V'});
    EXPECT_EQ(eleven.source.FindChunk("data"), nullptr);

    // A chunk header cut short by the end of the entry is no chunk.
    Bytes cut = Riff({});
    cut.insert(cut.end(), {'d', 'a', 't', 'a', 0x10});
    Entry truncated(cut);
    EXPECT_EQ(truncated.source.FindChunk("data"), nullptr);
}

TEST(SoundSource, StopsAtChunkSizesThatRunPastTheEntry)
{
    // Sizes near 4 GiB: an odd one rounded up would wrap a 32-bit offset round to where it
    // started, and the walk would never end.
    for (uint32_t size : {0xFFFFFFFFu, 0xFFFFFFF7u, 0xFFFFFFF0u, 0x7FFFFFFFu}) {
        Entry entry(Riff({Chunk("LIST", size, Filler(20, 3)), Chunk("data", Filler(40, 4))}));
        EXPECT_EQ(entry.source.FindChunk("data"), nullptr) << size;
        EXPECT_NE(StreamFault(entry).find("\"data\""), std::string::npos) << size;
    }

    // A data chunk claiming more than the entry holds is refused, not read beyond.
    Entry overlong(Riff({Chunk("data", 5000, Filler(100, 5))}));
    EXPECT_NE(overlong.source.FindChunk("data"), nullptr);
    EXPECT_NE(StreamFault(overlong).find("past the end"), std::string::npos);
    Entry huge(Riff({Chunk("data", 0xFFFFFFFFu, Filler(100, 5))}));
    EXPECT_NE(StreamFault(huge).find("past the end"), std::string::npos);
}
