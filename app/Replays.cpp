#include "app/Replays.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <optional>
#include <system_error>
#include <thread>

#include "app/BoardBests.h"
#include "app/BoardLine.h"
#include "app/PlayerFolder.h"
#include "app/SaveRecord.h"
#include "archive/ResourceArchive.h"
#include "platform/Files.h"
#include "platform/Threads.h"
#include "replay/Journal.h"

namespace {

// Far beyond any run's recording; a bigger file is not one of ours.
constexpr std::uintmax_t kMaxReplayBytes = 64u << 20;

// The files of the last finished run are written on a thread of their own, so that the frame
// that ends a run waits for no disk.
std::thread writer;

bool WriteReplay(const std::string& path, const std::vector<uint8_t>& bytes)
{
    // Quick: a replay lost to a crash right after a run is not worth a frame's wait.
    if (ReplaceFile(path, bytes.data(), bytes.size(), Durability::Quick))
        return true;
    std::fprintf(stderr, "korimo: cannot write the replay %s\n", path.c_str());
    return false;
}

}  // namespace

const char* GameLengthName(uint32_t gameLength)
{
    return gameLength == 0 ? "one minute" : "five minutes";
}

std::string LastReplayName(uint32_t gameLength)
{
    return gameLength == 0 ? "last1.krp" : "last5.krp";
}

std::string BestReplayName(uint32_t gameLength)
{
    return gameLength == 0 ? "best1.krp" : "best5.krp";
}

namespace {

// A finished run's replay, packed, and where it goes.
struct ReplayFiles {
    std::vector<uint8_t> bytes;
    std::vector<std::string> paths;
};

std::function<void(std::vector<uint8_t>)> sendKeptRun;
std::optional<BoardBests> boardBests;  // with sendKeptRun

ReplayFiles PackReplay(journal::Recording& recording, bool setsBest, const PlayerFolder& folder)
{
    journal::RunHeader& header = recording.header;
    std::snprintf(header.gameVersion, sizeof header.gameVersion, "%s", KORIMO_VERSION);
    header.date = static_cast<uint64_t>(std::time(nullptr));
    header.archiveChecksum = resourceArchive.IndexChecksum();
    ReplayFiles files{journal::EncodeRecording(recording), {}};
    const std::filesystem::path replays = std::filesystem::path(folder.PathOf(kReplayFolder));
    std::error_code failed;
    std::filesystem::create_directories(replays, failed);
    files.paths.push_back((replays / LastReplayName(header.setup.gameLength)).string());
    if (setsBest)
        files.paths.push_back((replays / BestReplayName(header.setup.gameLength)).string());
    return files;
}

// Safe on a thread of its own: the program's small-block pool serves one thread only, and
// everything here that allocates asks for more than its blocks hold (paths of more than
// 16 characters), so it goes to the thread-safe heap.
bool WriteReplayFiles(const ReplayFiles& files)
{
    bool written = true;
    for (const std::string& path : files.paths)
        written = WriteReplay(path, files.bytes) && written;
    return written;
}

}  // namespace

bool KeepReplay(journal::Recording& recording, bool setsBest, const PlayerFolder& folder)
{
    return folder.writable() && WriteReplayFiles(PackReplay(recording, setsBest, folder));
}

void KeepFinishedRun()
{
    journal::Recording recording;
    if (!journal::TakeRecording(recording))
        return;
    const HighScoreTable& ranking = saveRecord.tables[recording.header.setup.gameLength];
    const bool setsBest = ranking.Best() == recording.header.finalScore;
    if (!playerFolder.writable())
        return;
    FinishKeepingReplays();
    ReplayFiles files = PackReplay(recording, setsBest, playerFolder);
    const bool sent = sendKeptRun && boardBests->TakeIfBest(recording.header.setup.gameLength,
                                                            recording.header.finalScore);
    if (sent)
        sendKeptRun(files.bytes);
    NoteLatestRunSent(sent);
    if (!kCanStartThreads) {
        WriteReplayFiles(files);
        return;
    }
    // Packed here, written there.
    writer = std::thread([files = std::move(files)] { WriteReplayFiles(files); });
}

void SendKeptRunsTo(const std::string& board, std::function<void(std::vector<uint8_t>)> send)
{
    sendKeptRun = std::move(send);
    boardBests.reset();
    if (sendKeptRun)
        boardBests.emplace(playerFolder.PathOf(kBoardBestsName), board);
}

void FinishKeepingReplays()
{
    if (writer.joinable())
        writer.join();
}

namespace {

ReplayCheck CheckReplay(std::span<const uint8_t> bytes, journal::Recording& recording,
                        std::string& error)
{
    if (bytes.size() > kMaxReplayBytes) {
        error = "far too large to be a replay";
        return ReplayCheck::TooLarge;
    }
    if (!journal::DecodeRecording(bytes, recording, error))
        return ReplayCheck::Damaged;
    if (recording.header.archiveChecksum != resourceArchive.IndexChecksum()) {
        error = "recorded with other game pictures and sounds (the archive's index differs)";
        return ReplayCheck::OtherArchive;
    }
    return ReplayCheck::Playable;
}

}  // namespace

bool LoadReplay(const std::string& path, journal::Recording& recording, std::string& error)
{
    switch (CheckReplayFile(path, recording, error)) {
    case ReplayCheck::Playable: return true;
    case ReplayCheck::Unreadable: return false;  // the platform's line names the file
    default: error = path + ": " + error; return false;
    }
}

bool ReadReplay(std::span<const uint8_t> bytes, journal::Recording& recording, std::string& error)
{
    return CheckReplay(bytes, recording, error) == ReplayCheck::Playable;
}

ReplayCheck CheckReplayFile(const std::string& path, journal::Recording& recording,
                            std::string& error)
{
    const MappedFile file(path);
    if (!file.isOpen()) {
        error = "cannot read " + file.error();
        return ReplayCheck::Unreadable;
    }
    return CheckReplay(file.bytes(), recording, error);
}
