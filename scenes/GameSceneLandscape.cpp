// What the game scene draws around the objects: the sky, the slowly scrolling background, the
// faster tree band in front, the gauge's neighbours on the HUD (score, best score, timer), and
// the ten snapshots the ending shows.

#include "scenes/GameScene.h"

#include <cstdio>
#include <cstring>

#include "app/Globals.h"
#include "app/SaveRecord.h"
#include "gfx/Draw.h"
#include "gfx/Surface.h"
#include "objects/Hud.h"
#include "objects/Player.h"

namespace {

// The background moves 1216 pixels in 20 s, the tree band 640 pixels in 6 s; each picture
// repeats after that many columns.
constexpr uint32_t kBackgroundPeriod = 1216;
constexpr uint32_t kBackgroundTime = 20000;
constexpr uint32_t kTreesPeriod = 640;
constexpr uint32_t kTreesTime = 6000;
constexpr int kTreesBandHeight = 90;
constexpr uint32_t kBackgroundKey = 0x00FF00;  // pure green

// Below this height the heroine has the numbers and the timer at the top of the screen.
constexpr int kHudSwapHeight = 160;
constexpr uint32_t kSnapshotInterval[2] = {5000, 28000};

// The column a layer has scrolled to since `since`. When it passes the picture's period it
// starts over from where it is, and `since` moves to now. After a long stall (the window
// dragged, the machine asleep) the column may be several periods on; reducing it modulo the
// period keeps every read inside the picture.
int32_t ScrollColumn(uint32_t now, uint32_t& since, uint32_t period, uint32_t time)
{
    uint32_t column = (now - since) * period / time;
    if (column > period) {
        column %= period;
        since = now;
    }
    return static_cast<int32_t>(column);
}

bool TimedMode()
{
    return saveRecord.gameMode == 0 || saveRecord.gameMode == 1;
}

}  // namespace

void GameScene::DrawSkyAndBackground(uint32_t now)
{
    if (!canvas->drawingSkipped)
        BitBlt(canvas->dc, 0, 0, kViewWidth, kViewHeight, skyImage->dc, 0, 0, SRCCOPY);
    backgroundScroll = ScrollColumn(now, scrollTime, kBackgroundPeriod, kBackgroundTime);
    RECT band = {backgroundScroll, 0, backgroundScroll + kViewWidth, kViewHeight};
    BlitKeyed(*backgroundImage, band, *canvas, 0, 0, kBackgroundKey);
}

// The trees turn see-through while the heroine flies down among them, and solid again over
// the 32 pixels above them.
void GameScene::DrawTrees(uint32_t now)
{
    treesScroll = ScrollColumn(now, treesScrollTime, kTreesPeriod, kTreesTime);
    RECT band = {treesScroll, 0, treesScroll + kViewWidth, kTreesBandHeight};
    int top = treesImage->height;
    int y = player->y;
    if (y > top + 32)
        BlitKeyed(*treesImage, band, *canvas, 0, 0, kKeyWhite);
    else if (y > top)
        BlitBlendKeyed(*treesImage, band, *canvas, 0, 0, 128 - 4 * (y - top), kKeyWhite);
    else
        BlitBlendKeyed(*treesImage, band, *canvas, 0, 0, 128, kKeyWhite);
}

// The numbers keep away from the heroine: at the top while she is low, else at the bottom.
void GameScene::DrawNumbers()
{
    int y = player->y < kHudSwapHeight ? 220 : 5;
    scoreDisplay->MoveTo(238, y);
    scoreDisplay->Update(static_cast<uint32_t>(score));
    if (TimedMode()) {
        scoreDisplay->MoveTo(138, y);
        scoreDisplay->Update(static_cast<uint32_t>(
            journal::PlayingBack() ? run.rankedBest : saveRecord.CurrentTable().Best()));
    }
}

// The ending shows ten pictures of the first runs after start-up, taken at fixed times.
void GameScene::TakeSnapshot(uint32_t elapsed)
{
    if (!TimedMode() || snapshotCount >= kSnapshotCount)
        return;
    Surface* snapshot = snapshots[snapshotCount];
    bool fits = snapshot && snapshot->width == canvas->width && snapshot->height == canvas->height;
    if (elapsed <= snapshotCount * kSnapshotInterval[saveRecord.gameMode]) {
        if (fits)
            PrepareSnapshot(*snapshot);
        return;
    }

    if (fits)
        std::memcpy(snapshot->pixels, canvas->pixels,
                    size_t(canvas->width) * canvas->height * canvas->bitsPerPixel / 8);
    snapshotCount++;
    preparedWords = 0;
}

// A snapshot's memory lies untouched until its copy, and the system maps untouched memory a
// page at a time as it is first written: in the copy itself that made the frame several times
// as long as the others. So on each frame before it, one more page of the next snapshot is
// written ahead, which costs a frame next to nothing. What it holds means nothing until the
// copy.
void GameScene::PrepareSnapshot(Surface& next)
{
    constexpr size_t kPageWords = 4096 / sizeof(uint32_t);
    if (preparedWords < size_t(next.width) * next.height) {
        next.pixels[preparedWords] = 0;
        preparedWords += kPageWords;
    }
}

void GameScene::DrawTimer(uint32_t elapsed)
{
    if (canvas->drawingSkipped)
        return;
    char text[32];
    int length =
        std::snprintf(text, sizeof text, "%02u:%02u Sec.", elapsed / 60000, elapsed % 60000 / 1000);
    int row = player->y < kHudSwapHeight ? 25 : 200;
    TextOutA(canvas->dc, 240, row, text, length);
}
