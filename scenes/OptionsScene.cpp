#include "scenes/OptionsScene.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "app/GameApp.h"
#include "app/Settings.h"
#include "gfx/Surface.h"
#include "platform/JoystickInfo.h"
#include "platform/PadLayout.h"
#include "scenes/MenuPage.h"
#include "scenes/ScenePicture.h"
#include "scenes/TitleScene.h"
#include "sound/SoundSystem.h"

namespace {

constexpr int kEntryCount = static_cast<int>(OptionsScene::Entry::Count);
constexpr int kFirstKey = static_cast<int>(OptionsScene::Entry::FirstKey);
constexpr int kFirstPadButton = static_cast<int>(OptionsScene::Entry::FirstPadButton);

using menu::kCoral;
using menu::kCyan;
using menu::kGlyphWidth;
using menu::kGrey;
using menu::kLineHeight;
using menu::kWhite;
using menu::kYellow;
using menu::Text;

// Text rows count down from the top.
constexpr int kListRow = 24;
constexpr int kRowsShown = 10;
constexpr int kNoteRow = kListRow + kRowsShown * kLineHeight + 4;
constexpr int kPadRow = kNoteRow + kLineHeight;
constexpr int kLabelX = 16;
constexpr int kValueX = 144;
constexpr int kSecondKeyX = 232;

constexpr const char* kLabels[kEntryCount] = {
    "MUSIC VOLUME", "EFFECTS VOLUME", "WINDOW SCALE", "FULL SCREEN", "UP",
    "DOWN",         "LEFT",           "RIGHT",        "SHOOT",       "BOMB",
    "SLOW",         "PAUSE",          "PAD SHOOT",    "PAD BOMB",    "PAD SLOW",
    "PAD PAUSE",    "NAME",           "SHOW HIT BOX", "CALMER BOMB", "RESET TO DEFAULTS",
    "BACK",
};

// What a pad steps through when it spells a name.
constexpr std::string_view kNameCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 -_.";

// The menus' pad buttons, as the game's own layout has them (readings are rearranged).
constexpr UINT kConfirmButton = JOY_BUTTON1;
constexpr UINT kBackButton = JOY_BUTTON2;

const char* YesNo(bool on)
{
    return on ? "ON" : "OFF";
}

std::string KeyName(int vk)
{
    return vk ? KeyNameFromVirtualKey(vk) : "-";
}

// The character a key types, with Shift for capitals and '_'; 0 for none.
char TypedCharacter(int vk, bool shift)
{
    if (vk >= 'A' && vk <= 'Z')
        return static_cast<char>(shift ? vk : vk - 'A' + 'a');
    if (vk >= '0' && vk <= '9' && !shift)
        return static_cast<char>(vk);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return static_cast<char>('0' + vk - VK_NUMPAD0);
    if (vk == VK_SPACE)
        return ' ';
    if (vk == VK_OEM_MINUS)
        return shift ? '_' : '-';
    if (vk == VK_OEM_PERIOD)
        return '.';
    return 0;
}

}  // namespace

OptionsScene::~OptionsScene()
{
    delete backdrop;
    if (app)
        app->typing = false;
    platform::ReadPadUnarranged(false);
}

void OptionsScene::Init(GameApp* app, Surface* canvas, JoystickInfo* joystick)
{
    Scene::Init(app, canvas, joystick);
    backdrop = menu::LoadBackdrop(app->window);
    // A file the game could not read whole is only replaced when the player says so.
    if (settingsFile && !settingsFile->readWhole())
        mode = Mode::AskReplace;
    CaptureJoystick();
}

