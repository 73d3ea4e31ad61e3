#pragma once
// The keys of the player's actions: up to two virtual-key codes each, the game's own keys
// unless the settings file names others.

#include <cstdint>

struct ControlReads;

enum class Action : uint8_t { Up, Down, Left, Right, Shoot, Bomb, Slow, Pause, Count };
constexpr int kActionCount = static_cast<int>(Action::Count);
constexpr int kKeysPerAction = 2;

struct KeyBindings {
    // 0 marks an unused place.
    int keys[kActionCount][kKeysPerAction];

    static KeyBindings Defaults();

    bool Bound(Action action, int vk) const;
    // Whether any key of the action is held now, asked through reads.
    bool Held(const ControlReads& reads, Action action) const;
    // The action a key belongs to; Action::Count for none.
    Action ActionOf(int vk) const;

    bool operator==(const KeyBindings& other) const;
};

// The name of each action as the settings file writes it.
extern const char* const kActionNames[kActionCount];
