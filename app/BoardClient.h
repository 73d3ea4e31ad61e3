#pragma once
// The game's uses of a board beyond sending runs, over whichever transport the system has:
// the board's top ten printed in the terminal, a run watched from a board's address, and the
// sender's news in the form the ranking screen shows it.

#include <cstdio>
#include <string>
#include <string_view>

#include "app/BoardLine.h"
#include "board/BoardSender.h"
#include "replay/JournalCodec.h"

// Prints the board's ten best runs of the length (1 or 5 minutes) to out; 0, or 1 with one
// line on err when no board is given or it gives no ranking.
int PrintBoardTop(BoardTransport& transport, const std::string& board, int length, std::FILE* out,
                  std::FILE* err);

// Whether --replay names an address to fetch rather than a file: http:// or https://.
bool IsReplayAddress(std::string_view where);
// Fetches the replay at url and checks it as any replay file is; false with one line in
// error (naming the address) otherwise.
bool FetchReplay(BoardTransport& transport, const std::string& url, journal::Recording& recording,
                 std::string& error);

BoardNews NewsOf(const SentRun& run);
