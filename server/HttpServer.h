#pragma once
// The board on the network: cpp-httplib's server carrying requests to Board.

#include <string>

#include "server/Board.h"

namespace board {

// Serves until Stop or a failure to listen; false, with one line in error, when the address
// could not be taken.
bool ServeBoard(Board& board, const std::string& host, int port, int threads,
                const std::string& webFolder, std::string& error);
void StopServing();

}  // namespace board
