// The screen. Provides the display (SDL's video, refused when SDL fell back to a driver
// that shows nothing), the persistent back buffer, the drawing target pointing into it,
// the presenter's choice and the paced present through presenter.cpp, placed by
// placement.cpp, and the full-screen toggle.
// Limits: the display-less drivers (offscreen, dummy) only when SDL_VIDEODRIVER names
// them; one screen at a time; full screen needs a window manager on X11.
// Depends on SDL2 video, window_sdl.h (the window shown in), events.h (the pump and its
// notes), draw_target.h, sprite.h (a closed screen frees the sprites), text.h (a flip
// ends an open text block), input_events.h, presenter.h and placement.h.
#include "media/screen.h"

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "media/draw_target.h"
#include "media/events.h"
#include "media/input_events.h"
#include "media/overlay.h"
#include "media/presenter.h"
#include "media/sprite.h"
#include "media/text.h"
#include "media/window_sdl.h"
#include "runtime/format.h"

namespace {

constexpr int32_t kMaxScreenSide = 16384;

struct ScreenContext {
    bool displayInit = false;             // DisplayInit succeeded, DisplayEnd not yet run
    bool screenOpen = false;              // a screen shows the back buffer
    Picture backBuffer;                   // the game's picture, 0x00RRGGBB
    Presenter presenter;                  // how it reaches the window
    int32_t offsetX = 0, offsetY = 0;     // where the picture starts in the window
    bool autoStretch = false;             // stretched to the margins instead of placed
    int32_t rightMargin = 0, bottomMargin = 0;  // the stretch's margins
    int32_t frameRate = 0;                // as set; the interval below follows from it
    int64_t frameInterval = 0;            // nanoseconds between presents; 0: no pacing
    int64_t lastPresent = 0;              // monotonic nanoseconds of the last paced present
    bool lastPresentSet = false;          // false: the next wait starts from now
    int windowedW = 0, windowedH = 0;     // the window's size before full screen
    bool toggled = false;                 // switched by the player since taken
};

ScreenContext ctx;
// Process settings, kept across resets.
bool pacingOn = true;
PresenterChoice presenterChoice = PresenterChoice::Automatic;
ScaleMode scaleMode = ScaleMode::Fill;

int64_t NowNs() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

void ReleasePresenter() { PresenterRelease(&ctx.presenter); }

// The window module's hook: the presenter lets go of a window about to be destroyed.
void ReleaseIfShownIn(SDL_Window* window) {
    if (ctx.presenter.window == window) ReleasePresenter();
}

// The display-less drivers show nothing unless told to save their frames as files:
// otherwise nothing is presented there, and headless runs neither make a framebuffer nor
// copy each frame into it. Elsewhere a renderer gives vertical sync (no tearing) and real
// pixels, but on machines without a graphics card it would be a software 3-D driver with
// helper threads of its own: X11 then keeps its plain shared-memory framebuffer, which
// the presenter finds out by trying. Other drivers back their framebuffer with a renderer
// anyway, so they take one of ours whatever it is.
PresenterKind ChoosePresenter() {
    PresenterChoice choice = presenterChoice;
    if (choice == PresenterChoice::Automatic) {
        const char* asked = SDL_getenv("DREEL_PRESENT");
        const std::optional<PresenterChoice> fromEnvironment = PresenterChoiceOf(asked);
        if (!fromEnvironment)
            std::fprintf(stderr, "display: DREEL_PRESENT='%s' is neither 'framebuffer' nor 'renderer'; ignored\n", asked);
        choice = fromEnvironment.value_or(PresenterChoice::Automatic);
    }
    if (choice != PresenterChoice::Automatic)
        return choice == PresenterChoice::Renderer ? PresenterKind::Renderer : PresenterKind::Framebuffer;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return PresenterKind::Renderer;
    const struct { const char* name; const char* saveHint; } displayLess[] = {
        {"dummy", "SDL_VIDEO_DUMMY_SAVE_FRAMES"}, {"offscreen", "SDL_VIDEO_OFFSCREEN_SAVE_FRAMES"}};
    for (const auto& d : displayLess)
        if (SDL_strcmp(driver, d.name) == 0)
            return SDL_GetHintBoolean(d.saveHint, SDL_FALSE) ? PresenterKind::Framebuffer : PresenterKind::None;
    return SDL_strcmp(driver, "x11") == 0 ? PresenterKind::HardwareRenderer : PresenterKind::Renderer;
}

// The window module's hook: SDL's GL renderer needs a window made for GL, and given
// another it destroys it and makes a new one, so a window already shown would vanish and
// come back under another id. X11's windows are made for GL unless the framebuffer is asked
// for (where the renderer is then given up, the framebuffer serves a GL window as well).
uint32_t WindowFlagsForPresenter() {
    const char* driver = SDL_GetCurrentVideoDriver();
    const PresenterChoice asked = presenterChoice != PresenterChoice::Automatic
        ? presenterChoice : PresenterChoiceOf(SDL_getenv("DREEL_PRESENT")).value_or(PresenterChoice::Automatic);
    return driver && SDL_strcmp(driver, "x11") == 0 && asked != PresenterChoice::Framebuffer ? SDL_WINDOW_OPENGL : 0;
}

// The back buffer must already hold its pixels: the presenter points into them.
bool CreatePresenter(SDL_Window* window) {
    const PresenterKind kind = ChoosePresenter();
    // SDL decides this once per display, before its first framebuffer: set only where
    // our own framebuffer path may be taken.
    if (kind == PresenterKind::Framebuffer || kind == PresenterKind::HardwareRenderer)
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return PresenterCreate(&ctx.presenter, window, ctx.backBuffer, kind);
}

// Waits until more than one frame interval has passed since the end of the previous
// wait. Sleeps for all but the last millisecond, then yields.
void PaceWait() {
    if (ctx.frameInterval <= 0) return;
    int64_t now = NowNs();
    if (!ctx.lastPresentSet) {  // the first wait after SetFrameRate lasts a full interval
        ctx.lastPresent = now;
        ctx.lastPresentSet = true;
    }
    while (now - ctx.lastPresent <= ctx.frameInterval) {
        int64_t remaining = ctx.frameInterval - (now - ctx.lastPresent);
        if (remaining > 1'000'000)
            std::this_thread::sleep_for(std::chrono::nanoseconds(remaining - 1'000'000));
        else
            std::this_thread::yield();
        now = NowNs();
    }
    ctx.lastPresent = now;
}

// The picture's place in the window's real pixels. Stretched: from the offset to the
// margins, scaled by the ratio of output pixels to window units. Otherwise the picture
// and its offset are placed whole by PlacePicture.
PixelRect PresentRect(int32_t outputW, int32_t outputH) {
    const int64_t w = ctx.backBuffer.width, h = ctx.backBuffer.height;
    if (!ctx.autoStretch) {
        const int64_t canvasW = ctx.offsetX + w, canvasH = ctx.offsetY + h;
        if (canvasW <= 0 || canvasH <= 0 || canvasW > INT32_MAX || canvasH > INT32_MAX) return {};
        const PixelRect c =
            PlacePicture(outputW, outputH, static_cast<int32_t>(canvasW), static_cast<int32_t>(canvasH), scaleMode);
        return {static_cast<int32_t>(c.x + ctx.offsetX * c.w / canvasW),
                static_cast<int32_t>(c.y + ctx.offsetY * c.h / canvasH), static_cast<int32_t>(w * c.w / canvasW),
                static_cast<int32_t>(h * c.h / canvasH)};
    }
    int windowW = 0, windowH = 0;
    SDL_GetWindowSize(ctx.presenter.window, &windowW, &windowH);
    if (windowW <= 0 || windowH <= 0) windowW = outputW, windowH = outputH;
    const int64_t sw = int64_t{windowW} - ctx.rightMargin - ctx.offsetX;
    const int64_t sh = int64_t{windowH} - ctx.bottomMargin - ctx.offsetY;
    return {static_cast<int32_t>(int64_t{ctx.offsetX} * outputW / windowW),
            static_cast<int32_t>(int64_t{ctx.offsetY} * outputH / windowH),
            static_cast<int32_t>(sw * outputW / windowW), static_cast<int32_t>(sh * outputH / windowH)};
}

// Shows the back buffer, or its copy with the overlay on it.
void Present() {
    if (EventsTakeWindowChange()) PresenterWindowChanged(&ctx.presenter);
    int outputW = 0, outputH = 0;
    PresenterOutputSize(&ctx.presenter, &outputW, &outputH);
    if (outputW <= 0 || outputH <= 0) return;
    const Picture& shown = OverlayCompose(ctx.backBuffer, SDL_GetTicks());
    PresenterShow(&ctx.presenter, shown, PresentRect(outputW, outputH), scaleMode == ScaleMode::Fill);
}

// Borderless full screen on the window's own display, at the desktop's resolution.
// True when it switched.
bool ApplyToggle() {
    if (!EventsTakeFullscreenToggle() || !ctx.presenter.window) return false;
    SDL_Window* w = ctx.presenter.window;
    if ((SDL_GetWindowFlags(w) & SDL_WINDOW_FULLSCREEN) == 0) {
        SDL_GetWindowSize(w, &ctx.windowedW, &ctx.windowedH);
        SDL_SetWindowFullscreen(w, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(w, 0);
        // Not every driver gives the old size back by itself.
        if (ctx.windowedW > 0) SDL_SetWindowSize(w, ctx.windowedW, ctx.windowedH);
    }
    PresenterWindowChanged(&ctx.presenter);
    ctx.toggled = true;
    return true;
}

// The screen's surfaces without the sprites: what a second open or a close releases.
void ReleaseScreen() {
    DrawReleaseScreen();
    SetCurrentTarget(nullptr);
    ReleasePresenter();
    ctx.backBuffer = Picture{};
    ctx.screenOpen = false;
}

}  // namespace

int32_t DisplayInit() {
    if (ctx.displayInit) return 1;  // repeated calls reuse the display
    WindowSetVideoHints();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        // The game's box only names the facility; keep the reason for whoever looks.
        std::fprintf(stderr, "display: %s\n", SDL_GetError());
        return 0;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!VideoDriverAllowed(driver, SDL_getenv("SDL_VIDEODRIVER"))) {  // where SDL reads it
        // Without a display SDL falls back to a driver that shows nothing: the game
        // would run unseen until killed.
        std::fprintf(stderr, "display: no display found (SDL chose the '%s' driver)\n", driver);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return 0;
    }
    ctx.displayInit = true;
    WindowSetCreationHook(WindowFlagsForPresenter);
    SpritesFreeAll();
    return 1;
}

