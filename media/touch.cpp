// The touch screen's twin sticks (see touch.h). Fingers come as SDL's touch events,
// their places as fractions of the window; a stick's offset is measured in the window's
// size units so its dead zone is the same distance across and down.
// Depends on SDL2's touch and window events and media/stick.cpp.
#include "media/touch.h"

#include <cmath>

#include "media/scan_codes.h"

namespace {

constexpr double kDeadZone = 16;  // window units (about 11 CSS pixels on a phone's page)
constexpr int32_t kPictureW = 800, kPictureH = 600;  // the units when the window is unknown

struct Finger {
    bool held = false;
    SDL_TouchID touch = 0;   // the device...
    SDL_FingerID id = 0;     // ...and the finger that owns the stick
    float originX = 0, originY = 0, x = 0, y = 0;  // fractions of the window
    int32_t width = kPictureW, height = kPictureH;  // the window's size when it landed
};

struct TouchContext {
    Finger sticks[2];    // by TouchStickKind: move, aim
    bool tapped = false; // a finger landed since the last keyboard examination
};

TouchContext g_touch;

Finger* Owner(const SDL_TouchFingerEvent& f) {
    for (Finger& s : g_touch.sticks)
        if (s.held && s.touch == f.touchId && s.id == f.fingerId) return &s;
    return nullptr;
}

void Land(const SDL_TouchFingerEvent& f) {
    g_touch.tapped = true;
    Finger& s = g_touch.sticks[f.x < 0.5f ? 0 : 1];
    if (s.held) return;
    s = Finger{true, f.touchId, f.fingerId, f.x, f.y, f.x, f.y};
    if (SDL_Window* window = SDL_GetWindowFromID(f.windowID)) SDL_GetWindowSize(window, &s.width, &s.height);
}

// The stick's offset in window units, or false within the dead zone.
bool Offset(const Finger& s, double* x, double* y) {
    *x = (s.x - s.originX) * static_cast<double>(s.width);
    *y = (s.y - s.originY) * static_cast<double>(s.height);
    return s.held && std::hypot(*x, *y) >= kDeadZone;
}

}  // namespace

void TouchHandleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_FINGERDOWN:
            Land(event.tfinger);
            break;
        case SDL_FINGERMOTION:
            if (Finger* s = Owner(event.tfinger)) s->x = event.tfinger.x, s->y = event.tfinger.y;
            break;
        case SDL_FINGERUP:
            if (Finger* s = Owner(event.tfinger)) *s = Finger{};
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST || event.window.event == SDL_WINDOWEVENT_HIDDEN ||
                event.window.event == SDL_WINDOWEVENT_MINIMIZED)
                TouchReleaseAll();
            break;
        default:
            break;
    }
}

void TouchReleaseAll() { g_touch = TouchContext{}; }

void TouchHoldKeys(uint8_t* keys, uint8_t down) {
    double x = 0, y = 0;
    if (Offset(g_touch.sticks[0], &x, &y)) StickHoldKeys(x, y, keys, down);
    if (g_touch.tapped) keys[ScanCodeFromSdl(SDL_SCANCODE_SPACE)] = down;
    g_touch.tapped = false;
}

void TouchMouseShare(StickMouse* m) {
    double x = 0, y = 0;
    if (!Offset(g_touch.sticks[1], &x, &y)) return;
    StickAim(x, y, m);
    m->buttons[0] = 1;
}

TouchStick TouchStickState(TouchStickKind kind) {
    const Finger& s = g_touch.sticks[kind == TouchStickKind::Move ? 0 : 1];
    return {s.held, s.originX, s.originY, s.x, s.y};
}
