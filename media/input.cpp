// Keyboard and mouse on SDL2. Held keys and buttons come from SDL's own state arrays,
// which are current as of the last pump; presses come from the events, latched until
// the next examination, so a tap shorter than a frame still reads as down once. The
// events come from the one pump (events.cpp), which runs at every flip and whenever the
// game polls: the examinations only read what is latched.
// Movement is read once per examination from SDL's relative motion, unscaled.
// Losing the focus: no movement, every key and button reads as released (their releases
// go to the other window, so nothing held would ever come up), and the pointer is given
// back until the focus returns.
// The gamepad (gamepad.cpp) and the touch screen's sticks (touch.cpp) are merged into
// both examinations: their keys into the keyboard's snapshot, their buttons and aim into
// the mouse's (the pad's aim first).
// Depends on SDL2 video/events, media/scan_codes.cpp, media/gamepad.cpp, media/touch.cpp
// and media/stick.cpp; the events
// come in through input_events.h.
#include "media/input.h"

#include <algorithm>
#include <cstring>

#include "media/gamepad.h"
#include "media/input_events.h"
#include "media/scan_codes.h"
#include "media/stick.h"
#include "media/touch.h"

namespace {

constexpr int32_t kKeyCount = 256;
constexpr uint8_t kKeyIsDown = 0x80;
constexpr int32_t kButtonCount = 3;
constexpr int32_t kWheelLimit = 1 << 20;  // keeps a flood of wheel events from overflowing

struct KeyboardContext {
    bool initialised = false;
    bool focused = true;
    uint8_t snapshot[kKeyCount] = {};
    uint8_t pressed[kKeyCount] = {};  // key-down events since the last examination
};

struct MouseContext {
    bool initialised = false;
    bool focused = true;
    bool wasFocused = true;
    bool released = false;     // MouseRelease(1) until MouseRelease(0)
    bool captured = false;     // the pointer is ours
    bool relativeMode = false; // through SDL's relative mode
    bool cursorHidden = false; // without it: hidden and grabbed by us
    uint32_t grabbedWindow = 0;
    int32_t dx = 0, dy = 0, wheel = 0;
    uint8_t buttons[kButtonCount] = {};
    uint8_t pressed[kButtonCount] = {};
    int32_t pendingWheel = 0;
    bool buttonsHeldOff = false; // after a pause: buttons read as up until all are released
    int32_t sensitivity = kMouseSensitivityOne;  // of 256, on the device's movement
    int64_t carryX = 0, carryY = 0;  // the fractions of scaled movement not yet reported
};

struct ScriptContext {
    bool on = false;
    InputFrame frame;
};

KeyboardContext g_keyboard;
MouseContext g_mouse;
ScriptContext g_script;

// SDL numbers the buttons left, middle, right; the game left, right, middle.
int32_t ButtonIndex(uint8_t sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT: return 0;
        case SDL_BUTTON_RIGHT: return 1;
        case SDL_BUTTON_MIDDLE: return 2;
        default: return -1;
    }
}

void FollowFocus(const SDL_WindowEvent& e) {
    if (e.event != SDL_WINDOWEVENT_FOCUS_LOST && e.event != SDL_WINDOWEVENT_FOCUS_GAINED) return;
    const bool focused = e.event == SDL_WINDOWEVENT_FOCUS_GAINED;
    g_keyboard.focused = focused;
    g_mouse.focused = focused;
}

// --- pointer capture ---

void CapturePointer() {
    if (SDL_SetRelativeMouseMode(SDL_TRUE) == 0) {
        g_mouse.relativeMode = true;
    } else {
        // No relative mode here (a headless driver, for one): hide the pointer and hold
        // it in the focused window as far as the platform lets us; not fatal.
        SDL_ShowCursor(SDL_DISABLE);
        g_mouse.cursorHidden = true;
        SDL_Window* window = SDL_GetKeyboardFocus();
        if (!window) window = SDL_GetMouseFocus();
        if (window) {
            SDL_SetWindowGrab(window, SDL_TRUE);
            g_mouse.grabbedWindow = SDL_GetWindowID(window);
        }
    }
    g_mouse.captured = true;
    // Entering relative mode may warp the pointer; let that motion arrive before the
    // caller discards what has accumulated.
    SDL_PumpEvents();
}

