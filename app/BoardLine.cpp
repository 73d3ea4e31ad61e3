#include "app/BoardLine.h"

#include "app/GameApp.h"
#include "gfx/Surface.h"

namespace {

constexpr COLORREF kLineColour = 0x40C8F2;
constexpr int kGlyphWidth = 8;
// Below the run's own score, inside the ranking's darkened box.
constexpr int kLineRow = 432;

std::function<BoardNews()> boardNews;
bool latestRunSent = false;

}  // namespace

void FollowBoardWith(std::function<BoardNews()> news)
{
    boardNews = std::move(news);
}

void NoteLatestRunSent(bool sent)
{
    latestRunSent = sent;
}

std::string BoardLineText(const BoardNews& news)
{
    switch (news.stage) {
    case BoardNews::Stage::None: return "";
    case BoardNews::Stage::Sending: return "SENDING...";
    case BoardNews::Stage::Waiting: return "OFFLINE: WILL SEND LATER";
    case BoardNews::Stage::Placed: break;
    }
    std::string line = "WORLD #" + std::to_string(news.rank);
    if (news.ranked > 0)
        line += " OF " + std::to_string(news.ranked);
    return line;
}

void DrawBoardLine(Surface& shown)
{
    if (!latestRunSent || !boardNews)
        return;
    const std::string line = BoardLineText(boardNews());
    if (line.empty())
        return;
    const int x = (shown.width - static_cast<int>(line.size()) * kGlyphWidth) / 2;
    GameApp::DrawShownText(shown, x, kLineRow, line.c_str(), kLineColour);
}
