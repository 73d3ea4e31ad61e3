#pragma once
// A recorded run as bytes: the header that restarts it and the frames' reads, packed so that a
// frame in which nothing changed costs a bit or two. The format is described at the top of
// JournalCodec.cpp.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "replay/RunSetup.h"

namespace journal {

// What the game asked the outside world. The argument tells which key; 0 for the others.
enum class ReadKind : uint8_t { Clock, Key, Pad, PadCaps, Count };
struct Read {
    ReadKind kind = ReadKind::Clock;
    uint32_t arg = 0;
    bool operator==(const Read& other) const = default;
};

// What it was told. Clock: a = milliseconds. Key: a = held. Pad: a = answered, b = buttons,
// c = x | y << 16. PadCaps: a = answered, b = x minimum | x maximum << 16, c = the same of y.
struct Answer {
    uint32_t a = 0, b = 0, c = 0;
    bool operator==(const Answer& other) const = default;
};

// The window messages that reach a scene.
enum class EventKind : uint8_t {
    KeyPress,
    KeyDown,
    FocusLost,
    JoyButtonDown,
    JoyButtonUp,
    JoyMove,
    Count
};
struct SceneEvent {
    EventKind kind = EventKind::KeyPress;
    uint32_t arg = 0;
    bool operator==(const SceneEvent& other) const = default;
};
constexpr uint32_t EventBit(EventKind kind)
{
    return 1u << static_cast<int>(kind);
}

// One frame: the messages delivered before it, then every read in the order it was made.
struct FrameRecord {
    std::vector<SceneEvent> events;
    std::vector<Read> reads;
    std::vector<Answer> answers;  // one per read
    void Clear()
    {
        events.clear();
        reads.clear();
        answers.clear();
    }
};

// A recorded run's set-up, where and when it was made, and what it came to.
struct RunHeader {
    char gameVersion[16] = {};
    uint32_t archiveChecksum = 0;  // of the archive's index: other pictures or rules differ
    uint64_t date = 0;             // seconds since 1970, UTC
    int32_t finalScore = 0;
    uint64_t finalChecksum = 0;  // of the last frame's picture
    uint32_t frameCount = 0;     // frames after the set-up one
    uint32_t checksumInterval = 60;
    uint32_t clockBase = 0;  // the clock as the run began
    RunSetup setup;
};

// The picture checksum the frames are compared by (64-bit FNV-1a over the pixels' bytes).
uint64_t PictureChecksum(const uint32_t* pixels, size_t count);
// The same of several pictures of count pixels each, into checksums (one per picture), worked
// out side by side: each is a chain of dependent steps, so a few take the time of one.
void PictureChecksums(std::span<const uint32_t* const> pictures, size_t count, uint64_t* checksums);

// A frame's shape: its reads in order and what each key read was told. A run has few of them
// (a handful of key combinations, each asked in its own order), so the frames refer to them.
struct FrameShape {
    std::vector<Read> reads;
    std::vector<uint8_t> keysHeld;  // one per key read, in order
    bool operator==(const FrameShape& other) const = default;
};

// Packs frames one after another: most frames are one byte naming a shape seen before.
class FrameWriter {
public:
    void Reset(uint32_t clockBase);
    void Write(const FrameRecord& frame);
    // Ends the last run of quiet frames; the bytes are complete after it.
    void Finish();
    const std::vector<uint8_t>& bytes() const { return out; }

private:
    void FlushQuiet();

    std::vector<uint8_t> out;
    std::vector<FrameShape> shapes;  // most recently used first
    std::vector<int32_t> lastSteps;
    Answer pad, padCaps;  // as last told
    uint32_t lastClock = 0;
    uint32_t quiet = 0;  // frames owed as one run
};

// Unpacks what a FrameWriter packed, never reading outside the bytes. False with error set
// when the bytes are damaged.
class FrameReader {
public:
    void Reset(const uint8_t* data, size_t size, uint32_t clockBase);
    bool Next(FrameRecord& frame, std::string& error);

private:
    const uint8_t* at = nullptr;
    const uint8_t* end = nullptr;
    std::vector<FrameShape> shapes;
    std::vector<int32_t> lastSteps;
    Answer pad, padCaps;
    uint32_t lastClock = 0;
    uint32_t quiet = 0;
};

// A whole recording as it is kept in a file.
struct Recording {
    RunHeader header;
    std::vector<uint8_t> frames;
    std::vector<uint32_t> checksums;  // of every checksumInterval-th frame (low 32 bits)
};

std::vector<uint8_t> EncodeRecording(const Recording& recording);
// False, with one line in error, when the bytes are not a sound recording of this format.
bool DecodeRecording(std::span<const uint8_t> bytes, Recording& recording, std::string& error);

}  // namespace journal