void GivePointerBack() {
    if (!g_mouse.captured) return;
    if (g_mouse.relativeMode) SDL_SetRelativeMouseMode(SDL_FALSE);
    if (g_mouse.cursorHidden) SDL_ShowCursor(SDL_ENABLE);
    // By id: the window may already be gone at program end.
    if (SDL_Window* window = g_mouse.grabbedWindow ? SDL_GetWindowFromID(g_mouse.grabbedWindow) : nullptr)
        SDL_SetWindowGrab(window, SDL_FALSE);
    g_mouse.captured = g_mouse.relativeMode = g_mouse.cursorHidden = false;
    g_mouse.grabbedWindow = 0;
    SDL_GetRelativeMouseState(nullptr, nullptr);
}

int Sensitive(int moved, int64_t& carry) { return ScaleMouseMove(moved, g_mouse.sensitivity, &carry); }

// Drops movement, wheel and presses gathered while the game was not looking.
void DiscardPendingMouse() {
    SDL_GetRelativeMouseState(nullptr, nullptr);
    g_mouse.pendingWheel = 0;
    std::memset(g_mouse.pressed, 0, sizeof g_mouse.pressed);
}

}  // namespace

void InputHandleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
            // Auto-repeat is no new press.
            if (g_keyboard.initialised && event.key.repeat == 0) {
                if (int32_t code = ScanCodeFromSdl(event.key.keysym.scancode)) g_keyboard.pressed[code] = 1;
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (g_mouse.initialised) {
                if (int32_t i = ButtonIndex(event.button.button); i >= 0) g_mouse.pressed[i] = 1;
            }
            break;
        case SDL_MOUSEWHEEL:
            if (g_mouse.initialised) {
                int32_t notches = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
                g_mouse.pendingWheel = std::clamp(g_mouse.pendingWheel + std::clamp(notches, -kWheelLimit, kWheelLimit),
                                                  -kWheelLimit, kWheelLimit);
            }
            break;
        case SDL_WINDOWEVENT:
            FollowFocus(event.window);
            TouchHandleEvent(event);
            break;
        case SDL_FINGERDOWN:
        case SDL_FINGERMOTION:
        case SDL_FINGERUP:
            TouchHandleEvent(event);
            break;
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_CONTROLLERBUTTONDOWN:
            GamepadHandleEvent(event);
            break;
        default:
            break;
    }
}

void InputSetAimGeometry(const AimGeometry& aim) { StickSetAim(aim.headingLength, aim.limitX, aim.limitY); }

void InputFrameShown() {
    // Never while scripted: a replay reads no pad, and the headless runs start faster.
    if (!g_script.on) GamepadStart();
}

// --- keyboard ---

int32_t KeyboardInit() {
    if (g_keyboard.initialised) return 1;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 0;
    // The game types no text; an input method would only hold key presses back.
    SDL_StopTextInput();
    g_keyboard = KeyboardContext{};
    g_keyboard.initialised = true;
    GamepadInit();
    return 1;
}

int32_t KeyboardExamine() {
    if (g_script.on) {
        for (int32_t k = 0; k < kKeyCount; ++k) g_keyboard.snapshot[k] = g_script.frame.keys[k] ? kKeyIsDown : 0;
        return 1;
    }
    if (!g_keyboard.initialised) return 0;
    if (!g_keyboard.focused) {
        std::memset(g_keyboard.pressed, 0, sizeof g_keyboard.pressed);
        std::memset(g_keyboard.snapshot, 0, sizeof g_keyboard.snapshot);
        return 0;
    }
    int count = 0;
    const Uint8* held = SDL_GetKeyboardState(&count);
    uint8_t next[kKeyCount] = {};
    for (int i = 0; i < count; ++i) {
        if (!held[i]) continue;
        if (int32_t code = ScanCodeFromSdl(i)) next[code] = kKeyIsDown;
    }
    for (int32_t k = 0; k < kKeyCount; ++k)
        if (g_keyboard.pressed[k]) next[k] = kKeyIsDown;
    GamepadHoldKeys(next, kKeyIsDown);
    TouchHoldKeys(next, kKeyIsDown);
    std::memcpy(g_keyboard.snapshot, next, sizeof next);
    std::memset(g_keyboard.pressed, 0, sizeof g_keyboard.pressed);
    return 1;
}

