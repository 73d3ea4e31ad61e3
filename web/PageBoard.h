#pragma once
// Sending runs to a board from the page. A page has one thread and must never wait, so a send
// is started with the browser's fetch and its answer comes back between frames. As on the
// desktop, a run goes into the outbox in the player's folder first and leaves it once the
// board has answered for good: stored, with its place, or refused (one line, and the run is
// dropped). A board that cannot take it now (no answer, busy, down) leaves it there for the
// next run or the next visit to the page, and not before its Retry-After.

#include <cstdint>
#include <vector>

#include "board/BoardSender.h"

// Starts sending to the place's board, with whatever the outbox already holds.
void SendFromPage(const BoardPlace& place);
// Hands a finished run over; returns at once.
void SendRunFromPage(std::vector<uint8_t> replay);
// What became of the latest run handed over.
SentRun LatestRunFromPage();