bool VideoDriverAllowed(const char* driver, const char* requested) {
    if (!driver) return false;
    if (SDL_strcasecmp(driver, "offscreen") != 0 && SDL_strcasecmp(driver, "dummy") != 0) return true;
    // SDL takes a comma-separated list of drivers to try.
    for (const std::string& name : SplitList(requested ? requested : "", ','))
        if (SDL_strcasecmp(name.c_str(), driver) == 0) return true;
    return false;
}

bool DisplayIsInitialised() { return ctx.displayInit; }

int32_t ScreenOpenInWindow(intptr_t window, int32_t offsetX, int32_t offsetY, int32_t width, int32_t height,
                           int32_t autoStretch, int32_t rightMargin, int32_t bottomMargin) {
    SDL_Window* w = WindowByHandle(window);
    bool sizeOk = width > 0 && height > 0 && width <= kMaxScreenSide && height <= kMaxScreenSide;
    if (!ctx.displayInit || !w || !sizeOk) {
        ScreenClose();
        return 0;
    }
    ReleaseScreen();
    if (ctx.frameRate == 0) SetFrameRate(60);
    ctx.backBuffer.width = width;
    ctx.backBuffer.height = height;
    ctx.backBuffer.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0u);  // black
    if (!CreatePresenter(w)) {
        ScreenClose();
        return 0;
    }
    WindowSetClosingHook(ReleaseIfShownIn);
    SDL_ShowWindow(w);
    ctx.offsetX = offsetX;
    ctx.offsetY = offsetY;
    ctx.autoStretch = autoStretch != 0;
    ctx.rightMargin = rightMargin;
    ctx.bottomMargin = bottomMargin;
    ctx.screenOpen = true;
    SetCurrentTarget(&ctx.backBuffer);
    return 1;
}