int32_t KeyDown(int32_t key) {
    if (key == -1) {
        // Code 255 is not a key.
        for (int32_t k = 0; k < kKeyCount - 1; ++k)
            if (g_keyboard.snapshot[k] & kKeyIsDown) return 1;
        return 0;
    }
    if (key < 0 || key >= kKeyCount) return 0;
    return g_keyboard.snapshot[key] & kKeyIsDown;
}

void KeyboardEnd() {
    if (g_keyboard.initialised) {
        GamepadEnd();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    g_keyboard = KeyboardContext{};
}

// --- mouse ---

int32_t MouseInit() {
    if (g_mouse.initialised) return 1;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 0;
    // Raw device movement, whatever size the window has.
    SDL_SetHint(SDL_HINT_MOUSE_RELATIVE_SCALING, "0");
    // A finger is a touch stick, never a pointer jump and a press; a mouse never a finger.
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
    SDL_SetHint(SDL_HINT_MOUSE_TOUCH_EVENTS, "0");
    const int32_t sensitivity = g_mouse.sensitivity;  // a setting, kept
    g_mouse = MouseContext{};
    g_mouse.sensitivity = sensitivity;
    g_mouse.initialised = true;
    GamepadInit();
    return 1;
}

int32_t MouseExamine() {
    g_mouse.dx = g_mouse.dy = g_mouse.wheel = 0;
    if (g_script.on) {
        g_mouse.dx = g_script.frame.dx;
        g_mouse.dy = g_script.frame.dy;
        g_mouse.wheel = g_script.frame.wheel;
        for (int32_t b = 0; b < kButtonCount; ++b) g_mouse.buttons[b] = g_script.frame.buttons[b] ? 1 : 0;
        return 1;
    }
    if (!g_mouse.initialised) return 0;
    if (g_mouse.released || !g_mouse.focused) {
        // Released by the game, buttons keep what they read last; away, none is held.
        DiscardPendingMouse();
        if (!g_mouse.focused) {
            std::memset(g_mouse.buttons, 0, sizeof g_mouse.buttons);
            GivePointerBack();  // the player is in another window: the pointer is theirs
        }
        g_mouse.wasFocused = g_mouse.focused;
        return 0;
    }
    if (!g_mouse.captured || !g_mouse.wasFocused) {
        // Movement made while the pointer was not ours is no aim.
        if (!g_mouse.captured) CapturePointer();
        SDL_GetRelativeMouseState(nullptr, nullptr);
        g_mouse.pendingWheel = 0;
        g_mouse.wasFocused = true;
    }
    int x = 0, y = 0;
    SDL_GetRelativeMouseState(&x, &y);
    x = Sensitive(x, g_mouse.carryX), y = Sensitive(y, g_mouse.carryY);
    // Mouse and stick add up.
    StickMouse pad;
    GamepadMouseShare(&pad);
    TouchMouseShare(&pad);
    StickFollowHeading(int64_t{x} + pad.dx, int64_t{y} + pad.dy);
    g_mouse.dx = static_cast<int32_t>(std::clamp(int64_t{x} + pad.dx, int64_t{-kMouseMoveLimit}, int64_t{kMouseMoveLimit}));
    g_mouse.dy = static_cast<int32_t>(std::clamp(int64_t{y} + pad.dy, int64_t{-kMouseMoveLimit}, int64_t{kMouseMoveLimit}));
    g_mouse.wheel = g_mouse.pendingWheel;
    g_mouse.pendingWheel = 0;
    Uint32 held = SDL_GetMouseState(nullptr, nullptr);
    const Uint32 masks[kButtonCount] = {SDL_BUTTON_LMASK, SDL_BUTTON_RMASK, SDL_BUTTON_MMASK};
    if (g_mouse.buttonsHeldOff) {
        // The click that brought the window back is no shot.
        std::memset(g_mouse.pressed, 0, sizeof g_mouse.pressed);
        g_mouse.buttonsHeldOff = (held & (masks[0] | masks[1] | masks[2])) != 0;
        held = 0;
    }
    for (int32_t b = 0; b < kButtonCount; ++b)
        g_mouse.buttons[b] = (held & masks[b]) || g_mouse.pressed[b] || pad.buttons[b] ? 1 : 0;
    std::memset(g_mouse.pressed, 0, sizeof g_mouse.pressed);
    return 1;
}

int32_t MouseStateX() { return g_mouse.dx; }
int32_t MouseStateY() { return g_mouse.dy; }
int32_t MouseStateWheel() { return g_mouse.wheel; }

int32_t MouseStateButton(int32_t button) {
    if (button < 1 || button > kButtonCount) return 0;
    return g_mouse.buttons[button - 1];
}

void MouseRelease(int32_t flag) {
    if (flag == 1) {
        g_mouse.released = true;
        GivePointerBack();
    } else {
        // Captured again by the next examination.
        g_mouse.released = false;
    }
}

int32_t ScaleMouseMove(int32_t moved, int32_t per256, int64_t* carry) {
    const int64_t scaled = int64_t{moved} * per256 + *carry;
    const int64_t whole = scaled / kMouseSensitivityOne;  // toward zero: the carry keeps the sign
    *carry = scaled - whole * kMouseSensitivityOne;
    return static_cast<int32_t>(std::clamp<int64_t>(whole, INT32_MIN, INT32_MAX));
}

void MouseSetSensitivity(int32_t per256) {
    g_mouse.sensitivity = std::clamp(per256, kMouseSensitivityOne / 4, kMouseSensitivityOne * 4);
    g_mouse.carryX = g_mouse.carryY = 0;
}

void MouseEnd() {
    GivePointerBack();
    TouchReleaseAll();
    StickForgetHeading();
    if (g_mouse.initialised) {
        GamepadEnd();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    g_mouse = MouseContext{};
}

// --- pause ---

void InputPause() {
    GivePointerBack();
    DiscardPendingMouse();
    std::memset(g_keyboard.pressed, 0, sizeof g_keyboard.pressed);
    GamepadDropPresses();
    TouchReleaseAll();
}

void InputResume(bool holdButtonsOff) {
    // What was pressed or moved during the pause belongs to no frame.
    InputPause();
    g_mouse.buttonsHeldOff = holdButtonsOff;
}

// --- scripted input ---

void InputSetScripted(bool on) {
    g_script.on = on;
    if (!on) g_script.frame = InputFrame{};
    // Presses latched under the other source belong to no frame of this one.
    std::memset(g_keyboard.pressed, 0, sizeof g_keyboard.pressed);
    std::memset(g_mouse.pressed, 0, sizeof g_mouse.pressed);
    g_mouse.pendingWheel = 0;
    GamepadDropPresses();
    TouchReleaseAll();
}

void InputSetFrame(const InputFrame& frame) { g_script.frame = frame; }

InputFrame InputSnapshot() {
    InputFrame frame;
    frame.dx = g_mouse.dx;
    frame.dy = g_mouse.dy;
    frame.wheel = g_mouse.wheel;
    for (int32_t b = 0; b < kButtonCount; ++b) frame.buttons[b] = g_mouse.buttons[b] ? 1 : 0;
    for (int32_t k = 0; k < kKeyCount; ++k) frame.keys[k] = (g_keyboard.snapshot[k] & kKeyIsDown) ? 1 : 0;
    return frame;
}

int32_t KeyboardLiveDown(int32_t key) {
    if (!g_keyboard.initialised || key < 0 || key >= kKeyCount) return 0;
    // While scripted the examinations read the script; key presses still come from the pump.
    bool down = g_keyboard.pressed[key] != 0;
    g_keyboard.pressed[key] = 0;
    int count = 0;
    const Uint8* held = SDL_GetKeyboardState(&count);
    for (int i = 0; i < count && !down; ++i) down = held[i] && ScanCodeFromSdl(i) == key;
    return down ? kKeyIsDown : 0;
}
