#include "server/Options.h"

#include <charconv>

namespace board {

const char* const kUsage =
    "usage: korimo-board [--listen ADDR:PORT] [--database URL] [--game PROGRAM] [--workers N]\n"
    "                    [--queue N] [--uploads-per-minute N] [--admin-token-file FILE]\n"
    "                    [--web FOLDER]\n"
    "       korimo-board --help | --version\n"
    "\n"
    "  --listen ADDR:PORT        where to serve (default 127.0.0.1:8018)\n"
    "  --database URL            sqlite:PATH (default $XDG_STATE_HOME/korimo-board/board.sqlite)\n"
    "                            or postgresql://... shared by several boards\n"
    "  --game PROGRAM            the game whose --verify checks uploads (default: the game\n"
    "                            built or installed beside the board)\n"
    "  --workers N               verifications at once (default: the processor count)\n"
    "  --queue N                 uploads that may wait for a verification (default 16)\n"
    "  --uploads-per-minute N    uploads one address may send a minute, 0 for any (default 10)\n"
    "  --admin-token-file FILE   the token that DELETE /api/runs/ID needs (readable by its\n"
    "                            owner only)\n"
    "  --web FOLDER              the game's browser build, served under /play/\n";

namespace {

bool ParseCount(const std::string& text, int low, int high, int& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size() &&
           value >= low && value <= high;
}

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error)
{
    Options options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--help" || option == "--version") {
            (option == "--help" ? options.help : options.version) = true;
            continue;
        }
        if (i + 1 == arguments.size()) {
            error = option.starts_with("--") && option.size() > 2 ? option + " needs a value"
                                                                  : "unknown option " + option;
            return std::nullopt;
        }
        const std::string& value = arguments[++i];
        bool good = true;
        if (option == "--listen") {
            const size_t colon = value.rfind(':');
            good = colon != std::string::npos && colon > 0 &&
                   ParseCount(value.substr(colon + 1), 0, 65535, options.port);
            if (good)
                options.host = value.substr(0, colon);
        } else if (option == "--database") {
            options.database = value;
        } else if (option == "--game") {
            options.game = value;
        } else if (option == "--workers") {
            good = ParseCount(value, 1, 256, options.workers);
        } else if (option == "--queue") {
            good = ParseCount(value, 0, 10000, options.waiting);
        } else if (option == "--uploads-per-minute") {
            good = ParseCount(value, 0, 1000000, options.uploadsPerMinute);
        } else if (option == "--admin-token-file") {
            options.adminTokenFile = value;
        } else if (option == "--web") {
            options.webFolder = value;
        } else {
            error = "unknown option " + option;
            return std::nullopt;
        }
        if (!good) {
            error = "bad value for " + option + ": " + value;
            return std::nullopt;
        }
    }
    return options;
}

}  // namespace board
