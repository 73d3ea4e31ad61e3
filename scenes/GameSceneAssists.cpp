// The assists, drawn on the picture as it is shown and never into the game's own: the
// heroine's hit rectangle, and the bomb's flash at a quarter of its change in brightness. A
// run, its snapshots and its recording are the same with them as without.

#include <algorithm>

#include "app/Settings.h"
#include "gfx/Surface.h"
#include "objects/Player.h"
#include "scenes/GameScene.h"

namespace {

constexpr int kShownScale = 2;               // shown pixels per pixel of the game's picture
constexpr uint32_t kHitColour = 0xF47A62;    // coral: touching this ends the run
constexpr uint32_t kGrazeColour = 0x5EE2E2;  // cyan: passing through here grazes

// A quarter of the way from before to after, channel by channel.
uint32_t Quarter(uint32_t before, uint32_t after)
{
    uint32_t mixed = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int b = static_cast<int>((before >> shift) & 0xFF);
        const int a = static_cast<int>((after >> shift) & 0xFF);
        mixed |= static_cast<uint32_t>(b + (a - b) / 4) << shift;
    }
    return mixed;
}

// Sets the shown pixels of one pixel of the game's picture; x and y are the game's, rows
// counted from the bottom as the surfaces keep them.
void ShowPixel(Surface& shown, int x, int y, uint32_t colour)
{
    for (int dy = 0; dy < kShownScale; dy++) {
        const int row = y * kShownScale + dy;
        if (row < 0 || row >= shown.height || x < 0 || x * kShownScale + 1 >= shown.width)
            continue;
        uint32_t* at = shown.pixels + size_t(row) * shown.width + size_t(x) * kShownScale;
        std::fill_n(at, kShownScale, colour);
    }
}

void Outline(Surface& shown, const RECT& box, uint32_t colour)
{
    for (int x = box.left; x < box.right; x++) {
        ShowPixel(shown, x, box.top, colour);
        ShowPixel(shown, x, box.bottom - 1, colour);
    }
    for (int y = box.top; y < box.bottom; y++) {
        ShowPixel(shown, box.left, y, colour);
        ShowPixel(shown, box.right - 1, y, colour);
    }
}

}  // namespace

void GameScene::DrawOverShown(Surface& shown)
{
    if (finished)
        return;
    if (paused) {
        DrawPausedOverShown(shown);
        return;
    }
    if (bombChange.drawn) {
        // Only where nothing drawn after the bomb's picture covered it.
        const size_t count = size_t(canvas->width) * canvas->height;
        for (size_t i = 0; i < count && i < bombChange.after.size(); i++) {
            if (canvas->pixels[i] != bombChange.after[i] ||
                bombChange.before[i] == bombChange.after[i])
                continue;
            ShowPixel(shown, static_cast<int>(i % canvas->width),
                      static_cast<int>(i / canvas->width),
                      Quarter(bombChange.before[i], bombChange.after[i]));
        }
    }
    if (settings.showHitBox && player) {
        const RECT frame = {player->x + player->bounds.left, player->y + player->bounds.top,
                            player->x + player->bounds.right, player->y + player->bounds.bottom};
        const RECT hit = {frame.left + kHeroineInset, frame.top + kHeroineInset,
                          frame.right - kHeroineInset, frame.bottom - kHeroineInset};
        Outline(shown, frame, kGrazeColour);
        for (int y = hit.top; y < hit.bottom; y++) {
            for (int x = hit.left; x < hit.right; x++)
                ShowPixel(shown, x, y, kHitColour);
        }
    }
}
