#include "server/Board.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <span>

#include "replay/JournalCodec.h"
#include "server/Names.h"

namespace board {

namespace {

using nlohmann::json;

Reply Json(int status, const json& value)
{
    return {status, value.dump()};
}

// A whole decimal number within [low, high], or nothing.
std::optional<int64_t> ParseNumber(std::string_view text, int64_t low, int64_t high)
{
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
        value > high)
        return std::nullopt;
    return value;
}

json RunJson(const StoredRun& run)
{
    return {{"id", run.id},
            {"name", run.name},
            {"length", run.length},
            {"score", run.score},
            {"frames", run.frames},
            {"recorded", run.recorded},
            {"received", run.received}};
}

// Compares in time that does not depend on where the first difference lies.
bool SameSecret(std::string_view a, std::string_view b)
{
    unsigned char difference = a.size() != b.size();
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0 && !a.empty();
}

}  // namespace

Reply Refusal(int status, const std::string& sentence, int retryAfter)
{
    return {status, json{{"error", sentence}}.dump(), "application/json", retryAfter};
}

Board::Board(RunStore& store, Verify verify, const Settings& settings)
    : store(store), verify(std::move(verify)), queue(settings.workers, settings.waiting),
      limiter(settings.uploadsPerMinute), adminToken(settings.adminToken)
{
}

Reply Board::Post(const Upload& upload)
{
    if (const int wait = limiter.Admit(upload.address))
        return Refusal(429,
                       "Too many uploads from your address; try again in " + std::to_string(wait) +
                           " seconds.",
                       wait);
    if (upload.body.size() > kMaxUploadBytes)
        return Refusal(413, "The replay file is larger than the board takes (64 KiB).");
    const std::optional<std::string> name = CleanName(upload.name);
    if (!name)
        return Refusal(400, "A name is 1 to 16 letters, digits, spaces, '-', '_' or '.'.");
    if (!IsPlayerKey(upload.key))
        return Refusal(400, "The X-Player-Key header must be 64 hexadecimal digits.");
    journal::Recording recording;
    std::string error;
    const auto* bytes = reinterpret_cast<const uint8_t*>(upload.body.data());
    if (!journal::DecodeRecording(std::span(bytes, upload.body.size()), recording, error))
        return Refusal(400, "This is not a replay file: " + error + ".");
    const std::string sha256 = Sha256Hex(upload.body);
    if (store.FindFile(sha256))
        return Refusal(409, "This replay file is already on the board.");
    return Accept(upload, *name, sha256);
}

Reply Board::Accept(const Upload& upload, const std::string& name, const std::string& sha256)
{
    const std::string keyHash = Sha256Hex(upload.key);
    if (store.NameTakenByOther(name, keyHash))
        return Refusal(403, "The name \"" + name + "\" belongs to another player.");
    Verdict verdict;
    {
        std::optional<VerifyQueue::Turn> turn = queue.Enter();
        if (!turn)
            return Refusal(503, "The board is busy verifying other runs; try again shortly.", 5);
        verdict = verify(upload.body);
    }
    if (!verdict.verified)
        return Refusal(422, "The run does not verify: " + verdict.reason + ".");

    journal::Recording recording;
    std::string error;
    const auto* bytes = reinterpret_cast<const uint8_t*>(upload.body.data());
    journal::DecodeRecording(std::span(bytes, upload.body.size()), recording, error);
    NewRun run{name,
               keyHash,
               verdict.length,
               verdict.score,
               verdict.frames,
               static_cast<int64_t>(recording.header.date),
               static_cast<int64_t>(std::time(nullptr)),
               sha256,
               std::string(upload.body)};
    const RunStore::Insertion insertion = store.Insert(run);
    if (insertion.outcome == RunStore::Outcome::SameFile)
        return Refusal(409, "This replay file is already on the board.");
    if (insertion.outcome == RunStore::Outcome::NameTaken)
        return Refusal(403, "The name \"" + name + "\" belongs to another player.");
    return Json(201, {{"id", insertion.id},
                      {"length", run.length},
                      {"score", run.score},
                      {"frames", run.frames},
                      {"rank", store.RankOf(run.length, name, run.score)},
                      {"ranked", store.RankedNames(run.length)}});
}

Reply Board::Top(std::string_view lengthText, std::string_view limitText)
{
    const std::optional<int64_t> length = ParseNumber(lengthText, 1, 5);
    if (!length || (*length != 1 && *length != 5))
        return Refusal(400, "The length is 1 or 5 (minutes).");
    const std::optional<int64_t> limit = limitText.empty() ? 10 : ParseNumber(limitText, 1, 100);
    if (!limit)
        return Refusal(400, "The limit is a number from 1 to 100.");
    json runs = json::array();
    for (const RankedRun& ranked : store.Top(static_cast<int>(*length), static_cast<int>(*limit))) {
        json row = RunJson(ranked.run);
        row.erase("length");
        row.erase("frames");
        row["rank"] = ranked.rank;
        runs.push_back(row);
    }
    return Json(200, {{"length", *length},
                      {"ranked", store.RankedNames(static_cast<int>(*length))},
                      {"runs", runs}});
}

Reply Board::Run(std::string_view id)
{
    const std::optional<int64_t> number = ParseNumber(id, 1, INT64_MAX);
    const std::optional<StoredRun> run = number ? store.Find(*number) : std::nullopt;
    if (!run)
        return Refusal(404, "There is no such run on the board.");
    return Json(200, RunJson(*run));
}

Reply Board::ReplayFile(std::string_view id)
{
    const std::optional<int64_t> number = ParseNumber(id, 1, INT64_MAX);
    const std::optional<std::string> file = number ? store.ReplayFile(*number) : std::nullopt;
    if (!file)
        return Refusal(404, "There is no such run on the board.");
    return {200, *file, "application/octet-stream"};
}

Reply Board::Remove(std::string_view id, std::string_view authorization)
{
    const std::string_view kBearer = "Bearer ";
    if (!authorization.starts_with(kBearer) ||
        !SameSecret(authorization.substr(kBearer.size()), adminToken))
        return Refusal(401, "Removing a run needs the board's admin token.");
    const std::optional<int64_t> number = ParseNumber(id, 1, INT64_MAX);
    if (!number || !store.Remove(*number))
        return Refusal(404, "There is no such run on the board.");
    return {204, "", ""};
}

}  // namespace board
