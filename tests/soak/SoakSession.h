#pragma once
// Plays the game through its screens on the scripted platform the way one player would, run
// after run in one process: on the title the five-minute game is chosen with Down and started,
// a pilot flies until the time is up or she is hit, the ending or the game-over screen is left
// with Space, and the title is back. The runs are flown in turn by the restless pilot, who
// seldom lasts a minute, and by the careful one, who dodges and often lasts the five. The
// clock steps by a frame's worth with random jitter and, rarely, a long stall, as when the
// window is dragged.

#include <cstdint>
#include <functional>
#include <random>
#include <string>

#include "tests/soak/RandomPilot.h"

class GameHarness;

struct RunReport {
    bool careful = false;       // flown by the pilot who dodges
    bool byTime = false;        // the time ran out (the ending) rather than a hit (game over)
    int32_t lastScore = 0;      // the score in the run's last complete frame
    int32_t runScore = 0;       // the score the ending was given (runs ended by time)
    uint32_t milliseconds = 0;  // game time the run lasted
    int frames = 0;             // frames of the run itself
    int newVoices = 0;          // sound buffers the game made during the run, from title to title
    std::string fault;          // empty when every screen behaved
};

class SoakSession {
public:
    SoakSession(GameHarness& game, uint32_t seed);

    // From the title to the title again, through one five-minute run.
    RunReport PlayOneRun();

private:
    bool StartFiveMinuteGame(RunReport& report);
    void FlyRun(RunReport& report);
    bool LeaveEnding(RunReport& report);
    bool LeaveGameOver(RunReport& report);

    // One frame after the clock moved by milliseconds; false when the window has closed.
    bool Step(uint32_t milliseconds);
    void Wait(int frames);
    // Runs frames at the menus' pace until done() holds; false after maxFrames without it.
    bool RunUntil(const std::function<bool()>& done, int maxFrames);
    uint32_t GameFrameStep();
    uint32_t Below(uint32_t n)
    {
        return std::uniform_int_distribution<uint32_t>(0, n - 1)(chance);
    }

    GameHarness& game;
    RandomPilot restless;
    std::mt19937 chance;
    int runs = 0;
    int buffersMade = 0;  // sound buffers seen so far: the nine clips' own, then the voices
};
