#pragma once
// Runs waiting for the board, one replay file each in a folder of their own ("replays/outbox"),
// so that a run finished offline, or when the game closed before it went, is sent later. The
// oldest goes first; a full outbox lets the oldest go to make room.

#include <cstdint>
#include <string>
#include <vector>

class Outbox {
public:
    static constexpr size_t kMostFiles = 200;
    static constexpr size_t kLargestFile = 64 * 1024;  // a board takes no larger replay

    explicit Outbox(std::string folder);

    // Writes the replay as a new file (through a temporary one and a rename) and returns its
    // path; empty, with a line on stderr, when it cannot be written.
    std::string Add(const std::vector<uint8_t>& replay);
    // The waiting files, oldest first.
    std::vector<std::string> Waiting() const;
    // The file's bytes; false when it is gone, unreadable or too large to be a replay.
    static bool Read(const std::string& path, std::vector<uint8_t>& replay);
    static void Remove(const std::string& path);

private:
    std::string folder;
    uint32_t added = 0;
};
