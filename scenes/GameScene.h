#pragma once
// The playing screen: the heroine flies over a scrolling landscape while enemies stream in
// from the right, for the chosen game length or until she is hit. The scene, not the objects,
// decides who hits whom, keeps the score and the power gauge, and draws the landscape and the
// head-up display around the objects.

#include <cstdint>
#include <vector>

#include "objects/GameObject.h"
#include "objects/ObjectList.h"
#include "objects/PlayerWeapons.h"
#include "replay/RunSetup.h"
#include "scenes/Scene.h"

class GaugeBar;
class Player;
class ScoreDisplay;
struct PictureLimits;

// How a kind of enemy looks and what shooting it down is worth.
struct EnemyLook {
    SpriteSheet sheet;
    uint32_t key;
    int32_t points;
};

class GameScene : public Scene {
public:
    // She is hit only when something reaches her frame inset by this much; the rim grazes.
    static constexpr int kHeroineInset = 7;

    GameScene() = default;
    ~GameScene() override;

    void Init(GameApp* app, Surface* canvas, JoystickInfo* joystick) override;
    void OnKeyDown(int vk) override {}  // the heroine polls the keyboard herself
    // The pause keys pause and resume; Q while paused gives the run up.
    void OnKeyPress(int vk) override;
    void OnFocusLost() override;
    void Frame() override;
    // On the shown picture only: the assists the player chose (GameSceneAssists.cpp), and the
    // pad's keys of the pause.
    void DrawOverShown(Surface& shown) override;

    uint32_t scrollTime = 0;  // when the background layer last started over
    uint32_t treesScrollTime = 0;
    Surface* skyImage = nullptr;
    Surface* backgroundImage = nullptr;
    Surface* treesImage = nullptr;
    int32_t backgroundScroll = 0;  // source column of the background, 0..1216
    int32_t treesScroll = 0;       // source column of the tree band, 0..640
    Player* player = nullptr;
    ScoreDisplay* scoreDisplay = nullptr;
    int32_t score = 0;
    GaugeBar* gaugeBar = nullptr;  // its level is the power gauge
    SpriteTable images = {};
    ObjectList enemyList;  // enemies, their bullets, explosions, sparks, bomb pictures
    ObjectList shotList;   // the heroine's shots
    bool paused = false;
    // What this run started from: now's, or a replay's own (which shows the best of the ranking
    // as its run began, not the watcher's).
    RunSetup run;
    // What the bomb's picture changed this frame, noted for the calmer-bomb assist.
    BombChange bombChange;

private:
    // Set-up.
    Surface* LoadPicture(const char* name, const PictureLimits& limits);
    void LoadLandscape();
    void CreatePlayer();
    void CreateScoreDisplay();
    void LoadSpriteSheets();
    void CreateGaugeBar();
    RunSetup FreshRunSetup() const;
    void StartFrom(const RunSetup& setup);

    // The frame and the spawner.
    bool TimeIsUp(uint32_t elapsed) const;
    void EndRunByTime();
    void RecordScore();
    void UpdatePlayer(uint32_t now);
    int SpawnDivisor(uint32_t elapsed) const;
    void Spawn(uint32_t elapsed);
    void SpawnPattern(int pattern);
    int LineHeight();
    template <typename Shooter>
    void AddLine(int y);
    void AddEnemy(GameObject* enemy, const EnemyLook& look, int x, int y);

    // Collisions and scoring.
    bool RunEnemyPass(uint32_t now);  // false when the heroine was hit
    void Graze(const RECT& heroine, const RECT& enemy);
    void RunShotPass(uint32_t now);
    void ShootDown(GameObject& enemy);
    void EndRunByHit();

    // Landscape and head-up display.
    void DrawSkyAndBackground(uint32_t now);
    void DrawTrees(uint32_t now);
    void DrawNumbers();
    void TakeSnapshot(uint32_t elapsed);
    void PrepareSnapshot(Surface& next);
    void DrawTimer(uint32_t elapsed);

    // Pause. The run's clock is the platform's clock less the time spent paused, so every
    // timed thing resumes exactly where it stood.
    uint32_t RunClock() const;
    void Pause();
    void Resume();
    void GiveUp();
    bool PadStartPressed();
    void DrawPausedOverShown(Surface& shown);
    void DrawPauseScreen();

    uint32_t pausedSince = 0;  // the platform's clock when the pause began
    uint32_t pausedTotal = 0;
    bool givingUp = false;
    bool padStartHeld = true;  // a Start held as the run begins is not a press
    bool padGiveUpHeld = true;
    std::vector<uint32_t> pausedFrame;  // the frame as it stood, darkened

    // Words of the next snapshot already written ahead of its copy, a page at a time.
    size_t preparedWords = 0;
};
