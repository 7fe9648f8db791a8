// The gamepad as keys, buttons and mouse movement. Sticks and triggers are read from
// SDL's controller state at each examination; button presses also come from the events,
// latched like the keyboard's, so a tap between two frames still counts once.
// Sticks have a radial dead zone of a quarter of their travel, so a resting stick that
// drifts does nothing. Keys have no strength: the left stick past the dead zone holds the
// keys of the nearest of eight directions, and the thrust is what those keys give.
// The right stick aims through the shared stick aim (stick.h), as the touch screen does.
// SDL's game-controller subsystem starts after the first frame is shown, not with the
// keyboard and mouse: its start enumerates the devices and reads a database, which would
// delay the first picture. A pad plugged in before is found then and drives from the
// second frame, the first the player can answer.
// Limits: one pad drives, the first taken; the others wait until it is pulled out. Back
// is timed at the keyboard examinations, so it quits at the first frame past half a second.
// Depends on SDL2's game-controller API, media/stick.cpp and runtime/clock.h.
#include "media/gamepad.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>

#include "media/scan_codes.h"
#include "media/stick.h"
#include "runtime/clock.h"

namespace {

constexpr double kDeadZone = 32768 / 4;            // of a stick's travel, radially
constexpr int32_t kTriggerPress = 32768 / 2;       // triggers press past one half...
constexpr int32_t kTriggerRelease = 32768 / 4;     // ...and release below one quarter
constexpr uint32_t kQuitHoldMs = 500;              // Back must be held this long
struct GamepadContext {
    int32_t users = 0;                   // GamepadInit calls not yet ended
    bool started = false;                // GamepadStart has tried SDL's game controllers
    bool available = false;              // ...and they are initialised
    SDL_GameController* pad = nullptr;   // the pad that drives; null: none
    SDL_JoystickID padId = -1;           // its instance id, to know its removal
    uint32_t latched = 0;                // buttons pressed since examined, bit per button
    bool fireTrigger = false;            // right trigger reads pressed
    bool reverseTrigger = false;         // left trigger reads pressed
    bool backDown = false;               // Back was down at the last keyboard examination
    uint32_t backSince = 0;              // ...since this clock reading
    uint32_t (*nowMs)() = nullptr;       // the clock for Back; null: TickMs
    bool driverLost = false;             // the pad that drove was pulled out, not yet taken
};

GamepadContext g_pad;

// The whole state of one pad goes with it: nothing it held stays held.
void ForgetPad() {
    if (g_pad.pad) SDL_GameControllerClose(g_pad.pad);
    g_pad.pad = nullptr;
    g_pad.padId = -1;
    g_pad.latched = 0;
    g_pad.fireTrigger = g_pad.reverseTrigger = g_pad.backDown = false;
}

// Takes the device at `index` unless a pad already drives.
void TakePad(int index) {
    if (g_pad.pad || !SDL_IsGameController(index)) return;
    g_pad.pad = SDL_GameControllerOpen(index);
    if (!g_pad.pad) {
        std::fprintf(stderr, "gamepad: %s\n", SDL_GetError());
        return;
    }
    g_pad.padId = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(g_pad.pad));
}

void TakeFirstPad() {
    for (int i = 0; i < SDL_NumJoysticks() && !g_pad.pad; ++i) TakePad(i);
}

bool Held(SDL_GameControllerButton button) {
    const bool latched = (g_pad.latched >> button) & 1u;
    return latched || SDL_GameControllerGetButton(g_pad.pad, button) != 0;
}

void Unlatch(std::initializer_list<SDL_GameControllerButton> buttons) {
    for (SDL_GameControllerButton b : buttons) g_pad.latched &= ~(1u << b);
}

struct Stick {
    double x = 0, y = 0;  // -32768 to 32767, y down
    bool live = false;  // past the dead zone
};

