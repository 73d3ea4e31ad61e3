#pragma once
// A pilot without a plan, for the soak: she holds a random mix of directions, keys and stick
// positions for a random number of steps, fires most of the time, bombs and creeps now and
// then, and sometimes lets go of everything. The game cannot tell her from a restless player
// on keyboard and joystick at once. The same seed gives the same hands.

#include <cstdint>
#include <random>

class RandomPilot {
public:
    explicit RandomPilot(uint32_t seed) : generator(seed) {}

    // Sets the held keys and the joystick for the next frame.
    void Steer();
    // Lets go of every key and centres the stick, as between runs.
    void LetGo();

private:
    void ChooseHands();
    bool Chance(int percent) { return Below(100) < uint32_t(percent); }
    uint32_t Below(uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(generator); }

    std::mt19937 generator;
    int framesLeft = 0;
};
