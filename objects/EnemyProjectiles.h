#pragma once
// The dangerous things enemies put into the enemy list: bullets on a straight line toward a
// point, slow bullets drifting left, and delayed blasts that turn dangerous late in their
// animation. The heroine's shots pass through all of them; only her bomb clears them.

#include <cstdint>

#include "objects/GameObject.h"

// A straight path at constant speed from an origin toward a point, stepped along its major
// axis so that a shallow path and a steep one are equally smooth.
struct AimedPath {
    // Aims from (fromX, fromY) at the heroine's centre when she stands at (px, py).
    void AimAt(int fromX, int fromY, int px, int py);
    // Where the path is t milliseconds after its start at speed pixels per millisecond.
    void PositionAt(uint32_t t, double speed, int32_t& x, int32_t& y) const;
    bool IsAimed() const { return norm != 0; }

    double slope = 0;  // minor axis over major axis
    double norm = 0;   // sqrt(slope^2 + 1); 0 until aimed
    int32_t originX = 0;
    int32_t originY = 0;
    int32_t xSign = 0;  // 0 when y is the major axis; +1 toward smaller x, -1 toward larger
    int32_t ySign = 0;  // 0 when x is the major axis; +1 toward smaller y, -1 toward larger
};

class EnemyBullet : public GameObject {
public:
    static constexpr double kSpeed = 0.064;

    // Sets the path from the current position toward the heroine at (px, py).
    void AimAt(int px, int py) { path.AimAt(x, y, px, py); }
    int Update(uint32_t now) override;

    AimedPath path;
};

// Flies straight left at 0.064 pixels per millisecond.
class DriftBullet : public GameObject {
public:
    int Update(uint32_t now) override;
};

// Five steps of at least 67 ms, growing more opaque; only its corner point counts until the
// fourth step, after which its frame inset by 18 (then 10) pixels does.
class Blast : public GameObject {
public:
    int Update(uint32_t now) override;
    int Draw() override;

    int32_t stepCount = 0;
};

// The recipes enemies fire with. Each goes into the shooter's owner list.
void FireAimedBullet(GameObject& shooter, int fromX, int fromY);
void FireDriftBullet(GameObject& shooter, int fromX, int fromY);
