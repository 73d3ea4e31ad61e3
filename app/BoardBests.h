#pragma once
// The best score of each game length the player has handed to their board, kept in the
// player's folder ("board.best") with the board's address. A run goes to the board only when
// it betters that: runs played before the board was chosen, or for another board, do not
// count, and a run that cannot better the player's place there is not sent at all.

#include <cstdint>
#include <string>

class BoardBests {
public:
    // Reads the record in path; one that is missing, damaged or about another board means
    // nothing has been handed to this board yet.
    BoardBests(std::string path, std::string board);

    // Whether a run of this length and score is the best since the board was chosen (the
    // first run always is); if it is, it is noted and the record written back.
    bool TakeIfBest(uint32_t gameLength, int32_t score);

private:
    void Write() const;

    std::string path;
    std::string board;
    bool sent[2] = {false, false};
    int32_t best[2] = {0, 0};
};
