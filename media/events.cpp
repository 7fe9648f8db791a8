// Events. Provides the pump, the one place where events leave SDL's queue, and what it
// hands on (see the header). Handling each event once, in one place, means a key seen
// here is also seen by the input module, and the focus has one source.
// Depends on SDL2 events and input_events.h (the input module's door).
#include "media/events.h"

#include <SDL.h>

#include "media/input_events.h"

namespace {

constexpr int32_t kKeptCodes = 64;
constexpr int kBatch = 64;

struct EventsContext {
    int32_t codes[kKeptCodes] = {};  // codes not yet polled, oldest first from `first`
    int32_t first = 0;               // index of the oldest kept code
    int32_t count = 0;               // codes kept
    bool toggleWanted = false;       // F11 or Alt+Enter pressed
    bool windowChanged = false;      // resized, shown, uncovered
    ComfortKeys comfort;             // pause and volume keys since taken
    bool unfocused = false;          // the window lost the keyboard focus
    bool minimised = false;          // ...was minimised
    bool hidden = false;             // ...was hidden (a browser tab put away)
};

EventsContext ctx;

int32_t EventCode(const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT:
            return kEventClose;  // the system asks the program to end: treat like the close box
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE: return kEventClose;
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_MINIMIZED:
                case SDL_WINDOWEVENT_MAXIMIZED:
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_RESIZED:
                case SDL_WINDOWEVENT_SIZE_CHANGED: return kEventSize;
                default: return static_cast<int32_t>(SDL_WINDOWEVENT);
            }
        default:
            return static_cast<int32_t>(e.type);  // never 0, 5 or 16: SDL's codes start at 0x100
    }
}

// When full, a new code is dropped, unless it is the close box's: that one takes the
// newest place, so the game always hears it.
void KeepCode(int32_t code) {
    if (ctx.count == kKeptCodes) {
        if (code == kEventClose) ctx.codes[(ctx.first + kKeptCodes - 1) % kKeptCodes] = code;
        return;
    }
    ctx.codes[(ctx.first + ctx.count) % kKeptCodes] = code;
    ++ctx.count;
}

// Joysticks, controllers, their sensors and fingers: a moving stick sends hundreds a
// second, which the game's poll would spin on without ever sleeping.
bool FromPads(const SDL_Event& e) { return e.type >= SDL_JOYAXISMOTION && e.type < SDL_DOLLARGESTURE; }

// The player's comfort keys, by the character on the key (the layout's): P and Pause,
// - and + on the main keys (= is + unshifted on many layouts) and the keypad, M.
void NoteComfortKey(SDL_Keycode key) {
    if (key == SDLK_p || key == SDLK_PAUSE) ++ctx.comfort.pauseToggles;
    else if (key == SDLK_MINUS || key == SDLK_KP_MINUS) --ctx.comfort.volumeSteps;
    else if (key == SDLK_PLUS || key == SDLK_EQUALS || key == SDLK_KP_PLUS) ++ctx.comfort.volumeSteps;
    else if (key == SDLK_m) ++ctx.comfort.muteToggles;
}

// Whether the player has left the window: another has the focus, or it is minimised or hidden.
void FollowWindow(uint8_t event) {
    switch (event) {
        case SDL_WINDOWEVENT_FOCUS_LOST: ctx.unfocused = true; break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: ctx.unfocused = false; break;
        case SDL_WINDOWEVENT_MINIMIZED: ctx.minimised = true; break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED: ctx.minimised = false; break;
        case SDL_WINDOWEVENT_HIDDEN: ctx.hidden = true; break;
        case SDL_WINDOWEVENT_SHOWN: ctx.hidden = ctx.minimised = false; break;
        default: break;
    }
}

// The screen's notes: the hot keys and the window's changes.
void NoteForScreen(const SDL_Event& e) {
    if (e.type == SDL_KEYDOWN && e.key.repeat == 0) {
        const SDL_Scancode key = e.key.keysym.scancode;
        const bool alt = (e.key.keysym.mod & KMOD_ALT) != 0;
        if (key == SDL_SCANCODE_F11 || (alt && (key == SDL_SCANCODE_RETURN || key == SDL_SCANCODE_KP_ENTER)))
            ctx.toggleWanted = true;
        else if ((e.key.keysym.mod & (KMOD_CTRL | KMOD_ALT | KMOD_GUI)) == 0)
            NoteComfortKey(e.key.keysym.sym);
    } else if (e.type == SDL_WINDOWEVENT) {
        ctx.windowChanged = true;
        FollowWindow(e.window.event);
    }
}

}  // namespace

void EventsPump() {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return;  // no event queue yet
    SDL_PumpEvents();
    SDL_Event events[kBatch];
    int n;
    do {
        n = SDL_PeepEvents(events, kBatch, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
        for (int i = 0; i < n; ++i) {
            InputHandleEvent(events[i]);
            NoteForScreen(events[i]);
            if (!FromPads(events[i])) KeepCode(EventCode(events[i]));
        }
    } while (n == kBatch);
}

int32_t WindowPollEvent() {
    if (ctx.count == 0) EventsPump();
    if (ctx.count == 0) return 0;
    const int32_t code = ctx.codes[ctx.first];
    ctx.first = (ctx.first + 1) % kKeptCodes;
    --ctx.count;
    return code;
}

bool EventsTakeFullscreenToggle() {
    const bool wanted = ctx.toggleWanted;
    ctx.toggleWanted = false;
    return wanted;
}

bool EventsTakeWindowChange() {
    const bool changed = ctx.windowChanged;
    ctx.windowChanged = false;
    return changed;
}

bool EventsWindowChangePending() { return ctx.windowChanged; }

ComfortKeys EventsTakeComfortKeys() {
    const ComfortKeys keys = ctx.comfort;
    ctx.comfort = ComfortKeys{};
    return keys;
}

bool EventsWindowLeft() { return ctx.unfocused || ctx.minimised || ctx.hidden; }

void EventsForget() { ctx = EventsContext{}; }
