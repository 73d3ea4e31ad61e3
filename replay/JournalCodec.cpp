// The replay file (.krp). All numbers are little-endian.
//
//   "KRPL"               magic
//   u16 version          kFormatVersion; another version is refused, not guessed at
//   u16 header size      bytes of the fields below up to the frames, for this version
//   char[16]             game version, NUL-padded
//   u32 archive checksum, u32 game length, u64 date, i32 final score, i32 best score of the
//   ranking as the run began (the head-up display shows it), u64 final checksum,
//   u32 frame count, u32 checksum interval, u32 clock base, u32 event mask,
//   i32[16] key bindings, u32 pad available, u32[4] pad ranges,
//   u32 spawner state, u32 generator index, u32[624] generator state
//   u32 n, n bytes       the frames (below)
//   u32 m, m x u32       picture checksums (low half) of frames interval, 2 x interval, ...
//   u32                  32-bit FNV-1a of every byte before it
//
// Frames. Frame 0 is the run's set-up, frames 1..count its frames. A varint is 7 bits a byte,
// low first, the top bit meaning "more"; a zigzag varint carries a signed value. A frame's
// shape is its reads in order (clock, key k, pad, pad ranges) and what each key read was told;
// shapes are kept in a list, most recently used first, a new one entering at the front. Each
// frame starts with a varint token:
//   bits 0-1  the clock steps: 0, as in the previous frame; 2 and 3, the frame's one clock
//             read steps 1 ms more or less than the previous frame's last step; 1, the steps
//             follow, per clock read a zigzag varint, the difference from the clock read
//             before it (the run's first from the clock base)
//   bit 2     a varint of more flags follows (below)
//   bits 3..  the shape: n, the n-th of the list counting from 0, which moves to the front
//             (0: the previous frame's)
// A token of 0 is a quiet frame: the previous frame again, but for what it was told by the
// pad. The more flags, each section in this order:
//   16  a quiet run: a varint n; this frame and the next n - 1 are quiet (alone, token 4)
//   8   messages: a varint count, then per message a kind byte and a varint argument; they
//       reach the scene before the frame's reads
//   1   a new shape, which this frame has: a varint count of reads, per read a kind byte and a
//       varint argument, then the key reads' answers, 8 to a byte, first in the lowest bit
//   4   the pad's answers changed: a varint count, then per change a varint index of the read
//       (counted from the previous change) and the varints a, b, c of its answer. Every other
//       pad read is told what the one before it was (at first: 0, 0, 0)
// So a frame costs a byte unless it brings something new, and a run of frames like the one
// before costs two or three bytes in all.

#include "replay/JournalCodec.h"

#include <algorithm>
#include <cstring>

