#include "scenes/ReplaysScene.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "app/GameApp.h"
#include "app/PlayerFolder.h"
#include "app/ReplaySession.h"
#include "app/Settings.h"
#include "gfx/Surface.h"
#include "platform/JoystickInfo.h"
#include "platform/PadLayout.h"
#include "scenes/MenuPage.h"
#include "scenes/ScenePicture.h"
#include "scenes/TitleScene.h"
#include "sound/SoundSystem.h"

namespace {

using menu::kCoral;
using menu::kCyan;
using menu::kGlyphWidth;
using menu::kGrey;
using menu::kLineHeight;
using menu::kWhite;
using menu::kYellow;
using menu::Text;

constexpr int kListRow = 24;
constexpr int kRowsShown = 10;
constexpr int kDetailRow = kListRow + kRowsShown * kLineHeight + 4;
constexpr int kNameX = 16;
constexpr int kLengthX = 120;
constexpr int kScoreRight = 216;  // scores end here, so their digits line up
constexpr int kDateX = 224;
constexpr size_t kNameShown = 12;  // characters of a file's name in the list
constexpr size_t kDetailShown = 38;

// The menus' pad buttons, as the game's own layout has them.
constexpr UINT kConfirmButton = JOY_BUTTON1;
constexpr UINT kBackButton = JOY_BUTTON2;

// Why a file cannot be watched, in the few letters its line has room for.
const char* ShortFault(ReplayCheck check)
{
    switch (check) {
    case ReplayCheck::Playable: return "";
    case ReplayCheck::Unreadable: return "UNREADABLE";
    case ReplayCheck::TooLarge: return "TOO LARGE";
    case ReplayCheck::Damaged: return "DAMAGED";
    case ReplayCheck::OtherArchive: return "OTHER ARCHIVE";
    }
    return "";
}

// The day the run was played, on the player's calendar.
std::string DayOf(uint64_t date)
{
    if (date == 0)
        return "";
    const auto seconds = static_cast<std::time_t>(date);
    std::tm day = {};
#ifdef _WIN32
    if (localtime_s(&day, &seconds) != 0)
        return "";
#else
    if (!localtime_r(&seconds, &day))
        return "";
#endif
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &day);
    return text;
}

// A name too long for its place keeps its start and shows it was cut.
std::string Fitted(const std::string& text, size_t room)
{
    return text.size() <= room ? text : text.substr(0, room - 1) + "~";
}

// Every file listed is a replay: its name is shown without ".krp".
std::string Shown(const std::string& name)
{
    return name.substr(0, name.size() - 4);
}

}  // namespace

ReplaysScene::ReplaysScene(std::string chosen, std::string note)
    : note(std::move(note)), chosenPath(std::move(chosen))
{
}

ReplaysScene::~ReplaysScene()
{
    delete backdrop;
}

void ReplaysScene::Init(GameApp* app, Surface* canvas, JoystickInfo* joystick)
{
    Scene::Init(app, canvas, joystick);
    backdrop = menu::LoadBackdrop(app->window);
    list = ListReplays(playerFolder);
    const auto& entries = list.entries;
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [this](const ReplayEntry& e) { return e.path == chosenPath; });
    if (found != entries.end()) {
        chosen = static_cast<int>(found - entries.begin());
        firstShown = std::max(0, chosen - kRowsShown + 1);
    }
    CaptureJoystick();
}

void ReplaysScene::OnKeyPress(int vk)
{
    switch (vk) {
    case VK_UP: Move(-1); break;
    case VK_DOWN: Move(1); break;
    case VK_RETURN:
    case VK_SPACE: Confirm(); break;
    case VK_ESCAPE:
    case VK_BACK: Back(); break;
    }
}

void ReplaysScene::OnJoyButtonDown(UINT buttons)
{
    const UINT pressed = buttons & ~heldButtons;
    heldButtons = buttons;
    if (pressed & kConfirmButton)
        Confirm();
    else if (pressed & kBackButton)
        Back();
}

void ReplaysScene::OnJoyButtonUp(UINT buttons)
{
    heldButtons = buttons;
}

// A push past the dead zone counts once, until the stick comes back.
void ReplaysScene::OnJoyMove(uint32_t position)
{
    const UINT y = position >> 16;
    const JOYCAPSA& caps = joystick->caps;
    const UINT zone = JoystickInfo::kDeadZone;
    const int newY = y < caps.wYmin + zone ? -1 : y > caps.wYmax - zone ? 1 : 0;
    if (newY != stickY && newY != 0)
        Move(newY);
    stickY = newY;
}

