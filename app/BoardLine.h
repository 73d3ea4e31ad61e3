#pragma once
// The line the ranking screen shows about the run that just ended when it went to a board:
// "SENDING..." while it is on its way, then its place, "WORLD #12 OF 230", or "OFFLINE: WILL
// SEND LATER" while it waits in the outbox. Drawn over the shown picture like the volume
// caption, so snapshots stay the screen's own. Nothing without a board, nothing about a run
// that was not sent.

#include <functional>
#include <string>

class Surface;

struct BoardNews {
    enum class Stage { None, Sending, Placed, Waiting };
    Stage stage = Stage::None;
    int rank = 0;
    int ranked = 0;  // names ranked at the run's length; 0 when the board does not say
};

// Where the news of the latest run handed to a board comes from (the board's sender, asked on
// each frame, so it must answer at once); none by default.
void FollowBoardWith(std::function<BoardNews()> news);
// Whether the run that ended last was handed to the board; the line is about that run only.
void NoteLatestRunSent(bool sent);

// The line for the news, empty for none.
std::string BoardLineText(const BoardNews& news);
// Draws the line near the bottom of the shown picture, when there is one.
void DrawBoardLine(Surface& shown);