void ScreenFlip() {
    DrawReleaseScreen();
    if (!ctx.screenOpen) return;
    if (pacingOn) PaceWait();
    EventsPump();
    ApplyToggle();
    Present();
    InputFrameShown();
}

void ScreenRefresh(bool force) {
    DrawReleaseScreen();
    if (!ctx.screenOpen) return;
    EventsPump();
    const bool toggled = ApplyToggle();
    if (force || toggled || EventsWindowChangePending() || OverlayChanged(SDL_GetTicks())) Present();
}

int32_t SetFrameRate(int32_t fps) {
    // A negative rate would divide by zero or give a negative interval: refused.
    if (fps < 0) return 0;
    ctx.frameRate = fps;
    // Kept as the game has always had it: the interval is 1/(rate + 1) second, so the
    // 60 set by default paces at 61 presents a second.
    ctx.frameInterval = 1'000'000'000LL / (int64_t{fps} + 1);
    ctx.lastPresentSet = false;
    return 1;
}

void ScreenClose() {
    SpritesFreeAll();
    ReleaseScreen();
}

void DisplayEnd() {
    if (!ctx.displayInit) return;
    ScreenClose();
    DrawingEnd();
    EventsForget();
    OverlayReset();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    ctx = ScreenContext{};
}

Picture* ScreenBackBuffer() { return ctx.screenOpen ? &ctx.backBuffer : nullptr; }

void ScreenSetPacing(bool on) { pacingOn = on; }

void ScreenChoosePresenter(PresenterChoice choice) { presenterChoice = choice; }

std::optional<PresenterChoice> PresenterChoiceOf(const char* value) {
    if (!value || !*value) return PresenterChoice::Automatic;
    if (SDL_strcmp(value, "framebuffer") == 0) return PresenterChoice::Framebuffer;
    if (SDL_strcmp(value, "renderer") == 0) return PresenterChoice::Renderer;
    return std::nullopt;
}

void ScreenSetScaleMode(ScaleMode mode) { scaleMode = mode; }

bool ScreenTakeFullscreenSwitched() {
    const bool toggled = ctx.toggled;
    ctx.toggled = false;
    return toggled;
}

bool ScreenFullscreen() {
    return ctx.presenter.window && (SDL_GetWindowFlags(ctx.presenter.window) & SDL_WINDOW_FULLSCREEN) != 0;
}

PixelRect ScreenPictureRect() {
    int outputW = 0, outputH = 0;
    if (!ctx.screenOpen) return {};
    PresenterOutputSize(&ctx.presenter, &outputW, &outputH);
    return PresentRect(outputW, outputH);
}