Stick ReadStick(SDL_GameControllerAxis xAxis, SDL_GameControllerAxis yAxis) {
    Stick s;
    s.x = SDL_GameControllerGetAxis(g_pad.pad, xAxis);
    s.y = SDL_GameControllerGetAxis(g_pad.pad, yAxis);
    s.live = std::hypot(s.x, s.y) >= kDeadZone;
    return s;
}

// A trigger with hysteresis, so one resting near a threshold does not chatter.
bool ReadTrigger(SDL_GameControllerAxis axis, bool* pressed) {
    const int32_t v = SDL_GameControllerGetAxis(g_pad.pad, axis);
    if (v > kTriggerPress) *pressed = true;
    if (v < kTriggerRelease) *pressed = false;
    return *pressed;
}

uint32_t Now() { return g_pad.nowMs ? g_pad.nowMs() : TickMs(); }

// Back reads as Escape only once held half a second: a stray press must not end the game.
bool QuitHeld() {
    if (!SDL_GameControllerGetButton(g_pad.pad, SDL_CONTROLLER_BUTTON_BACK)) {
        g_pad.backDown = false;
        return false;
    }
    if (!g_pad.backDown) g_pad.backDown = true, g_pad.backSince = Now();
    return Now() - g_pad.backSince >= kQuitHoldMs;
}

}  // namespace

void GamepadInit() { ++g_pad.users; }

void GamepadStart() {
    if (g_pad.users == 0 || g_pad.started) return;
    g_pad.started = true;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "gamepad: none can be used (%s)\n", SDL_GetError());
        return;
    }
    g_pad.available = true;
    TakeFirstPad();
}

void GamepadEnd() {
    if (g_pad.users == 0 || --g_pad.users > 0) return;
    ForgetPad();
    if (g_pad.available) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    g_pad = GamepadContext{};
}

bool GamepadTakeDriverLost() {
    const bool lost = g_pad.driverLost;
    g_pad.driverLost = false;
    return lost;
}

void GamepadHandleEvent(const SDL_Event& event) {
    if (!g_pad.available) return;
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            TakePad(event.cdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            if (event.cdevice.which != g_pad.padId) break;
            ForgetPad();
            g_pad.driverLost = true;
            TakeFirstPad();  // the next pad still plugged in drives
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            if (g_pad.pad && event.cbutton.which == g_pad.padId && event.cbutton.button < 32)
                g_pad.latched |= 1u << event.cbutton.button;
            break;
        default:
            break;
    }
}

void GamepadHoldKeys(uint8_t* keys, uint8_t down) {
    if (!g_pad.pad) return;
    const auto hold = [&](SDL_Scancode key) { keys[ScanCodeFromSdl(key)] = down; };
    const Stick s = ReadStick(SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY);
    if (s.live) StickHoldKeys(s.x, s.y, keys, down);
    if (Held(SDL_CONTROLLER_BUTTON_A) || Held(SDL_CONTROLLER_BUTTON_START)) hold(SDL_SCANCODE_SPACE);
    if (QuitHeld()) hold(SDL_SCANCODE_ESCAPE);
    Unlatch({SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_START});
}

void GamepadMouseShare(StickMouse* m) {
    if (!g_pad.pad) return;
    const Stick aim = ReadStick(SDL_CONTROLLER_AXIS_RIGHTX, SDL_CONTROLLER_AXIS_RIGHTY);
    if (aim.live) StickAim(aim.x, aim.y, m);
    const bool fire = ReadTrigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, &g_pad.fireTrigger);
    if (fire || Held(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER)) m->buttons[0] = 1;
    if (ReadTrigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, &g_pad.reverseTrigger)) m->buttons[1] = 1;
    Unlatch({SDL_CONTROLLER_BUTTON_RIGHTSHOULDER});
}

void GamepadDropPresses() { g_pad.latched = 0; }

void GamepadSetClock(uint32_t (*nowMs)()) { g_pad.nowMs = nowMs; }

