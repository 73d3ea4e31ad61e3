// korimo-board: a ranking of runs that the board has verified itself, by playing each uploaded
// replay again with the game's own --verify.
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "server/HttpServer.h"
#include "server/Options.h"
#include "server/ScratchVerify.h"

namespace {

namespace fs = std::filesystem;

int Fail(const std::string& line)
{
    std::fprintf(stderr, "korimo-board: %s\n", line.c_str());
    return 1;
}

fs::path OwnFolder()
{
    std::error_code ignored;
    return fs::read_symlink("/proc/self/exe", ignored).parent_path();
}

// The game built beside the board (build/run/korimo), or installed with it (bin/ and games/).
std::string DefaultGame()
{
    const fs::path own = OwnFolder();
    for (const fs::path& game : {own / "korimo", own / "../games/korimo-shooting"})
        if (access(game.c_str(), X_OK) == 0)
            return fs::weakly_canonical(game).string();
    return (own / "korimo").string();
}

// sqlite: in $XDG_STATE_HOME/korimo-board (~/.local/state/korimo-board), made private.
std::string DefaultDatabase(std::string& error)
{
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    fs::path folder = state && *state ? fs::path(state)
                      : home && *home ? fs::path(home) / ".local/state"
                                      : fs::path();
    if (folder.empty()) {
        error = "neither XDG_STATE_HOME nor HOME is set: give --database";
        return "";
    }
    folder /= "korimo-board";
    std::error_code failed;
    fs::create_directories(folder, failed);
    if (failed) {
        error = "cannot make " + folder.string() + ": " + failed.message();
        return "";
    }
    chmod(folder.c_str(), 0700);
    return "sqlite:" + (folder / "board.sqlite").string();
}

// The token's first line; refused when the file lets its group or others read it.
bool ReadAdminToken(const std::string& path, std::string& token, std::string& error)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        error = "cannot read the admin token file " + path;
        return false;
    }
    if (info.st_mode & (S_IRGRP | S_IROTH)) {
        error = "the admin token file " + path + " can be read by others: chmod 600 it";
        return false;
    }
    std::ifstream in(path);
    std::getline(in, token);
    while (!token.empty() && (token.back() == '\r' || token.back() == ' '))
        token.pop_back();
    if (token.size() < 16) {
        error = "the admin token in " + path + " is shorter than 16 characters";
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string error;
    const std::optional<board::Options> parsed =
        board::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!parsed) {
        std::fprintf(stderr, "korimo-board: %s\n%s", error.c_str(), board::kUsage);
        return 2;
    }
    board::Options options = *parsed;
    if (options.help) {
        std::fputs(board::kUsage, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("korimo-board %s\n", KORIMO_VERSION);
        return 0;
    }
    if (options.workers == 0)
        options.workers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (options.game.empty())
        options.game = DefaultGame();
    if (access(options.game.c_str(), X_OK) != 0)
        return Fail("the game " + options.game + " cannot be run: give --game");
    // Each verifier starts in its own scratch folder, where a relative path leads nowhere.
    options.game = std::filesystem::absolute(options.game).string();
    if (options.database.empty() && (options.database = DefaultDatabase(error)).empty())
        return Fail(error);
    board::Board::Settings settings{options.workers, options.waiting, options.uploadsPerMinute, ""};
    if (!options.adminTokenFile.empty() &&
        !ReadAdminToken(options.adminTokenFile, settings.adminToken, error))
        return Fail(error);

    // SIGTERM and SIGINT stop the server from a thread of their own, between requests; a
    // client that goes away mid-answer is no signal to die of.
    std::signal(SIGPIPE, SIG_IGN);
    sigset_t stopping;
    sigemptyset(&stopping);
    sigaddset(&stopping, SIGTERM);
    sigaddset(&stopping, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopping, nullptr);
    std::thread([stopping] {
        int signal = 0;
        sigwait(&stopping, &signal);
        board::StopServing();
    }).detach();

    try {
        board::RunStore store(board::OpenSqlDatabase(options.database));
        const std::string game = options.game;
        board::Board board(
            store, [game](std::string_view replay) { return board::VerifyInScratch(game, replay); },
            settings);
        const int threads = options.workers + options.waiting + 8;
        if (!board::ServeBoard(board, options.host, options.port, threads, options.webFolder,
                               error))
            return Fail(error);
    } catch (const board::SqlError& e) {
        return Fail(std::string("database: ") + e.what());
    }
    return 0;
}