void ReplaysScene::Move(int step)
{
    const int count = static_cast<int>(list.entries.size());
    if (count == 0)
        return;
    chosen = (chosen + step % count + count) % count;
    firstShown = std::clamp(firstShown, chosen - kRowsShown + 1, chosen);
    note.clear();
    soundSystem->Play(kSoundSelect);
}

void ReplaysScene::Confirm()
{
    if (list.entries.empty())
        return;
    const ReplayEntry& entry = list.entries[static_cast<size_t>(chosen)];
    if (entry.check != ReplayCheck::Playable) {
        note = "THIS ONE CANNOT BE WATCHED";
        return;
    }
    watchChosen = true;
}

void ReplaysScene::Back()
{
    ReleaseJoystick();
    SwitchTo(new TitleScene(TitleScene::kMenu));
}

void ReplaysScene::Frame()
{
    if (watchChosen && !finished) {
        watchChosen = false;
        std::string error;
        ReleaseJoystick();
        if (WatchInGame(list.entries[static_cast<size_t>(chosen)].path, error))
            return;  // this scene goes once the frame is drawn
        CaptureJoystick();
        note = error;  // the file changed since it was listed
    }
    CopyPicture(*backdrop, *canvas);
    menu::Caption(*canvas, "REPLAYS");
    if (list.entries.empty()) {
        Text(*canvas, kNameX, 80, "NO REPLAYS YET.", kWhite);
        Text(*canvas, kNameX, 112, "EVERY RUN YOU PLAY IS KEPT HERE,", kGrey);
        Text(*canvas, kNameX, 128, "AND .krp FILES PUT IN THE", kGrey);
        Text(*canvas, kNameX, 144, "replays FOLDER SHOW HERE TOO.", kGrey);
        return;
    }
    const int count = static_cast<int>(list.entries.size());
    for (int row = 0; row < kRowsShown && firstShown + row < count; row++)
        DrawEntry(firstShown + row, kListRow + row * kLineHeight);
    DrawDetail();
}

void ReplaysScene::DrawEntry(int index, int row)
{
    const ReplayEntry& entry = list.entries[static_cast<size_t>(index)];
    const bool isChosen = index == chosen;
    if (isChosen)
        Text(*canvas, kNameX - kGlyphWidth, row, ">", kYellow);
    Text(*canvas, kNameX, row, Fitted(Shown(entry.name), kNameShown), isChosen ? kYellow : kWhite);
    if (entry.check != ReplayCheck::Playable) {
        Text(*canvas, kLengthX, row, ShortFault(entry.check), kCoral);
        return;
    }
    const COLORREF colour = isChosen ? kYellow : kGrey;
    Text(*canvas, kLengthX, row, entry.gameLength == 0 ? "1 MIN" : "5 MIN", colour);
    const std::string score = std::to_string(entry.score);
    Text(*canvas, kScoreRight - static_cast<int>(score.size()) * kGlyphWidth, row, score, colour);
    Text(*canvas, kDateX, row, DayOf(entry.date), colour);
}

// Under the list: the note, else why the chosen file cannot be watched, over two lines.
void ReplaysScene::DrawDetail()
{
    const ReplayEntry& entry = list.entries[static_cast<size_t>(chosen)];
    std::string detail = note;
    COLORREF colour = kCyan;
    if (detail.empty() && entry.check != ReplayCheck::Playable) {
        detail = entry.fault;
        colour = kCoral;
    } else if (detail.empty() && Shown(entry.name).size() > kNameShown) {
        detail = entry.name;
    } else if (detail.empty() && list.cut) {
        char text[48];
        std::snprintf(text, sizeof text, "THE FIRST %zu FILES ARE LISTED", list.entries.size());
        detail = text;
    }
    // Broken at the last space that fits, so that no word is cut in two.
    size_t first = detail.size() <= kDetailShown ? detail.size() : detail.rfind(' ', kDetailShown);
    if (first == std::string::npos || first == 0)
        first = kDetailShown;
    Text(*canvas, kNameX, kDetailRow, detail.substr(0, first), colour);
    if (first < detail.size()) {
        const size_t rest = detail.find_first_not_of(' ', first);
        if (rest != std::string::npos)
            Text(*canvas, kNameX, kDetailRow + kLineHeight,
                 Fitted(detail.substr(rest), kDetailShown), colour);
    }
}

void ReplaysScene::DrawOverShown(Surface& shown)
{
    if (finished)
        return;
    char hint[96];
    std::snprintf(hint, sizeof hint, "UP/DOWN CHOOSE   RETURN/PAD %s WATCH   ESC/PAD %s BACK",
                  PadButtonName(settings.pad.buttons[int(PadAction::Shoot)]),
                  PadButtonName(settings.pad.buttons[int(PadAction::Bomb)]));
    GameApp::DrawShownText(shown, 8, shown.height - 20, hint);
}
