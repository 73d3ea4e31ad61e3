// The game scene's frame, in its fixed order (which is also the drawing order, back to front),
// the end of a run by time, and the enemy spawner.

#include "scenes/GameScene.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/PlayerFolder.h"
#include "app/SaveRecord.h"
#include "app/Settings.h"
#include "gfx/BmpWriter.h"
#include "gfx/Surface.h"
#include "objects/BombDropper.h"
#include "objects/Hud.h"
#include "objects/NoteSpreader.h"
#include "objects/PatternRunner.h"
#include "objects/Player.h"
#include "objects/Shooters.h"
#include "objects/SineGunner.h"
#include "objects/Sniper.h"
#include "random/Random.h"
#include "scenes/EndingScene.h"
#include "sound/SoundSystem.h"

namespace {

constexpr uint32_t kOneMinuteLimit = 60000;
constexpr uint32_t kFiveMinuteLimit = 300000;

// The spawn draw r picks a pattern; draws above the last entry spawn nothing.
enum SpawnPattern {
    kSpawnStraightShooter = 0,
    kSpawnWaveShooter = 1,
    kSpawnDiveShooter = 2,
    kSpawnSniper = 3,
    kSpawnNoteSpreader = 10,
    kSpawnSineGunner = 11,
    kSpawnPatternRunner = 12,
    kSpawnBombDropper = 13,
    kSpawnWaveLine = 20,
    kSpawnNotePair = 21,
    kSpawnStraightLine = 23,
    kSpawnLastEntry = 23,
};

// A line of four enters one every 64 pixels from the right edge; a fifth may follow it.
constexpr int kLineLength = 4;

int LineX(int place)
{
    return kViewWidth + place * 64;
}

// How each kind of enemy looks and what it is worth.
constexpr EnemyLook kShooterLook = {kSheetShooter, kKeyBlue, 10};
constexpr EnemyLook kSniperLook = {kSheetSniper, kKeyBlue, 10};
constexpr EnemyLook kNoteSpreaderLook = {kSheetNoteSpreader, kKeyBlack, 30};
constexpr EnemyLook kSineGunnerLook = {kSheetSineGunner, kKeyBlue, 30};
constexpr EnemyLook kPatternRunnerLook = {kSheetPatternRunner, kKeyBlack, 30};
constexpr EnemyLook kBombDropperLook = {kSheetBombDropper, kKeyRed, 10};

// The spawner's own numbers, from the generator nothing else draws from.
int Roll(int range)
{
    return theLcgRandom.Next() % range;
}

// Every enemy enters from just beyond the right edge.
int EntryX()
{
    return kViewWidth + Roll(60);
}

}  // namespace

void GameScene::Frame()
{
    if (givingUp) {
        GiveUp();
        return;
    }
    if (PadStartPressed())
        paused ? Resume() : Pause();
    if (paused) {
        DrawPauseScreen();
        return;
    }
    bombChange.drawn = false;
    player->bombChange = settings.calmBomb ? &bombChange : nullptr;
    uint32_t now = RunClock();
    uint32_t elapsed = now - startTime;
    if (TimeIsUp(elapsed)) {
        EndRunByTime();
        return;
    }

    DrawSkyAndBackground(now);
    Spawn(elapsed);
    UpdatePlayer(now);
    if (!RunEnemyPass(now))
        return;
    RunShotPass(now);
    gaugeBar->Update(now);
    DrawTrees(now);
    DrawNumbers();
    TakeSnapshot(elapsed);
    DrawTimer(elapsed);
}

bool GameScene::TimeIsUp(uint32_t elapsed) const
{
    switch (saveRecord.gameMode) {
    case 0: return elapsed > kOneMinuteLimit;
    case 1: return elapsed > kFiveMinuteLimit;
    default: return false;
    }
}

void GameScene::EndRunByTime()
{
    journal::EndRun(score);
    RecordScore();
    // A new best (or a tie) keeps the picture of the run's last frame, still on the canvas.
    if (saveRecord.CurrentTable().Best() == score && playerFolder.writable() &&
        !journal::PlayingBack()) {
        const std::string picture =
            playerFolder.PathOf(saveRecord.gameMode == 0 ? "HighScore1.bmp" : "HighScore5.bmp");
        if (!SaveBmp(*canvas, picture.c_str()))
            std::fprintf(stderr, "korimo: cannot write the best run's picture %s\n",
                         picture.c_str());
    }

    soundSystem->Stop(kSoundGameMusic);
    auto* ending = new EndingScene;
    SwitchTo(ending);
    ending->runScore = score;
}

// The ranking of the game length gets the run's score, and the save file is written at once
// rather than at exit, so that a crash or a killed process later loses nothing of this run.
void GameScene::RecordScore()
{
    saveRecord.CurrentTable().Insert(score);
    if (!playerFolder.writable())
        return;  // kept in memory only, as the player was told
    if (journal::PlayingBack())
        return;  // a replay's ending shows its score, the file never
    const std::string saveFile = playerFolder.PathOf(kSaveFileName);
    if (!saveRecord.Save(saveFile.c_str()))
        std::fprintf(stderr, "korimo: cannot write the scores to %s\n", saveFile.c_str());
}

