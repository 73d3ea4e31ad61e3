#pragma once
// Replay files in the player's folder: every run's recording kept as replays/last1.krp or
// last5.krp, and as best1.krp or best5.krp when it set or tied the best score of its length;
// and reading one back for --replay and --verify.

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "replay/JournalCodec.h"

class PlayerFolder;

// The folder of the player's replays, inside the player's folder.
constexpr const char kReplayFolder[] = "replays";

// The names of a game length's files ("last1.krp", "best5.krp"), inside replays/.
std::string LastReplayName(uint32_t gameLength);
std::string BestReplayName(uint32_t gameLength);

// Stamps a finished run's recording (game version, date, the archive it was made with) and
// writes it as the last run of its length, and as the best when setsBest, each through a
// temporary file and a rename. False, with one line on standard error, when a file could not
// be written.
bool KeepReplay(journal::Recording& recording, bool setsBest, const PlayerFolder& folder);

// After a frame: keeps the run the journal finished recording in it, if any, in the player's
// folder, as the best too when its score leads its ranking (ties included). The files are
// written meanwhile, off the frame; FinishKeepingReplays waits until they are.
void KeepFinishedRun();
void FinishKeepingReplays();
// Where a kept run's replay file goes besides the player's folder (the sender to board) when
// it is the player's best of its length since they chose that board (BoardBests, in the
// player's folder); send must return at once. None by default.
constexpr const char kBoardBestsName[] = "board.best";
void SendKeptRunsTo(const std::string& board, std::function<void(std::vector<uint8_t>)> send);

// Why a replay cannot be played here, if it cannot.
enum class ReplayCheck { Playable, Unreadable, TooLarge, Damaged, OtherArchive };

// Reads a replay and checks that it can be played here: its format, its integrity and the
// archive it was recorded with. False with one line in error otherwise (LoadReplay's names the
// file).
bool ReadReplay(std::span<const uint8_t> bytes, journal::Recording& recording, std::string& error);
bool LoadReplay(const std::string& path, journal::Recording& recording, std::string& error);
// The same, saying which way a file failed; its error does not name the file.
ReplayCheck CheckReplayFile(const std::string& path, journal::Recording& recording,
                            std::string& error);

// "one minute" or "five minutes".
const char* GameLengthName(uint32_t gameLength);
