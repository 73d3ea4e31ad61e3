#pragma once
// The one way in from the outside world for everything that steers a run: the game's clock, the
// held keys, the pad, and the window messages that reach a scene. Live, it answers from the
// platform; recording, it also notes every answer, frame by frame, from the start of a run to
// its end; playing back, it answers from a recording instead, and stops at the first frame whose
// reads or picture differ from the recorded ones.
//
// What does not steer a run bypasses it and stays live in every mode (message time stamps, the
// sound clock, the volume caption, the snapshot key, volume and window keys), so that whoever
// watches a replay can still take snapshots or change the volume without disturbing it.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/ControlReads.h"
#include "platform/Platform.h"
#include "replay/JournalCodec.h"

namespace journal {

// Where the messages of a run go: the application hands them to the current scene.
using EventSink = void (*)(const SceneEvent& event);
void SetEventSink(EventSink sink);
// A message for the current scene. Live and recording it goes on at once; a replay's run takes
// its messages from the recording, so the watcher's are left out until the run has ended.
void Deliver(const SceneEvent& event);

// The reads.
uint32_t Clock();                  // timeGetTime
bool KeyHeld(int vk);              // the held bit of GetAsyncKeyState
UINT ReadPad(JOYINFO& reading);    // joyGetPos for joystick 1
UINT ReadPadCaps(JOYCAPSA& caps);  // joyGetDevCapsA for joystick 1
// The key and pad reads above as the table the game's objects are steered through.
const ControlReads& Controls();

// Frames, as the main loop runs them: Begin before the scene's Tick, End after it with the
// back buffer it drew.
void BeginFrame();
void EndFrame(const uint32_t* pixels, size_t count);

// Runs. The game scene begins one as it is set up, with what a fresh run starts from; it gets
// back what this run starts from: the same, noted when recording, or playing back, the
// recording's own. The run ends with the frame in which EndRun is called.
RunSetup BeginRun(const RunSetup& fresh);
void EndRun(int32_t score);
bool InRun();

// Every run from now on is recorded; TakeRecording hands over the last finished one.
void RecordRuns(bool on);
bool TakeRecording(Recording& recording);

// Playback of a recording, from its run's start. Live again once it has ended or failed.
void StartPlayback(const Recording& recording);
// A recording was given for playback since the last Reset: what this session plays is a replay,
// never to be ranked or kept, also after it has ended or failed.
bool PlayingBack();
// The run of the recording played to its last frame with every read and checksum as recorded.
bool PlaybackFinished();
// Empty, or where and how playback first differed from the recording.
const std::string& PlaybackFault();
// The frames of the recording's run played so far.
uint32_t PlaybackFrame();
// The clock the next frame of the recording begins at (its first clock read), for pacing a
// replay in real time.
uint32_t UpcomingClock();

// Verifying looks at the pictures of a few frames only: those whose checksum the recording
// holds, the last, and whichever of them a later one takes up. With this on, PictureUsed tells
// the frame being played whether anybody will look at its picture, so that the drawing of the
// others can be left out; a run's course never depends on what it draws. Off, and while not
// playing back, every picture is used.
void SkipUnusedPictures(bool on);
bool PictureUsed();
// Jumping in a replay skips pictures too, up to the frame the jump stops after: the last one
// before the next frame begins at the clock `stop` or later. That one is drawn all the same,
// to be shown. 0: no jump under way.
void DrawPictureBefore(uint32_t stop);

// Back to live with nothing kept; whether runs are recorded and pictures skipped stays as it was.
void Reset();

}  // namespace journal