void OptionsScene::OnKeyPress(int vk)
{
    switch (mode) {
    case Mode::AskReplace:
        if (vk == 'Y' || vk == VK_RETURN)
            Answer(true);
        else if (vk == 'N' || vk == VK_ESCAPE)
            Answer(false);
        return;
    case Mode::AwaitKey: BindKey(vk); return;
    case Mode::AwaitButton:
        if (vk == VK_ESCAPE) {
            platform::ReadPadUnarranged(false);
            mode = Mode::Browse;
        }
        return;
    case Mode::TypeName: Typed(vk); return;
    case Mode::Browse: break;
    }
    switch (vk) {
    case VK_UP: Move(-1); break;
    case VK_DOWN: Move(1); break;
    case VK_LEFT: Change(-1); break;
    case VK_RIGHT: Change(1); break;
    case VK_RETURN:
    case VK_SPACE: Confirm(); break;
    case VK_ESCAPE:
    case VK_BACK: Back(); break;
    }
}

void OptionsScene::OnJoyButtonDown(UINT buttons)
{
    const UINT pressed = buttons & ~heldButtons;
    heldButtons = buttons;
    switch (mode) {
    case Mode::AskReplace:
        if (pressed & kConfirmButton)
            Answer(true);
        else if (pressed & kBackButton)
            Answer(false);
        return;
    case Mode::AwaitButton: BindButton(pressed); return;
    case Mode::AwaitKey: return;
    case Mode::TypeName:
        if (pressed & kConfirmButton)
            Typed(VK_RETURN);
        else if (pressed & kBackButton)
            Typed(VK_ESCAPE);
        return;
    case Mode::Browse: break;
    }
    if (pressed & kConfirmButton)
        Confirm();
    else if (pressed & kBackButton)
        Back();
}

void OptionsScene::OnJoyButtonUp(UINT buttons)
{
    heldButtons = buttons;
}

// A push past the dead zone counts once, until the stick comes back.
void OptionsScene::OnJoyMove(uint32_t position)
{
    const UINT x = position & 0xFFFF;
    const UINT y = position >> 16;
    const JOYCAPSA& caps = joystick->caps;
    const UINT zone = JoystickInfo::kDeadZone;
    const int newX = x < caps.wXmin + zone ? -1 : x > caps.wXmax - zone ? 1 : 0;
    const int newY = y < caps.wYmin + zone ? -1 : y > caps.wYmax - zone ? 1 : 0;
    const int pushedX = newX != stickX ? newX : 0;
    const int pushedY = newY != stickY ? newY : 0;
    stickX = newX;
    stickY = newY;
    if (mode == Mode::TypeName) {
        if (pushedY)
            PadTyped(pushedY);
        else if (pushedX > 0 && name.size() < kLongestPlayerName)
            name += kNameCharacters[0];  // a new place, spelt from the first character on
        else if (pushedX < 0)
            Typed(VK_BACK);
        return;
    }
    if (mode != Mode::Browse)
        return;
    if (pushedY)
        Move(pushedY);
    else if (pushedX)
        Change(pushedX);
}

void OptionsScene::Move(int step)
{
    const int index = (static_cast<int>(entry) + step + kEntryCount) % kEntryCount;
    entry = static_cast<Entry>(index);
    firstShown = std::clamp(firstShown, index - kRowsShown + 1, index);
    note.clear();
    soundSystem->Play(kSoundSelect);
}

void OptionsScene::Change(int step)
{
    const int index = static_cast<int>(entry);
    if (index >= kFirstKey && index < kFirstPadButton) {
        keySlot = step < 0 ? 0 : 1;
        return;
    }
    if (index >= kFirstPadButton && index < kFirstPadButton + kPadActionCount) {
        const auto action = static_cast<PadAction>(index - kFirstPadButton);
        const int button = settings.pad.buttons[index - kFirstPadButton];
        settings.pad.Assign(action, (button + step + kPadButtonCount) % kPadButtonCount);
        Commit();
        return;
    }
    switch (entry) {
    case Entry::MusicVolume:
        settings.musicVolume = std::clamp(settings.musicVolume + step, 0, kVolumeSteps);
        break;
    case Entry::EffectsVolume:
        settings.effectsVolume = std::clamp(settings.effectsVolume + step, 0, kVolumeSteps);
        break;
    case Entry::WindowScale:
        if (!app->windowed)
            return;  // full screen has its own scale
        settings.windowScale =
            std::clamp(GetWindowScale(app->window) + step, 1, GetLargestWindowScale(app->window));
        break;
    case Entry::FullScreen:
    case Entry::ShowHitBox:
    case Entry::CalmBomb: Confirm(); return;
    default: return;
    }
    Commit();
    if (entry == Entry::EffectsVolume)
        soundSystem->Play(kSoundSelect);  // heard at the new level
}

