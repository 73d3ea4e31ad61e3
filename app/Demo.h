#pragma once
// The demo an idle title menu plays: the best run the player has recorded (of either length),
// or the run shipped beside the archive pair when there is none. It plays with the game's
// sound and "DEMO" over it; any key, button or move of the pad returns to the title menu at
// once, as does the run's end. Nothing is ranked, saved or recorded.

#include <string>

class PlayerFolder;
class Scene;

// The recording a demo would play: the player's best, else the shipped one; empty when none
// can be played here (missing, damaged, made with other pictures or rules).
std::string DemoReplayPath(const PlayerFolder& folder);

// Replaces the current scene (the title) by the demo's run. False, with the title left as it
// is, when there is no run to play.
bool StartDemo();
bool DemoPlaying();
// Before each frame: back to the title menu when the pad was touched or the demo's run is over.
void EndDemoWhenDone();
