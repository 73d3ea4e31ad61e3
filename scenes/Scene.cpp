#include "scenes/Scene.h"

#include "app/GameApp.h"

Scene* currentScene = nullptr;
Scene* leavingScene = nullptr;

Scene::Scene() : startTime(journal::Clock())
{
}

Scene::~Scene() = default;

void Scene::Init(GameApp* app, Surface* canvas, JoystickInfo* joystick)
{
    this->app = app;
    this->canvas = canvas;
    this->joystick = joystick;
}

int Scene::Tick()
{
    if (!app)
        return 1;  // never initialised: nothing to draw into, nothing to show
    Frame();
    InvalidateRect(app->window, nullptr, FALSE);
    UpdateWindow(app->window);
    if (finished) {
        if (leavingScene == this)
            leavingScene = nullptr;
        delete this;  // its successor is current already; nothing of this scene is touched again
    }
    return 1;
}

void Scene::CaptureJoystick()
{
    joySetThreshold(JOYSTICKID1, JoystickInfo::kDeadZone);
    joySetCapture(app->window, JOYSTICKID1, 33, TRUE);
}

void Scene::ReleaseJoystick()
{
    joyReleaseCapture(JOYSTICKID1);
}

void Scene::SwitchTo(Scene* successor)
{
    HandOver(*this, successor);
}

void HandOver(Scene& from, Scene* successor)
{
    // A scene that handed over and was never ticked again (two hand-overs between frames, as
    // keys pressed quickly can make) is past its last frame: nothing else holds it.
    if (leavingScene != &from)
        delete leavingScene;
    successor->Init(from.app, from.canvas, from.joystick);
    currentScene = successor;
    from.finished = 1;
    leavingScene = &from;
}