namespace journal {

namespace {

constexpr char kMagic[4] = {'K', 'R', 'P', 'L'};
constexpr uint16_t kFormatVersion = 1;

constexpr uint32_t kStepsSame = 0;
constexpr uint32_t kStepsGiven = 1;
constexpr uint32_t kStepUp = 2;
constexpr uint32_t kStepDown = 3;
constexpr uint32_t kTokenMore = 4;
constexpr int kShapeShift = 3;
constexpr uint32_t kNewShape = 1;
constexpr uint32_t kPadChanges = 4;
constexpr uint32_t kEvents = 8;
constexpr uint32_t kQuietRun = 16;
constexpr uint32_t kKnownFlags = kNewShape | kPadChanges | kEvents | kQuietRun;

constexpr uint32_t kMaxReadsPerFrame = 1 << 16;
constexpr uint32_t kMaxFrames = 1 << 24;

bool ValidRead(const Read& read)
{
    if (read.kind == ReadKind::Key)
        return read.arg < 256;
    return read.kind < ReadKind::Count && read.arg == 0;
}

void PutVarint(std::vector<uint8_t>& out, uint32_t value)
{
    while (value >= 0x80) {
        out.push_back(static_cast<uint8_t>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<uint8_t>(value));
}

void PutZigzag(std::vector<uint8_t>& out, int32_t value)
{
    PutVarint(out, (static_cast<uint32_t>(value) << 1) ^ static_cast<uint32_t>(value >> 31));
}

// Reads from a span of bytes; once anything runs past the end, ok turns false and every later
// value is 0.
struct Cursor {
    const uint8_t* at;
    const uint8_t* end;
    bool ok = true;

    uint32_t Varint()
    {
        uint32_t value = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            if (at == end) {
                ok = false;
                return 0;
            }
            const uint8_t byte = *at++;
            value |= static_cast<uint32_t>(byte & 0x7F) << shift;
            if (!(byte & 0x80))
                return value;
        }
        ok = false;  // longer than any 32-bit value
        return 0;
    }
    int32_t Zigzag()
    {
        const uint32_t v = Varint();
        return static_cast<int32_t>((v >> 1) ^ (0u - (v & 1)));
    }
    uint8_t Byte()
    {
        if (at == end) {
            ok = false;
            return 0;
        }
        return *at++;
    }
    template <typename T>
    T Fixed()
    {
        T value = 0;
        if (end - at < static_cast<ptrdiff_t>(sizeof value)) {
            ok = false;
            at = end;
            return 0;
        }
        for (size_t i = 0; i < sizeof value; i++)
            value |= static_cast<T>(static_cast<T>(at[i]) << (8 * i));
        at += sizeof value;
        return value;
    }
};

template <typename T>
void PutFixed(std::vector<uint8_t>& out, T value)
{
    using U = std::make_unsigned_t<T>;
    const U bits = static_cast<U>(value);
    for (size_t i = 0; i < sizeof bits; i++)
        out.push_back(static_cast<uint8_t>(bits >> (8 * i)));
}

uint32_t Fnv1a32(const uint8_t* bytes, size_t count)
{
    uint32_t hash = 0x811C9DC5u;
    for (size_t i = 0; i < count; i++)
        hash = (hash ^ bytes[i]) * 0x01000193u;
    return hash;
}

std::vector<int32_t> ClockSteps(const FrameRecord& frame, uint32_t& lastClock)
{
    std::vector<int32_t> steps;
    for (size_t i = 0; i < frame.reads.size(); i++) {
        if (frame.reads[i].kind != ReadKind::Clock)
            continue;
        steps.push_back(static_cast<int32_t>(frame.answers[i].a - lastClock));
        lastClock = frame.answers[i].a;
    }
    return steps;
}

}  // namespace

namespace {

constexpr uint64_t kFnvOffset = 0xCBF29CE484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001B3ull;

}  // namespace

uint64_t PictureChecksum(const uint32_t* pixels, size_t count)
{
    uint64_t hash = kFnvOffset;
    const auto* bytes = reinterpret_cast<const unsigned char*>(pixels);
    for (size_t i = 0; i < count * 4; i++)
        hash = (hash ^ bytes[i]) * kFnvPrime;
    return hash;
}

void PictureChecksums(std::span<const uint32_t* const> pictures, size_t count, uint64_t* checksums)
{
    size_t done = 0;
    // Four chains at once keep the multiplier busy; what is left over goes one at a time.
    for (; done + 4 <= pictures.size(); done += 4) {
        const auto* a = reinterpret_cast<const unsigned char*>(pictures[done]);
        const auto* b = reinterpret_cast<const unsigned char*>(pictures[done + 1]);
        const auto* c = reinterpret_cast<const unsigned char*>(pictures[done + 2]);
        const auto* d = reinterpret_cast<const unsigned char*>(pictures[done + 3]);
        uint64_t ha = kFnvOffset, hb = kFnvOffset, hc = kFnvOffset, hd = kFnvOffset;
        for (size_t i = 0; i < count * 4; i++) {
            ha = (ha ^ a[i]) * kFnvPrime;
            hb = (hb ^ b[i]) * kFnvPrime;
            hc = (hc ^ c[i]) * kFnvPrime;
            hd = (hd ^ d[i]) * kFnvPrime;
        }
        checksums[done] = ha;
        checksums[done + 1] = hb;
        checksums[done + 2] = hc;
        checksums[done + 3] = hd;
    }
    for (; done < pictures.size(); done++)
        checksums[done] = PictureChecksum(pictures[done], count);
}

// ------------------------------------------------------------------------------------------------

void FrameWriter::Reset(uint32_t clockBase)
{
    out.clear();
    shapes.clear();
    lastSteps.clear();
    pad = padCaps = Answer{};
    lastClock = clockBase;
    quiet = 0;
}

void FrameWriter::FlushQuiet()
{
    if (quiet == 1) {
        PutVarint(out, 0);
    } else if (quiet > 1) {
        PutVarint(out, kTokenMore);
        PutVarint(out, kQuietRun);
        PutVarint(out, quiet);
    }
    quiet = 0;
}

void FrameWriter::Write(const FrameRecord& frame)
{
    FrameShape shape{frame.reads, {}};
    std::vector<std::pair<size_t, Answer>> padChanges;
    for (size_t i = 0; i < frame.reads.size(); i++) {
        const ReadKind kind = frame.reads[i].kind;
        if (kind == ReadKind::Key) {
            shape.keysHeld.push_back(frame.answers[i].a != 0);
        } else if (kind == ReadKind::Pad || kind == ReadKind::PadCaps) {
            Answer& known = kind == ReadKind::Pad ? pad : padCaps;
            if (!(frame.answers[i] == known))
                padChanges.emplace_back(i, frame.answers[i]);
            known = frame.answers[i];
        }
    }
    std::vector<int32_t> steps = ClockSteps(frame, lastClock);

    // The shape's place in the list, most recent first; a new one is spelled out.
    const auto found = std::find(shapes.begin(), shapes.end(), shape);
    const bool newShape = found == shapes.end();
    const size_t reference = newShape ? 0 : static_cast<size_t>(found - shapes.begin());
    if (newShape)
        shapes.insert(shapes.begin(), std::move(shape));
    else
        std::rotate(shapes.begin(), found, found + 1);

    uint32_t stepCode = kStepsSame;
    if (steps != lastSteps) {
        const bool single = steps.size() == 1 && lastSteps.size() == 1;
        stepCode = single && steps[0] == lastSteps[0] + 1   ? kStepUp
                   : single && steps[0] == lastSteps[0] - 1 ? kStepDown
                                                            : kStepsGiven;
    }
    uint32_t more = (newShape ? kNewShape : 0) | (padChanges.empty() ? 0 : kPadChanges) |
                    (frame.events.empty() ? 0 : kEvents);
    if (reference == 0 && stepCode == kStepsSame && more == 0) {
        quiet++;
        return;
    }
    FlushQuiet();
    PutVarint(out,
              static_cast<uint32_t>(reference << kShapeShift) | stepCode | (more ? kTokenMore : 0));
    if (more)
        PutVarint(out, more);
    if (more & kEvents) {
        PutVarint(out, static_cast<uint32_t>(frame.events.size()));
        for (const SceneEvent& event : frame.events) {
            out.push_back(static_cast<uint8_t>(event.kind));
            PutVarint(out, event.arg);
        }
    }
    if (more & kNewShape) {
        const FrameShape& added = shapes.front();
        PutVarint(out, static_cast<uint32_t>(added.reads.size()));
        for (const Read& read : added.reads) {
            out.push_back(static_cast<uint8_t>(read.kind));
            PutVarint(out, read.arg);
        }
        for (size_t i = 0; i < added.keysHeld.size(); i += 8) {
            uint8_t bits = 0;
            for (size_t b = 0; b < 8 && i + b < added.keysHeld.size(); b++)
                bits |= static_cast<uint8_t>(added.keysHeld[i + b] << b);
            out.push_back(bits);
        }
    }
    if (more & kPadChanges) {
        PutVarint(out, static_cast<uint32_t>(padChanges.size()));
        size_t previous = 0;
        for (const auto& [index, answer] : padChanges) {
            PutVarint(out, static_cast<uint32_t>(index - previous));
            previous = index;
            PutVarint(out, answer.a);
            PutVarint(out, answer.b);
            PutVarint(out, answer.c);
        }
    }
    if (stepCode == kStepsGiven) {
        for (int32_t step : steps)
            PutZigzag(out, step);
    }
    lastSteps = std::move(steps);
}

void FrameWriter::Finish()
{
    FlushQuiet();
}

// ------------------------------------------------------------------------------------------------

void FrameReader::Reset(const uint8_t* data, size_t size, uint32_t clockBase)
{
    at = data;
    end = data + size;
    shapes.clear();
    lastSteps.clear();
    pad = padCaps = Answer{};
    lastClock = clockBase;
    quiet = 0;
}

bool FrameReader::Next(FrameRecord& frame, std::string& error)
{
    frame.Clear();
    Cursor in{at, end};
    uint32_t token = 0;
    uint32_t more = 0;
    if (quiet > 0) {
        quiet--;
    } else {
        token = in.Varint();
        if (token & kTokenMore)
            more = in.Varint();
        if (!in.ok) {
            error = "the frames end before the run does";
            return false;
        }
        if (more & ~kKnownFlags) {
            error = "a frame has flags this version does not know";
            return false;
        }
        if (more & kQuietRun) {
            quiet = in.Varint();
            if (!in.ok) {
                error = "the frames end before the run does";
                return false;
            }
            if (more != kQuietRun || token != kTokenMore || quiet < 2) {
                error = "a run of quiet frames is malformed";
                return false;
            }
            quiet--;
            more = 0;
            token = 0;
        }
    }

    if (more & kEvents) {
        const uint32_t count = in.Varint();
        for (uint32_t i = 0; i < count && in.ok; i++) {
            SceneEvent event;
            event.kind = static_cast<EventKind>(in.Byte());
            event.arg = in.Varint();
            if (event.kind >= EventKind::Count) {
                error = "a message of unknown kind";
                return false;
            }
            frame.events.push_back(event);
        }
    }
    const size_t reference = token >> kShapeShift;
    if (more & kNewShape) {
        const uint32_t count = in.Varint();
        if (reference != 0 || count > kMaxReadsPerFrame ||
            count > static_cast<size_t>(end - in.at)) {
            error = "a frame's new shape is malformed";
            return false;
        }
        FrameShape shape;
        for (uint32_t i = 0; i < count && in.ok; i++) {
            Read read;
            read.kind = static_cast<ReadKind>(in.Byte());
            read.arg = in.Varint();
            if (in.ok && !ValidRead(read)) {
                error = "a read of unknown kind or key";
                return false;
            }
            shape.reads.push_back(read);
        }
        const size_t keys = std::count_if(shape.reads.begin(), shape.reads.end(),
                                          [](const Read& r) { return r.kind == ReadKind::Key; });
        for (size_t i = 0; i < keys && in.ok; i += 8) {
            const uint8_t bits = in.Byte();
            for (size_t b = 0; b < 8 && i + b < keys; b++)
                shape.keysHeld.push_back((bits >> b) & 1);
        }
        shapes.insert(shapes.begin(), std::move(shape));
    } else if (reference >= shapes.size()) {
        error = "a frame names a shape not yet given";
        return false;
    } else {
        std::rotate(shapes.begin(), shapes.begin() + reference, shapes.begin() + reference + 1);
    }
    if (!in.ok) {
        error = "the frames end in the middle of one";
        return false;
    }
    const FrameShape& shape = shapes.front();
    frame.reads = shape.reads;
    frame.answers.resize(frame.reads.size());

    std::vector<std::pair<size_t, Answer>> padChanges;
    if (more & kPadChanges) {
        const uint32_t count = in.Varint();
        size_t index = 0;
        for (uint32_t i = 0; i < count && in.ok; i++) {
            index += in.Varint();
            Answer answer;
            answer.a = in.Varint();
            answer.b = in.Varint();
            answer.c = in.Varint();
            if (!in.ok)
                break;
            if (index >= frame.reads.size() || (i > 0 && index == padChanges.back().first) ||
                (frame.reads[index].kind != ReadKind::Pad &&
                 frame.reads[index].kind != ReadKind::PadCaps)) {
                error = "a pad change names no pad read of its frame";
                return false;
            }
            padChanges.emplace_back(index, answer);
        }
    }
    const size_t clockReads =
        std::count_if(frame.reads.begin(), frame.reads.end(),
                      [](const Read& r) { return r.kind == ReadKind::Clock; });
    const uint32_t stepCode = token & 3;
    if (stepCode == kStepsGiven) {
        lastSteps.clear();
        for (size_t i = 0; i < clockReads && in.ok; i++)
            lastSteps.push_back(in.Zigzag());
    } else if (stepCode != kStepsSame) {
        if (clockReads != 1 || lastSteps.size() != 1) {
            error = "a frame steps the clock by one where it has not one clock read";
            return false;
        }
        lastSteps[0] += stepCode == kStepUp ? 1 : -1;
    } else if (lastSteps.size() != clockReads) {
        error = "a frame's clock reads do not match its clock steps";
        return false;
    }
    if (!in.ok) {
        error = "the frames end in the middle of one";
        return false;
    }

    size_t step = 0, key = 0, change = 0;
    for (size_t i = 0; i < frame.reads.size(); i++) {
        switch (frame.reads[i].kind) {
        case ReadKind::Clock:
            lastClock += static_cast<uint32_t>(lastSteps[step++]);
            frame.answers[i].a = lastClock;
            break;
        case ReadKind::Key: frame.answers[i].a = shape.keysHeld[key++]; break;
        default: {
            Answer& known = frame.reads[i].kind == ReadKind::Pad ? pad : padCaps;
            if (change < padChanges.size() && padChanges[change].first == i)
                known = padChanges[change++].second;
            frame.answers[i] = known;
            break;
        }
        }
    }
    at = in.at;
    return true;
}

// ------------------------------------------------------------------------------------------------

std::vector<uint8_t> EncodeRecording(const Recording& recording)
{
    const RunHeader& h = recording.header;
    std::vector<uint8_t> out(kMagic, kMagic + 4);
    PutFixed<uint16_t>(out, kFormatVersion);
    const size_t sizeAt = out.size();
    PutFixed<uint16_t>(out, 0);
    const size_t fieldsStart = out.size();
    out.insert(out.end(), h.gameVersion, h.gameVersion + sizeof h.gameVersion);
    const RunSetup& s = h.setup;
    PutFixed(out, h.archiveChecksum);
    PutFixed(out, s.gameLength);
    PutFixed(out, h.date);
    PutFixed(out, h.finalScore);
    PutFixed(out, s.rankedBest);
    PutFixed(out, h.finalChecksum);
    PutFixed(out, h.frameCount);
    PutFixed(out, h.checksumInterval);
    PutFixed(out, h.clockBase);
    PutFixed(out, s.eventMask);
    for (const auto& action : s.keys.keys) {
        for (int32_t key : action)
            PutFixed(out, key);
    }
    PutFixed(out, s.padAvailable);
    for (uint32_t range : s.padRanges)
        PutFixed(out, range);
    PutFixed(out, s.lcgState);
    PutFixed(out, s.randomIndex);
    for (uint32_t word : s.randomState)
        PutFixed(out, word);
    const auto headerSize = static_cast<uint16_t>(out.size() - fieldsStart);
    out[sizeAt] = static_cast<uint8_t>(headerSize);
    out[sizeAt + 1] = static_cast<uint8_t>(headerSize >> 8);

    PutFixed(out, static_cast<uint32_t>(recording.frames.size()));
    out.insert(out.end(), recording.frames.begin(), recording.frames.end());
    PutFixed(out, static_cast<uint32_t>(recording.checksums.size()));
    for (uint32_t checksum : recording.checksums)
        PutFixed(out, checksum);
    PutFixed(out, Fnv1a32(out.data(), out.size()));
    return out;
}

bool DecodeRecording(std::span<const uint8_t> bytes, Recording& recording, std::string& error)
{
    const uint8_t* data = bytes.data();
    const size_t size = bytes.size();
    recording = Recording{};
    if (size < 8 || std::memcmp(data, kMagic, 4) != 0) {
        error = "not a replay (no replay magic at its start)";
        return false;
    }
    Cursor in{data + 4, data + size};
    const auto version = in.Fixed<uint16_t>();
    if (version != kFormatVersion) {
        error = "a replay of format version " + std::to_string(version) + ", this game reads " +
                std::to_string(kFormatVersion);
        return false;
    }
    if (size < 4 ||
        Fnv1a32(data, size - 4) != Cursor{data + size - 4, data + size}.Fixed<uint32_t>()) {
        error = "the replay is cut short or damaged (its checksum does not match)";
        return false;
    }
    in.end = data + size - 4;

    RunHeader& h = recording.header;
    const auto headerSize = in.Fixed<uint16_t>();
    const uint8_t* fieldsStart = in.at;
    if (static_cast<size_t>(in.end - in.at) < sizeof h.gameVersion) {
        error = "the replay is cut short in its header";
        return false;
    }
    std::memcpy(h.gameVersion, in.at, sizeof h.gameVersion);
    h.gameVersion[sizeof h.gameVersion - 1] = 0;
    in.at += sizeof h.gameVersion;
    RunSetup& s = h.setup;
    h.archiveChecksum = in.Fixed<uint32_t>();
    s.gameLength = in.Fixed<uint32_t>();
    h.date = in.Fixed<uint64_t>();
    h.finalScore = in.Fixed<int32_t>();
    s.rankedBest = in.Fixed<int32_t>();
    h.finalChecksum = in.Fixed<uint64_t>();
    h.frameCount = in.Fixed<uint32_t>();
    h.checksumInterval = in.Fixed<uint32_t>();
    h.clockBase = in.Fixed<uint32_t>();
    s.eventMask = in.Fixed<uint32_t>();
    for (auto& action : s.keys.keys) {
        for (int32_t& key : action)
            key = in.Fixed<int32_t>();
    }
    s.padAvailable = in.Fixed<uint32_t>();
    for (uint32_t& range : s.padRanges)
        range = in.Fixed<uint32_t>();
    s.lcgState = in.Fixed<uint32_t>();
    s.randomIndex = in.Fixed<uint32_t>();
    for (uint32_t& word : s.randomState)
        word = in.Fixed<uint32_t>();
    if (!in.ok || in.at - fieldsStart != headerSize) {
        error = "the replay's header is cut short or of another size";
        return false;
    }
    if (s.gameLength > 1 || h.checksumInterval == 0 || h.frameCount == 0 ||
        h.frameCount > kMaxFrames || s.randomIndex > RunSetup::kRandomWords) {
        error = "the replay's header holds impossible values";
        return false;
    }

    const auto frameBytes = in.Fixed<uint32_t>();
    if (!in.ok || frameBytes > static_cast<size_t>(in.end - in.at)) {
        error = "the replay is cut short in its frames";
        return false;
    }
    recording.frames.assign(in.at, in.at + frameBytes);
    in.at += frameBytes;
    const auto checksumCount = in.Fixed<uint32_t>();
    if (!in.ok || checksumCount != h.frameCount / h.checksumInterval ||
        static_cast<size_t>(in.end - in.at) != size_t(checksumCount) * 4) {
        error = "the replay's picture checksums are cut short or too many";
        return false;
    }
    recording.checksums.resize(checksumCount);
    for (uint32_t& checksum : recording.checksums)
        checksum = in.Fixed<uint32_t>();
    return true;
}

}  // namespace journal
