// The game scene's set-up and teardown: every picture of a run, the heroine, the two HUD
// objects, the music and the clocks.

#include "scenes/GameScene.h"

#include <algorithm>

#include "app/GameApp.h"
#include "app/SaveRecord.h"
#include "app/Settings.h"
#include "archive/ResourceArchive.h"
#include "gfx/Surface.h"
#include "objects/Hud.h"
#include "objects/Player.h"
#include "platform/JoystickInfo.h"
#include "random/Random.h"
#include "scenes/ScenePicture.h"
#include "sound/SoundSystem.h"

namespace {

// The sprite sheets in the order of their indexes.
constexpr const char* kSheetNames[kSpriteSheetCount] = {
    "shot.bmp",  "laser.bmp",  "bbolo.bmp",  "bbolo2.bmp",     "morisel.bmp",
    "kanel.bmp", "tarune.bmp", "bolo.bmp",   "tama.bmp",       "bom.bmp",
    "nazo.bmp",  "beam.bmp",   "onpu.bmp",   "bazooka.bmp",    "exp.bmp",
    "exp2.bmp",  "bar.bmp",    "bomber.bmp", "bombertext.bmp", "kasuri.bmp",
};

constexpr int kHeroineFrames = 4;

// What each picture must at least hold for the columns and rows the scene reads from it.
// Objects clip to their own frames, so a sheet of any size is safe as long as each of its
// frames is at least a pixel wide (an object with empty frames would never be seen, and so
// never leave).
constexpr PictureLimits SheetLimits(int frames)
{
    return {frames, 1, kAnySize, kAnySize};
}
constexpr PictureLimits kBackgroundLimits = {1536, 240, kAnySize, kAnySize};
constexpr PictureLimits kTreesLimits = {960, 90, kAnySize, kAnySize};
constexpr PictureLimits kDigitStripLimits = {ScoreDisplay::kDigits * ScoreDisplay::kGlyphWidth,
                                             ScoreDisplay::kGlyphHeight, kAnySize, kAnySize};
constexpr PictureLimits kGaugeLimits = {GaugeBar::kMaxLevel, 8, kAnySize, kAnySize};

}  // namespace

void GameScene::Init(GameApp* app, Surface* canvas, JoystickInfo* joystick)
{
    Scene::Init(app, canvas, joystick);
    LoadLandscape();
    CreatePlayer();
    StartFrom(journal::BeginRun(FreshRunSetup()));
    CreateScoreDisplay();
    score = 0;
    LoadSpriteSheets();
    CreateGaugeBar();
    soundSystem->PlayMusic(kSoundGameMusic, 1);

    scrollTime = treesScrollTime = journal::Clock();
    startTime = journal::Clock();
}

// A fresh run starts from the game length, the ranking, the keys, the pad record and the
// generators as they are now.
RunSetup GameScene::FreshRunSetup() const
{
    RunSetup setup;
    setup.gameLength = static_cast<uint32_t>(saveRecord.gameMode);
    setup.rankedBest = saveRecord.CurrentTable().Best();
    setup.eventMask = journal::EventBit(journal::EventKind::KeyPress) |
                      journal::EventBit(journal::EventKind::FocusLost);
    setup.keys = player->keys;
    if (joystick) {
        setup.padAvailable = joystick->available;
        const JOYCAPSA& caps = joystick->caps;
        const uint32_t ranges[4] = {caps.wXmin, caps.wXmax, caps.wYmin, caps.wYmax};
        std::copy(ranges, ranges + 4, setup.padRanges);
    }
    setup.lcgState = theLcgRandom.state;
    setup.randomIndex = static_cast<uint32_t>(theRandom.index);
    std::copy(theRandom.state, theRandom.state + Random::kStateSize, setup.randomState);
    return setup;
}

// The run goes on from setup: a fresh one changes nothing, a recording's puts the game where
// its run began.
void GameScene::StartFrom(const RunSetup& setup)
{
    run = setup;
    saveRecord.gameMode = static_cast<int32_t>(run.gameLength);
    player->keys = run.keys;
    player->reads = &journal::Controls();
    if (joystick) {
        joystick->available = static_cast<uint8_t>(run.padAvailable);
        joystick->caps.wXmin = run.padRanges[0];
        joystick->caps.wXmax = run.padRanges[1];
        joystick->caps.wYmin = run.padRanges[2];
        joystick->caps.wYmax = run.padRanges[3];
    }
    theLcgRandom.state = run.lcgState;
    theRandom.Restore(run.randomState, static_cast<int32_t>(run.randomIndex));
}

GameScene::~GameScene()
{
    delete player;
    delete skyImage;
    delete backgroundImage;
    delete treesImage;
    delete gaugeBar;
    delete scoreDisplay;
    enemyList.Clear();
    for (Surface* sheet : images)
        delete sheet;
    shotList.Clear();
}

Surface* GameScene::LoadPicture(const char* name, const PictureLimits& limits)
{
    return LoadScenePicture(app->window, resourceArchive, name, limits);
}

void GameScene::LoadLandscape()
{
    skyImage = LoadPicture("tomu_sora.bmp", kScreenOrMore);
    backgroundImage = LoadPicture("tomu_bg.bmp", kBackgroundLimits);
    treesImage = LoadPicture("tomu_ki.bmp", kTreesLimits);
    backgroundScroll = 0;
    treesScroll = 0;
}

void GameScene::CreatePlayer()
{
    player = new Player;
    player->SetSprite(LoadPicture("velani.bmp", SheetLimits(kHeroineFrames)), canvas,
                      kHeroineFrames, kKeyBlack);
    player->MoveTo(Player::kStartX, Player::kStartY);
    player->ownerList = &shotList;
    player->enemyList = &enemyList;
    player->images = &images;
    player->input = joystick;
    player->keys = settings.keys;
}

void GameScene::CreateScoreDisplay()
{
    scoreDisplay = new ScoreDisplay;
    scoreDisplay->sprite = LoadPicture("text.bmp", kDigitStripLimits);
    scoreDisplay->target = canvas;
    scoreDisplay->bounds = {0, 0, scoreDisplay->sprite->width, scoreDisplay->sprite->height};
    scoreDisplay->colorKey = kKeyBlack;
    scoreDisplay->MoveTo(200, 220);
}

void GameScene::LoadSpriteSheets()
{
    for (int i = 0; i < kSpriteSheetCount; i++) {
        images[i] = LoadPicture(kSheetNames[i],
                                i == kSheetGauge ? kGaugeLimits : SheetLimits(kSheetFrames[i]));
    }
}

void GameScene::CreateGaugeBar()
{
    gaugeBar = new GaugeBar;
    gaugeBar->sprite = images[kSheetGauge];
    gaugeBar->target = canvas;
    gaugeBar->bounds = {0, 0, gaugeBar->sprite->width, gaugeBar->sprite->height};
}