void GameScene::UpdatePlayer(uint32_t now)
{
    player->gauge = gaugeBar->level;
    player->Update(now);
    gaugeBar->level = player->gauge;
}

// The spawn rate follows the time elapsed and how crowded the screen is: the draw r is taken
// modulo d, and only 24 of the values spawn (eleven of them something).
int GameScene::SpawnDivisor(uint32_t elapsed) const
{
    int32_t n = enemyList.Count();
    int32_t d;
    switch (saveRecord.gameMode) {
    case 0:
        d = std::max(300 - static_cast<int32_t>(elapsed >> 11), 50);
        if (n > 100)
            d += 50;
        else if (n < 50)
            d -= 20;
        return d;
    case 1:
        d = std::max(150 - static_cast<int32_t>(elapsed >> 12), 50);
        if (n > 200)
            d += 60;
        else if (n < 50)
            d = 80;
        return d;
    default: return std::max(150 - static_cast<int32_t>(elapsed >> 12), 50);
    }
}

void GameScene::Spawn(uint32_t elapsed)
{
    int d = SpawnDivisor(elapsed);
    int r = Roll(d);

    // A crowded screen gets a second chance to avoid a sniper.
    int32_t n = enemyList.Count();
    bool crowded = (saveRecord.gameMode == 0 && n > 120) || (saveRecord.gameMode == 1 && n > 80);
    if (r == kSpawnSniper && crowded)
        r = Roll(d);

    if (r <= kSpawnLastEntry)
        SpawnPattern(r);
}

// The draws of R come in the order the patterns take them; a position written as two draws
// takes x first unless said otherwise.
void GameScene::SpawnPattern(int pattern)
{
    switch (pattern) {
    case kSpawnStraightShooter: {
        int x = EntryX();
        AddEnemy(new StraightShooter, kShooterLook, x, Roll(200));
        break;
    }
    case kSpawnWaveShooter: {
        int x = EntryX();
        AddEnemy(new WaveShooter, kShooterLook, x, Roll(200));
        break;
    }
    case kSpawnDiveShooter: {
        // It dives at where the heroine is as it appears.
        int x = EntryX();
        int y = Roll(200);
        auto* diver = new DiveShooter;
        diver->path.AimAt(x, y, player->x, player->y);
        AddEnemy(diver, kShooterLook, x, y);
        break;
    }
    case kSpawnSniper: {
        int x = EntryX();
        AddEnemy(new Sniper, kSniperLook, x, Roll(200));
        break;
    }
    case kSpawnNoteSpreader: {
        // Height first, in the half of the screen away from the heroine.
        int y = player->y > 120 ? Roll(100) : 100 + Roll(100);
        int x = EntryX();
        AddEnemy(new NoteSpreader, kNoteSpreaderLook, x, y);
        break;
    }
    case kSpawnSineGunner: {
        int x = EntryX();
        AddEnemy(new SineGunner, kSineGunnerLook, x, Roll(200));
        break;
    }
    case kSpawnPatternRunner: {
        int x = EntryX();
        AddEnemy(new PatternRunner, kPatternRunnerLook, x, 100 + Roll(100));
        break;
    }
    case kSpawnBombDropper: {
        int x = EntryX();
        AddEnemy(new BombDropper, kBombDropperLook, x, 100 + Roll(100));
        break;
    }
    case kSpawnWaveLine: {
        int y = LineHeight();
        AddLine<WaveShooter>(y);
        // Half of the lines bring a gunner behind them.
        if ((theRandom.Next() & 1) == 0)
            AddEnemy(new SineGunner, kSineGunnerLook, LineX(kLineLength), y);
        break;
    }
    case kSpawnNotePair: {
        int x = EntryX();
        AddEnemy(new NoteSpreader, kNoteSpreaderLook, x, Roll(100));
        AddEnemy(new NoteSpreader, kNoteSpreaderLook, x, 50 + Roll(100));
        break;
    }
    case kSpawnStraightLine: {
        int y = LineHeight();
        AddLine<StraightShooter>(y);
        AddEnemy(new PatternRunner, kPatternRunnerLook, LineX(kLineLength), y);
        break;
    }
    default: break;
    }
}

// Four shooters side by side, entering one after another.
template <typename Shooter>
void GameScene::AddLine(int y)
{
    for (int i = 0; i < kLineLength; i++)
        AddEnemy(new Shooter, kShooterLook, LineX(i), y);
}

// A line keeps away from the heroine's half of the screen.
int GameScene::LineHeight()
{
    return player->y > 120 ? Roll(100) : 120 + Roll(100);
}

// The creation protocol of every spawned enemy.
void GameScene::AddEnemy(GameObject* enemy, const EnemyLook& look, int x, int y)
{
    enemy->scoreValue = look.points;
    enemy->MoveTo(x, y);
    enemy->SetSprite(images[look.sheet], canvas, kSheetFrames[look.sheet], look.key);
    enemy->collidable = true;
    enemy->solid = true;
    enemy->ownerList = &enemyList;
    enemy->player = player;
    enemy->images = &images;
    enemy->SetHitInset(2);
    enemyList.Append(enemy);
}
