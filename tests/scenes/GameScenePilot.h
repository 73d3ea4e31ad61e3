#pragma once
// A scripted player for whole runs, for the golden run and the benchmark: she keeps her finger
// on the trigger, drifts up and down along the left of the screen so that she meets enemies at
// every height, and picks each step so that nothing reaches the middle of her frame, where a
// touch is a hit. When no step is safe she bombs. She reads the game scene the way a player
// reads the screen and holds keys on the scripted platform; the same scene state always gives
// the same keys.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <utility>

#include "objects/EnemyProjectiles.h"
#include "objects/GameObject.h"
#include "objects/Hud.h"
#include "objects/Player.h"
#include "objects/PlayerWeapons.h"
#include "platform/Platform.h"
#include "platform/scripted/Scripted.h"
#include "scenes/GameScene.h"

class Pilot {
public:
    // Sets the keys for the scene's next frame.
    void Steer(GameScene& scene)
    {
        static constexpr int kMoves[9][2] = {{0, 0}, {0, 1},  {0, -1}, {1, 0},  {-1, 0},
                                             {1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
        const Player& heroine = *scene.player;
        int homeY = 112 + static_cast<int>(70 * std::sin(frames++ / 170.0));

        // Where everything will be next frame, judged by how it moved since the last one.
        std::unordered_map<const GameObject*, std::pair<int, int>> seen;
        scene.enemyList.ForEach([&](GameObject& e) {
            seen[&e] = {e.x, e.y};
            return true;
        });

        double bestCost = 1e300;
        double bestThreat = 0;  // what a bomb could clear of the chosen step's danger
        int best = 0;
        for (int m = 0; m < 9; m++) {
            int x = std::clamp(heroine.x + 4 * kMoves[m][0], 0, Player::kMaxX);
            int y = std::clamp(heroine.y + 4 * kMoves[m][1], 0, Player::kMaxY);
            // Home pulls gently; the edges, where she cannot step aside, push.
            double cost = 0.05 * (std::abs(x - 40) + std::abs(y - homeY));
            cost += 20.0 / (std::min({x, y, Player::kMaxY - y}) + 1);
            RECT frame = {x, y, x + 32, y + 16};
            RECT middle = {x + 7, y + 7, x + 25, y + 9};
            double threat = 0;
            scene.enemyList.ForEach([&](GameObject& e) {
                if (!e.collidable)
                    return true;
                double danger = Danger(e, e.WorldHitBox(), Motion(e), frame, middle);
                cost += danger;
                // A bomb only turns explosions into explosions where they stand.
                if (!IsEffect(e))
                    threat += danger;
                // A blast's inner box is harmless for its first four steps: time to get out.
                if (auto* blast = dynamic_cast<Blast*>(&e)) {
                    RECT inner = {e.x + 10, e.y + 10, e.x + e.FrameWidth() - 10,
                                  e.y + e.FrameHeight() - 10};
                    double later = Danger(e, inner, {0, 0}, frame, middle);
                    cost += blast->stepCount < 3 ? later / 100 : later;
                }
                return true;
            });
            if (cost < bestCost) {
                bestCost = cost;
                bestThreat = threat;
                best = m;
            }
        }

        previous = std::move(seen);

        Set(VK_UP, kMoves[best][1] > 0);
        Set(VK_DOWN, kMoves[best][1] < 0);
        Set(VK_RIGHT, kMoves[best][0] > 0);
        Set(VK_LEFT, kMoves[best][0] < 0);
        Set(VK_SPACE, true);
        Set('B', bestThreat >= kBombWorthy && scene.gaugeBar->level > Player::kBombCost);
    }

private:
    static constexpr double kDeadly = 1e6;
    static constexpr double kBombWorthy = 100;  // something within two pixels of her frame

    // Explosions, sparks and the bomb's pictures: harmless but as points.
    static bool IsEffect(GameObject& e)
    {
        return dynamic_cast<Explosion*>(&e) || dynamic_cast<BomberCaption*>(&e) ||
               dynamic_cast<BomberOverlay*>(&e);
    }

    // How far the object moved since the previous frame; nothing for a newcomer.
    std::pair<int, int> Motion(const GameObject& e) const
    {
        auto found = previous.find(&e);
        if (found == previous.end())
            return {0, 0};
        int dx = e.x - found->second.first, dy = e.y - found->second.second;
        if (std::abs(dx) > 20 || std::abs(dy) > 20)
            return {0, 0};  // another object at a reused address
        return {dx, dy};
    }

    static double Danger(GameObject& e, const RECT& box, std::pair<int, int> motion,
                         const RECT& frame, const RECT& middle)
    {
        // Explosions, sparks and the bomb's pictures stand still as points (the caption
        // sweeps by too fast to dodge); everything else may come a few pixels closer before
        // the next test, and a blast grows to its inner box.
        bool effect = IsEffect(e);
        // Where it is now and where it will be, with a little to spare.
        int margin = effect ? 1 : 3;
        auto [dx, dy] = motion;
        RECT reach = {std::min(box.left, box.left + dx) - margin,
                      std::min(box.top, box.top + dy) - margin,
                      std::max(box.right, box.right + dx) + margin,
                      std::max(box.bottom, box.bottom + dy) + margin};
        if (Overlap(reach, middle)) {
            // The deeper in, the worse, so that she works her way out of a wide danger.
            int depth = std::min({reach.right - middle.left, middle.right - reach.left,
                                  reach.bottom - middle.top, middle.bottom - reach.top});
            return kDeadly * (1 + depth);
        }
        if (effect)
            return 0;
        // A graze leaves a spark in her frame, which may become a hit as she moves: keep some
        // distance from anything that moves.
        int gapX = std::max({reach.left - frame.right, 0, frame.left - reach.right});
        int gapY = std::max({reach.top - frame.bottom, 0, frame.top - reach.bottom});
        double gap = std::hypot(gapX, gapY);
        return gap < 30 ? 300 / (gap + 1) : 0;
    }

    static bool Overlap(const RECT& a, const RECT& b)
    {
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    }

    static void Set(int vk, bool held)
    {
        if (held)
            scripted::HoldKey(vk);
        else
            scripted::ReleaseKey(vk);
    }

    uint32_t frames = 0;
    std::unordered_map<const GameObject*, std::pair<int, int>> previous;
};