void OptionsScene::Confirm()
{
    const int index = static_cast<int>(entry);
    if (index >= kFirstKey && index < kFirstPadButton) {
        mode = Mode::AwaitKey;
        return;
    }
    if (index >= kFirstPadButton && index < kFirstPadButton + kPadActionCount) {
        // The pad's buttons as they are, so the one pressed is the one bound.
        platform::ReadPadUnarranged(true);
        mode = Mode::AwaitButton;
        return;
    }
    switch (entry) {
    case Entry::FullScreen: settings.fullScreen = !settings.fullScreen; break;
    case Entry::ShowHitBox: settings.showHitBox = !settings.showHitBox; break;
    case Entry::CalmBomb: settings.calmBomb = !settings.calmBomb; break;
    case Entry::PlayerName:
        name = settings.playerName;
        app->typing = true;
        mode = Mode::TypeName;
        return;
    case Entry::Reset: {
        // The master volume and muting are the - = and M keys' own; they stay.
        const Settings kept = settings;
        settings = Settings();
        settings.volume = kept.volume;
        settings.muted = kept.muted;
        note = "EVERYTHING IS AS THE GAME CAME";
        break;
    }
    case Entry::Back: Back(); return;
    default: return;
    }
    Commit();
}

void OptionsScene::Back()
{
    ReleaseJoystick();
    SwitchTo(new TitleScene(TitleScene::kMenu));
}

void OptionsScene::Answer(bool replace)
{
    if (replace)
        settingsFile->AllowReplacing();
    else
        note = "CHANGES HOLD FOR THIS GAME ONLY";
    mode = Mode::Browse;
}

void OptionsScene::BindKey(int vk)
{
    mode = Mode::Browse;
    if (vk == VK_ESCAPE)
        return;  // cancelled: the key stays as it was
    if (ReservedKey(vk)) {
        note = std::string(KeyName(vk)) + " IS THE GAME'S OWN KEY";
        return;
    }
    const int action = static_cast<int>(entry) - kFirstKey;
    int* own = &settings.keys.keys[action][keySlot];
    const Action holder = settings.keys.ActionOf(vk);
    note.clear();
    if (holder != Action::Count && static_cast<int>(holder) != action) {
        // The other action gets this place's key in exchange, so no action is left keyless.
        int* theirs = std::find(std::begin(settings.keys.keys[int(holder)]),
                                std::end(settings.keys.keys[int(holder)]), vk);
        *theirs = *own;
        note = std::string(KeyName(vk)) + " SWAPPED: " + kLabels[kFirstKey + int(holder)] +
               " NOW " + KeyName(*own);
        if (*own == 0) {
            // Nothing to give back: the action keeps its other key in the first place.
            int* keys = settings.keys.keys[int(holder)];
            std::stable_partition(keys, keys + kKeysPerAction, [](int k) { return k != 0; });
            if (keys[0] == 0) {
                keys[0] = vk;
                note = std::string(kLabels[kFirstKey + int(holder)]) + " NEEDS " + KeyName(vk);
                return;
            }
        }
    } else if (holder != Action::Count) {
        // Already this action's other key: the two places change over.
        int* other = &settings.keys.keys[action][1 - keySlot];
        if (*other == vk)
            *other = *own;
    }
    *own = vk;
    Commit();
}

void OptionsScene::BindButton(UINT pressed)
{
    const int button = PadButtonOf(pressed);
    if (button < 0)
        return;
    platform::ReadPadUnarranged(false);
    mode = Mode::Browse;
    const auto action = static_cast<PadAction>(static_cast<int>(entry) - kFirstPadButton);
    settings.pad.Assign(action, button);
    heldButtons = 0xFFFF;  // the button that bound is no confirm press when it comes up
    Commit();
}

