#pragma once
// Playing a recorded run again. Watching: in the window, in real time, with music and effects,
// then its ending, until the game would return to the title. While the run plays, the watcher
// pauses it (the pause keys) and steps it a frame at a time (S), plays it at 1/2, 1, 2, 4 or 8
// times its speed (Down, Up), jumps 10 s back or on (Left, Right), starts it over (R) or skips
// to its end (Space) or leaves (Backspace), with a bar along the bottom showing where it
// stands; F1 and the volume keys work as ever. Verifying: as fast as the machine goes, nothing
// shown or heard. Neither ranks the run, writes the save file or keeps a replay.

#include <cstdio>
#include <string>

#include "replay/JournalCodec.h"

// Verifying draws only the pictures it compares (and those they are made from); drawing every
// picture as a watched replay does gives the same verdict, slower, and is kept to show it.
enum class ReplayMode { Watch, Verify, VerifyDrawingEveryPicture };

// Runs the session on the installed backend and returns the exit code: 0 when the run played
// as recorded. saveFile (may be null) is only read, for the ranking the ending shows. Verifying
// prints one line on out, watching says only what went wrong, on standard error. A platform
// whose clock does not run by itself (the scripted one) is given setClock: before each frame
// it is set to the recorded time, so that sounds end when they did.
int PlayReplay(const journal::Recording& recording, ReplayMode mode, const char* saveFile,
               std::FILE* out, void (*setClock)(uint32_t) = nullptr);

// The verdict line: length, score, frames, checksum, and "verified" or where it first differed.
std::string ReplayVerdict(const journal::Recording& recording);

// Watching inside the running game, from the REPLAYS screen: the run replaces the current
// scene and the viewer's keys and bar are as above; Backspace or the pad's bombing button, or
// the end of the run's ending, go back to the REPLAYS screen with the file chosen. What the
// replay did to the rankings in memory is undone then, and the next run is the player's.
// False, with the scene left as it is, when the file cannot be played.
bool WatchInGame(const std::string& path, std::string& error);
bool WatchingInGame();
// The viewer's frame while watching in the game (RunSceneFrame comes here).
int WatchedFrame();
// For a platform whose clock does not run by itself (the scripted one): replays watched in
// the game set it to the recorded time before each frame, as PlayReplay's setClock does.
void SetWatchedClock(void (*setClock)(uint32_t));
