#include "replay/Journal.h"

#include <cstdio>

#include "replay/PictureChecks.h"

namespace journal {

namespace {

enum class Mode { Live, Recording, Playback };

struct State {
    EventSink sink = nullptr;
    bool recordRuns = false;
    Mode mode = Mode::Live;
    bool inRun = false;
    bool ending = false;     // EndRun was called: the run ends with this frame
    bool setUpOpen = false;  // frame 0, the run's set-up, still takes reads
    uint32_t frame = 0;
    RunHeader header;
    FrameRecord current;
    uint32_t lastClock = 0;   // the last clock answer of a run
    int32_t clockOffset = 0;  // live clock after a replay: continues from its last answer

    // Recording.
    FrameWriter writer;
    std::vector<uint32_t> checksums;
    Recording finished;
    bool hasFinished = false;

    // Playback.
    Recording played;
    bool playbackPending = false;
    bool playbackSession = false;  // a recording was given since the last Reset
    FrameReader reader;
    // The frame after the current one, read early to tell whether the current picture is used
    // (PictureUsed); aheadError is why it could not be read, reported once it is due.
    FrameRecord ahead;
    bool aheadRead = false;
    std::string aheadError;
    bool skipUnusedPictures = false;
    uint32_t jumpStop = 0;          // DrawPictureBefore's clock
    PictureChecks waitingPictures;  // compared a few at a time while pictures are skipped
    size_t readAt = 0;
    bool playbackOk = false;
    std::string fault;
};

State state;

uint32_t LiveClock()
{
    return timeGetTime() + static_cast<uint32_t>(state.clockOffset);
}

std::string Describe(const Read& read)
{
    static const char* const kNames[] = {"the clock", "key", "the pad", "the pad's ranges"};
    const int kind = static_cast<int>(read.kind);
    std::string text = kind < 4 ? kNames[kind] : "a read of unknown kind";
    if (read.kind == ReadKind::Key) {
        char code[8];
        std::snprintf(code, sizeof code, " 0x%02X", read.arg);
        text += code;
    }
    return text;
}

// Playback has gone its own way at frame: the run goes on live from here.
void FailAt(uint32_t frame, const std::string& what)
{
    if (state.fault.empty())
        state.fault = "frame " + std::to_string(frame) + ": " + what;
    state.mode = Mode::Live;
    state.inRun = false;
    state.clockOffset = static_cast<int32_t>(state.lastClock - timeGetTime());
}

// The pictures still waiting for their comparison are checked; a difference among them is
// the playback's first fault, before anything found since.
bool WaitingPicturesMatch()
{
    const uint32_t differing = state.waitingPictures.FirstDiffering();
    if (differing == 0)
        return true;
    FailAt(differing, "the picture differs from the recorded one");
    return false;
}

void Fail(const std::string& what)
{
    if (WaitingPicturesMatch())
        FailAt(state.frame, what);
}

bool Replaying()
{
    return state.mode == Mode::Playback && state.inRun;
}

bool Noting()
{
    return state.mode == Mode::Recording && state.inRun;
}

template <typename Live>
Answer Ask(const Read& read, Live live)
{
    if (Replaying()) {
        if (state.readAt >= state.current.reads.size()) {
            Fail("the game asked for " + Describe(read) + " after the recorded reads");
        } else if (!(state.current.reads[state.readAt] == read)) {
            Fail("the game asked for " + Describe(read) + " where the recording has " +
                 Describe(state.current.reads[state.readAt]));
        } else {
            const Answer answer = state.current.answers[state.readAt++];
            if (read.kind == ReadKind::Clock)
                state.lastClock = answer.a;
            return answer;
        }
    }
    const Answer answer = live();
    if (Noting()) {
        state.current.reads.push_back(read);
        state.current.answers.push_back(answer);
    }
    if (read.kind == ReadKind::Clock && state.inRun)
        state.lastClock = answer.a;
    return answer;
}

void DeliverRecordedEvents()
{
    for (const SceneEvent& event : state.current.events) {
        if (state.sink && Replaying())
            state.sink(event);
    }
}

// Playback: the frame's reads are all used; on to the next recorded frame.
bool FinishPlayedFrame()
{
    if (state.readAt != state.current.reads.size()) {
        Fail("the game made " + std::to_string(state.readAt) + " reads where the recording has " +
             std::to_string(state.current.reads.size()) + ", the next being " +
             Describe(state.current.reads[state.readAt]));
        return false;
    }
    return true;
}

bool LoadNextFrame()
{
    std::string error;
    state.readAt = 0;
    bool read;
    if (state.aheadRead) {
        std::swap(state.current, state.ahead);
        read = state.aheadError.empty();
        error = state.aheadError;
        state.aheadRead = false;
    } else {
        read = state.reader.Next(state.current, error);
    }
    if (!read) {
        Fail("the recording is damaged here: " + error);
        return false;
    }
    return true;
}

const FrameRecord& Ahead()
{
    if (!state.aheadRead) {
        state.aheadRead = true;
        state.aheadError.clear();
        state.ahead.Clear();
        state.reader.Next(state.ahead, state.aheadError);
    }
    return state.ahead;
}

// The last answer the pad gave in a frame, if it was asked.
const Answer* LastPadAnswer(const FrameRecord& frame)
{
    for (size_t i = frame.reads.size(); i-- > 0;) {
        if (frame.reads[i].kind == ReadKind::Pad)
            return &frame.answers[i];
    }
    return nullptr;
}

// Whether the next frame may take up the current picture: the run's last frame may end it
// without drawing anything, and a message or a pad button (a pause) may keep it, darkened.
bool NextFrameMayUsePicture()
{
    if (state.frame + 1 >= state.header.frameCount)
        return true;
    const FrameRecord& next = Ahead();
    if (!state.aheadError.empty() || !next.events.empty())
        return true;
    const Answer* now = LastPadAnswer(state.current);
    for (size_t i = 0; i < next.reads.size(); i++) {
        if (next.reads[i].kind != ReadKind::Pad)
            continue;
        const Answer& then = next.answers[i];
        if (!now || then.a != now->a || then.b != now->b)
            return true;
    }
    return false;
}

// Whether the next frame begins at the clock or later (or cannot be read at all).
bool NextFrameBeginsBy(uint32_t clock)
{
    const FrameRecord& next = Ahead();
    if (!state.aheadError.empty())
        return true;
    for (size_t i = 0; i < next.reads.size(); i++) {
        if (next.reads[i].kind == ReadKind::Clock)
            return next.answers[i].a >= clock;
    }
    return false;
}

void EndRunRecording(uint64_t checksum)
{
    state.writer.Finish();
    state.header.frameCount = state.frame;
    state.header.finalChecksum = checksum;
    state.finished.header = state.header;
    state.finished.frames = state.writer.bytes();
    state.finished.checksums = state.checksums;
    state.hasFinished = true;
    state.mode = Mode::Live;
    state.inRun = false;
}

void EndRunPlayback(uint64_t checksum)
{
    if (state.frame != state.header.frameCount) {
        Fail("the run ended here, the recorded one at frame " +
             std::to_string(state.header.frameCount));
        return;
    }
    if (checksum != state.header.finalChecksum) {
        Fail("the last picture differs from the recorded one");
        return;
    }
    if (!WaitingPicturesMatch())
        return;
    state.playbackOk = true;
    state.mode = Mode::Live;
    state.inRun = false;
    state.clockOffset = static_cast<int32_t>(state.lastClock - timeGetTime());
}

}  // namespace

void SetEventSink(EventSink sink)
{
    state.sink = sink;
}

void Deliver(const SceneEvent& event)
{
    if (Replaying())
        return;
    if (Noting() && (state.header.setup.eventMask & EventBit(event.kind)))
        state.current.events.push_back(event);
    if (state.sink)
        state.sink(event);
}

uint32_t Clock()
{
    return Ask({ReadKind::Clock, 0}, [] { return Answer{LiveClock(), 0, 0}; }).a;
}

bool KeyHeld(int vk)
{
    const auto code = static_cast<uint32_t>(vk) & 0xFF;
    return Ask({ReadKind::Key, code}, [vk] {
               return Answer{LiveControlReads().keyHeld(vk) ? 1u : 0u, 0, 0};
           }).a != 0;
}

UINT ReadPad(JOYINFO& reading)
{
    const Answer answer = Ask({ReadKind::Pad, 0}, [] {
        JOYINFO live;
        const UINT result = LiveControlReads().readPad(live);
        return Answer{result, live.wButtons, (live.wXpos & 0xFFFF) | (live.wYpos << 16)};
    });
    reading = {};
    reading.wXpos = answer.c & 0xFFFF;
    reading.wYpos = answer.c >> 16;
    reading.wButtons = answer.b;
    return answer.a;
}

UINT ReadPadCaps(JOYCAPSA& caps)
{
    // Read live, the whole record is the pad's; only the ranges steer a run, so only they are
    // noted and played back.
    const Answer answer = Ask({ReadKind::PadCaps, 0}, [&caps] {
        const UINT result = LiveControlReads().readPadCaps(caps);
        return Answer{result, (caps.wXmin & 0xFFFF) | (caps.wXmax << 16),
                      (caps.wYmin & 0xFFFF) | (caps.wYmax << 16)};
    });
    if (answer.a == JOYERR_NOERROR) {
        caps.wXmin = answer.b & 0xFFFF;
        caps.wXmax = answer.b >> 16;
        caps.wYmin = answer.c & 0xFFFF;
        caps.wYmax = answer.c >> 16;
    }
    return answer.a;
}

const ControlReads& Controls()
{
    static constexpr ControlReads kJournalled = {KeyHeld, ReadPad, ReadPadCaps};
    return kJournalled;
}

void BeginFrame()
{
    if (!state.inRun || !state.setUpOpen)
        return;
    // The set-up ends here when the run began outside a frame (as the first scene).
    if (state.mode == Mode::Recording) {
        state.writer.Write(state.current);
        state.current.Clear();
    } else if (state.mode == Mode::Playback) {
        DeliverRecordedEvents();
        if (!FinishPlayedFrame() || !LoadNextFrame())
            return;
    }
    state.setUpOpen = false;
    state.frame = 1;
    if (Replaying())
        DeliverRecordedEvents();
}

void EndFrame(const uint32_t* pixels, size_t count)
{
    if (!state.inRun)
        return;
    if (state.setUpOpen) {
        // The set-up ran inside the frame of the scene before: its picture is not the run's.
        if (state.mode == Mode::Recording) {
            state.writer.Write(state.current);
            state.current.Clear();
        } else if (state.mode == Mode::Playback && (!FinishPlayedFrame() || !LoadNextFrame())) {
            return;
        }
        state.setUpOpen = false;
        state.frame = 1;
        return;
    }

    const bool checked = state.frame % state.header.checksumInterval == 0;
    // Skipping pictures, a picture compared by its low 32 bits alone waits to be compared
    // with a few others.
    const bool later =
        checked && !state.ending && state.mode == Mode::Playback && state.skipUnusedPictures;
    const uint64_t checksum =
        (checked && !later) || state.ending ? PictureChecksum(pixels, count) : 0;
    if (state.mode == Mode::Recording) {
        state.writer.Write(state.current);
        state.current.Clear();
        if (checked)
            state.checksums.push_back(static_cast<uint32_t>(checksum));
        if (state.ending)
            return EndRunRecording(checksum);
    } else if (state.mode == Mode::Playback) {
        if (!FinishPlayedFrame())
            return;
        if (checked) {
            const size_t slot = state.frame / state.header.checksumInterval - 1;
            if (slot >= state.played.checksums.size())
                return Fail("the picture differs from the recorded one");
            const uint32_t recorded = state.played.checksums[slot];
            if (later) {
                state.waitingPictures.Add(state.frame, recorded, pixels, count);
                if (state.waitingPictures.Full() && !WaitingPicturesMatch())
                    return;
            } else if (recorded != static_cast<uint32_t>(checksum)) {
                return Fail("the picture differs from the recorded one");
            }
        }
        if (state.ending)
            return EndRunPlayback(checksum);
        if (state.frame == state.header.frameCount)
            return Fail("the recording ends here but the run goes on");
        if (!LoadNextFrame())
            return;
    } else if (state.ending) {
        state.inRun = false;
    }
    state.frame++;
    if (Replaying())
        DeliverRecordedEvents();
}

RunSetup BeginRun(const RunSetup& fresh)
{
    state.ending = false;
    state.setUpOpen = true;
    state.frame = 0;
    state.current.Clear();
    state.inRun = true;
    if (state.mode == Mode::Playback && state.playbackPending) {
        state.playbackPending = false;
        state.header = state.played.header;
        state.lastClock = state.header.clockBase;
        state.reader.Reset(state.played.frames.data(), state.played.frames.size(),
                           state.header.clockBase);
        state.aheadRead = false;
        state.waitingPictures.Clear();
        LoadNextFrame();
        return state.header.setup;
    }
    state.header = RunHeader{};
    state.header.setup = fresh;
    if (state.recordRuns && state.mode == Mode::Live) {
        state.mode = Mode::Recording;
        state.header.clockBase = LiveClock();
        state.lastClock = state.header.clockBase;
        state.writer.Reset(state.header.clockBase);
        state.checksums.clear();
    }
    return fresh;
}

void EndRun(int32_t score)
{
    if (!state.inRun)
        return;
    state.ending = true;
    state.header.finalScore = score;
    if (Replaying() && score != state.played.header.finalScore)
        Fail("the run scored " + std::to_string(score) + ", the recorded one " +
             std::to_string(state.played.header.finalScore));
}

void SkipUnusedPictures(bool on)
{
    state.skipUnusedPictures = on;
}

bool PictureUsed()
{
    if (!state.skipUnusedPictures || !Replaying() || state.setUpOpen)
        return true;
    if (state.frame % state.header.checksumInterval == 0 || state.frame >= state.header.frameCount)
        return true;
    if (state.jumpStop != 0 && NextFrameBeginsBy(state.jumpStop))
        return true;
    return NextFrameMayUsePicture();
}

void DrawPictureBefore(uint32_t stop)
{
    state.jumpStop = stop;
}

bool InRun()
{
    return state.inRun;
}

void RecordRuns(bool on)
{
    state.recordRuns = on;
}

bool TakeRecording(Recording& recording)
{
    if (!state.hasFinished)
        return false;
    recording = std::move(state.finished);
    state.finished = Recording{};
    state.hasFinished = false;
    return true;
}

void StartPlayback(const Recording& recording)
{
    state.played = recording;
    state.mode = Mode::Playback;
    state.playbackPending = true;
    state.playbackSession = true;
    state.playbackOk = false;
    state.fault.clear();
    state.inRun = false;
}

bool PlayingBack()
{
    return state.playbackSession;
}

bool PlaybackFinished()
{
    return state.playbackOk;
}

const std::string& PlaybackFault()
{
    return state.fault;
}

uint32_t PlaybackFrame()
{
    return state.frame;
}

uint32_t UpcomingClock()
{
    if (Replaying()) {
        for (size_t i = state.readAt; i < state.current.reads.size(); i++) {
            if (state.current.reads[i].kind == ReadKind::Clock)
                return state.current.answers[i].a;
        }
    }
    return state.lastClock;
}

void Reset()
{
    const EventSink sink = state.sink;
    const bool recordRuns = state.recordRuns;
    const bool skipUnusedPictures = state.skipUnusedPictures;
    state = State{};
    state.sink = sink;
    state.recordRuns = recordRuns;
    state.skipUnusedPictures = skipUnusedPictures;
}

}  // namespace journal