// Keys spell the name; Return keeps it when the ranking would take it, Esc leaves it as it was.
void OptionsScene::Typed(int vk)
{
    if (vk == VK_ESCAPE || vk == VK_RETURN) {
        const std::string accepted = PlayerNameFrom(name).value_or("");
        if (vk == VK_RETURN && accepted.empty()) {
            note = "A NAME HAS 1 TO 16 CHARACTERS";
            return;
        }
        if (vk == VK_RETURN) {
            settings.playerName = accepted;
            Commit();
        }
        app->typing = false;
        mode = Mode::Browse;
        return;
    }
    if (vk == VK_BACK) {
        if (!name.empty())
            name.pop_back();
        return;
    }
    const char c = TypedCharacter(vk, (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0);
    if (c && name.size() < kLongestPlayerName)
        name += c;
}

void OptionsScene::PadTyped(int step)
{
    if (name.empty())
        name += kNameCharacters[0];
    const size_t at = kNameCharacters.find(name.back());
    const int count = static_cast<int>(kNameCharacters.size());
    const int next =
        (static_cast<int>(at == std::string_view::npos ? 0 : at) - step + count) % count;
    name.back() = kNameCharacters[static_cast<size_t>(next)];
}

void OptionsScene::Commit()
{
    app->ApplyVolume();
    platform::SetPadLayout(settings.pad);
    if (app->windowed && settings.windowScale != GetWindowScale(app->window))
        SetWindowScale(app->window, settings.windowScale);
    if (settings.fullScreen && app->windowed)
        app->EnterFullScreen();
    else if (!settings.fullScreen && !app->windowed)
        app->LeaveFullScreen();
    if (settingsFile)
        settingsFile->Save(settings);
}

void OptionsScene::Frame()
{
    CopyPicture(*backdrop, *canvas);
    menu::Caption(*canvas, "OPTIONS");
    if (mode == Mode::AskReplace) {
        Text(*canvas, 16, 80, "SETTINGS.INI HAS LINES THE", kCoral);
        Text(*canvas, 16, 96, "GAME CANNOT READ.", kCoral);
        Text(*canvas, 16, 128, "SAVING REPLACES THEM.", kWhite);
        Text(*canvas, 16, 144, "SAVE YOUR CHANGES?", kWhite);
        char answers[40];
        std::snprintf(answers, sizeof answers, "Y / PAD %s: YES   N / PAD %s: NO",
                      PadButtonName(settings.pad.buttons[int(PadAction::Shoot)]),
                      PadButtonName(settings.pad.buttons[int(PadAction::Bomb)]));
        Text(*canvas, 16, 176, answers, kYellow);
        return;
    }
    for (int row = 0; row < kRowsShown && firstShown + row < kEntryCount; row++)
        DrawEntry(firstShown + row, kListRow + row * kLineHeight);
    if (!note.empty())
        Text(*canvas, kLabelX, kNoteRow, note, kCyan);
    DrawPad(kPadRow);
}

void OptionsScene::DrawEntry(int index, int row)
{
    const bool chosen = index == static_cast<int>(entry);
    const COLORREF colour = chosen ? kYellow : kWhite;
    if (chosen)
        Text(*canvas, kLabelX - kGlyphWidth, row, ">", kYellow);
    Text(*canvas, kLabelX, row, kLabels[index], colour);
    char value[40] = "";
    const auto current = static_cast<Entry>(index);
    if (index >= kFirstKey && index < kFirstPadButton) {
        const int* keys = settings.keys.keys[index - kFirstKey];
        for (int slot = 0; slot < kKeysPerAction; slot++) {
            const bool waiting = chosen && slot == keySlot && mode == Mode::AwaitKey;
            const std::string shown = waiting ? "PRESS A KEY" : KeyName(keys[slot]);
            const COLORREF slotColour = chosen && slot == keySlot ? kYellow : kGrey;
            Text(*canvas, slot == 0 ? kValueX : kSecondKeyX, row, shown, slotColour);
        }
        return;
    }
    if (index >= kFirstPadButton && index < kFirstPadButton + kPadActionCount) {
        if (chosen && mode == Mode::AwaitButton)
            std::snprintf(value, sizeof value, "PRESS A BUTTON");
        else
            std::snprintf(value, sizeof value, "BUTTON %s",
                          PadButtonName(settings.pad.buttons[index - kFirstPadButton]));
    } else {
        switch (current) {
        case Entry::MusicVolume:
            std::snprintf(value, sizeof value, "%d", settings.musicVolume);
            break;
        case Entry::EffectsVolume:
            std::snprintf(value, sizeof value, "%d", settings.effectsVolume);
            break;
        case Entry::WindowScale:
            std::snprintf(value, sizeof value, "%d", std::max(1, GetWindowScale(app->window)));
            break;
        case Entry::FullScreen:
            std::snprintf(value, sizeof value, "%s", YesNo(!app->windowed));
            break;
        case Entry::PlayerName: {
            const bool typing = chosen && mode == Mode::TypeName;
            std::snprintf(value, sizeof value, "%s%s",
                          typing ? name.c_str() : settings.playerName.c_str(), typing ? "_" : "");
            break;
        }
        case Entry::ShowHitBox:
            std::snprintf(value, sizeof value, "%s", YesNo(settings.showHitBox));
            break;
        case Entry::CalmBomb:
            std::snprintf(value, sizeof value, "%s", YesNo(settings.calmBomb));
            break;
        default: break;
        }
    }
    Text(*canvas, kValueX, row, value, chosen ? kYellow : kGrey);
}

// The pad as it reads now, so a player can see it works: the stick's or d-pad's directions and
// the buttons held.
void OptionsScene::DrawPad(int row)
{
    JOYINFO reading = {};
    if (journal::ReadPad(reading) != JOYERR_NOERROR) {
        Text(*canvas, kLabelX, row, "PAD: NONE", kGrey);
        return;
    }
    const UINT zone = JoystickInfo::kDeadZone;
    std::string shown = "PAD:";
    if (reading.wYpos < zone)
        shown += " UP";
    if (reading.wYpos > 65535 - zone)
        shown += " DOWN";
    if (reading.wXpos < zone)
        shown += " LEFT";
    if (reading.wXpos > 65535 - zone)
        shown += " RIGHT";
    for (int b = 0; b < kPadButtonCount; b++) {
        if (reading.wButtons & PadButtonBit(b))
            shown += std::string(" ") + PadButtonName(b);
    }
    Text(*canvas, kLabelX, row, shown, kCyan);
}

void OptionsScene::DrawOverShown(Surface& shown)
{
    // The pad confirms with the shooting button and goes back with the bombing one.
    const char* confirm = PadButtonName(settings.pad.buttons[int(PadAction::Shoot)]);
    const char* back = PadButtonName(settings.pad.buttons[int(PadAction::Bomb)]);
    char hint[96] = "";
    if (mode == Mode::Browse)
        std::snprintf(hint, sizeof hint,
                      "UP/DOWN CHOOSE  LEFT/RIGHT CHANGE  RETURN/PAD %s OPEN  ESC/PAD %s BACK",
                      confirm, back);
    else if (mode == Mode::AwaitKey)
        std::snprintf(hint, sizeof hint, "PRESS THE NEW KEY   ESC: KEEP THE OLD ONE");
    else if (mode == Mode::AwaitButton)
        std::snprintf(hint, sizeof hint, "PRESS THE NEW BUTTON ON THE PAD   ESC: KEEP THE OLD ONE");
    else if (mode == Mode::TypeName)
        std::snprintf(hint, sizeof hint,
                      "TYPE, OR STICK UP/DOWN/RIGHT   RETURN/PAD %s KEEP   ESC/PAD %s UNDO",
                      confirm, back);
    GameApp::DrawShownText(shown, 8, shown.height - 20, hint);
}
