#pragma once
// korimo-board's command line.

#include <optional>
#include <string>
#include <vector>

namespace board {

struct Options {
    std::string host = "127.0.0.1";
    int port = 8018;
    std::string database;  // a URL; empty: the SQLite file in the state folder
    std::string game;      // empty: the game built or installed beside the board
    int workers = 0;       // 0: the processor count
    int waiting = 16;      // uploads that may wait for a worker
    int uploadsPerMinute = 10;
    std::string adminTokenFile;
    std::string webFolder;  // the browser build served under /play/; empty: none
    bool help = false;
    bool version = false;
};

// Nothing, with one line in error, when the command line is not understood.
std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error);

extern const char* const kUsage;

}  // namespace board
