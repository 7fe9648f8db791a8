// Window and screen. Provides the window table, the game's SDL window, the event poll
// (which also feeds every event to the input module), the persistent 800 x 600 back
// buffer in memory and its paced present through presenter.cpp, placed by placement.cpp:
// the largest whole-number scale that fits the window, centred, black bars around.
// The window is resizable, never smaller than it was opened, and F11 or Alt+Enter
// switch it to borderless full screen on its display and back. On Linux the window carries
// the game's icon and the application's id as its class, the name its desktop entry gives.
// Limits: the display-less drivers (offscreen, dummy) only when SDL_VIDEODRIVER names
// them; centring on the active window falls back to centring on the desktop (SDL knows
// no active window of ours); full screen needs a window manager on X11; in the browser
// the window is in page units at every device pixel ratio and the page scales it.
// Depends on SDL2 video, sprite.h (ScreenClose frees the sprites), text.h (ScreenFlip
// ends an open text block), input_events.h, presenter.h, placement.h and embedded_icon.h.
#include "media/window.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#ifdef DREEL_WINDOW_ICON
#include "media/embedded_icon.h"
#endif
#include "media/input_events.h"
#include "media/presenter.h"
#include "media/sprite.h"
#include "runtime/format.h"
#include "media/text.h"

namespace {

constexpr uint32_t kCentreOnDesktop = 0x1;
constexpr uint32_t kCentreOnActive = 0x2;
constexpr uint32_t kStyleCaption = 0xC00000;
constexpr uint32_t kStyleVisible = 0x10000000;
constexpr int32_t kMaxWindowSlot = 1 << 16;
constexpr int32_t kMaxScreenSide = 16384;

struct WindowContext {
    // Window table
    std::vector<SDL_Window*> windows;  // by slot; null = free
    int32_t currentSlot = -1;          // the window opened last
    bool windowsHoldVideo = false;     // a video reference taken for the windows

    // Display and screen
    bool displayInit = false;
    bool screenOpen = false;
    Picture backBuffer;
    Presenter presenter;
    int32_t offsetX = 0, offsetY = 0;
    bool autoStretch = false;
    int32_t rightMargin = 0, bottomMargin = 0;

    // Pacing, on the monotonic clock in nanoseconds
    int32_t frameRate = 0;
    int64_t frameInterval = 0;
    int64_t lastPresent = 0;
    bool lastPresentSet = false;

    // Set by the event watch while SDL pumps, acted on at the next flip
    bool watching = false;                    // the event watch is installed
    std::atomic<bool> toggleWanted = false;   // F11 or Alt+Enter was pressed
    std::atomic<bool> windowChanged = false;  // resized, shown, uncovered
    int windowedW = 0, windowedH = 0;         // the window's size before full screen
};

WindowContext ctx;
// Process settings, kept across resets.
bool pacingOn = true;
WindowStartOptions startOptions;
PresenterChoice presenterChoice = PresenterChoice::Automatic;

int64_t NowNs() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

void ReleasePresenter() { PresenterRelease(&ctx.presenter); }

SDL_Window* WindowBySlot(int32_t slot) {
    if (slot < 0 || slot >= static_cast<int32_t>(ctx.windows.size())) return nullptr;
    return ctx.windows[slot];
}

void CloseWindowSlot(int32_t slot) {
    SDL_Window* w = WindowBySlot(slot);
    if (!w) return;
    if (ctx.presenter.window == w) ReleasePresenter();  // its framebuffer dies with it
    SDL_DestroyWindow(w);
    ctx.windows[slot] = nullptr;
    if (ctx.currentSlot == slot) ctx.currentSlot = -1;
}

// Handles are SDL window ids, so a stale or made-up handle is only ever looked up.
SDL_Window* WindowByHandle(intptr_t handle) {
    // Compared unsigned and wide: where intptr_t has 32 bits, UINT32_MAX cast to it is -1.
    if (handle <= 0 || static_cast<uintmax_t>(handle) > UINT32_MAX) return nullptr;
    SDL_Window* w = SDL_GetWindowFromID(static_cast<uint32_t>(handle));
    for (SDL_Window* own : ctx.windows)
        if (own && own == w) return w;
    return nullptr;
}

// Read by SDL when video starts, for the X11 class and the Wayland application id; a
// class the user set is kept.
void NameTheApplication() { SDL_setenv("SDL_VIDEO_X11_WMCLASS", DREEL_APP_ID, 0); }

// What docks, task bars and window lists show for the window; it works without one.
void SetWindowIcon(SDL_Window* w) {
#ifdef DREEL_WINDOW_ICON
    SDL_Surface* icon = SDL_LoadBMP_RW(SDL_RWFromConstMem(kWindowIcon, static_cast<int>(kWindowIconSize)), 1);
    if (!icon) return;
    SDL_SetWindowIcon(w, icon);
    SDL_FreeSurface(icon);
#else
    (void)w;
#endif
}

// In the browser no high-DPI window: SDL would size the canvas in device pixels while
// its 2-D canvas framebuffer stays in page units, so the picture would fill only a corner.
// The page scales the canvas itself.
#ifdef __EMSCRIPTEN__
constexpr uint32_t kHighDpi = 0;
#else
constexpr uint32_t kHighDpi = SDL_WINDOW_ALLOW_HIGHDPI;
#endif

uint32_t SdlWindowFlags(uint32_t style) {
    // The caller's visible bit is inverted: passing it asks for a hidden window.
    uint32_t flags = kHighDpi | SDL_WINDOW_RESIZABLE;
    if (startOptions.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (style & kStyleVisible) flags |= SDL_WINDOW_HIDDEN;
    if ((style & ~kStyleVisible) == 0) style |= kStyleCaption;
    if ((style & kStyleCaption) == 0) flags |= SDL_WINDOW_BORDERLESS;
    return flags;
}

// X11 gets the window's plain shared-memory framebuffer: on machines without a graphics
// card a renderer means a software 3-D driver and its helper threads. The display-less
// drivers have nothing to synchronise with. Everywhere else SDL's framebuffer is backed
// by a renderer anyway, so we take one of our own: real pixels and vertical sync.
PresenterKind ChoosePresenter() {
    if (presenterChoice != PresenterChoice::Automatic)
        return presenterChoice == PresenterChoice::Renderer ? PresenterKind::Renderer : PresenterKind::Framebuffer;
    const char* driver = SDL_GetCurrentVideoDriver();
    for (const char* plain : {"x11", "dummy", "offscreen"})
        if (driver && SDL_strcmp(driver, plain) == 0) return PresenterKind::Framebuffer;
    return PresenterKind::Renderer;
}

// The back buffer must already hold its pixels: the presenter points into them.
bool CreatePresenter(SDL_Window* window) {
    const PresenterKind kind = ChoosePresenter();
    // SDL decides this once per display, so the hint is set only where it is safe.
    if (kind == PresenterKind::Framebuffer) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
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
        const PixelRect c = PlacePicture(outputW, outputH, static_cast<int32_t>(canvasW), static_cast<int32_t>(canvasH));
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

void Present() {
    if (ctx.windowChanged.exchange(false)) PresenterWindowChanged(&ctx.presenter);
    int outputW = 0, outputH = 0;
    PresenterOutputSize(&ctx.presenter, &outputW, &outputH);
    if (outputW <= 0 || outputH <= 0) return;
    PresenterShow(&ctx.presenter, ctx.backBuffer, PresentRect(outputW, outputH));
}

// F11, or Enter with Alt, asks for the other mode; window changes ask for a full repaint.
// Runs inside SDL's pump, so it only takes notes; the flip acts on them.
int WatchEvents(void*, SDL_Event* e) {
    if (e->type == SDL_KEYDOWN && e->key.repeat == 0) {
        const SDL_Scancode key = e->key.keysym.scancode;
        const bool alt = (e->key.keysym.mod & KMOD_ALT) != 0;
        if (key == SDL_SCANCODE_F11 || (alt && (key == SDL_SCANCODE_RETURN || key == SDL_SCANCODE_KP_ENTER)))
            ctx.toggleWanted = true;
    } else if (e->type == SDL_WINDOWEVENT) {
        ctx.windowChanged = true;
    }
    return 1;
}

void StartWatching() {
    if (ctx.watching) return;
    SDL_AddEventWatch(WatchEvents, nullptr);
    ctx.watching = true;
}

void StopWatching() {
    if (ctx.watching) SDL_DelEventWatch(WatchEvents, nullptr);
    ctx.watching = false;
    ctx.toggleWanted = false;
}

// Borderless full screen on the window's own display, at the desktop's resolution.
void ApplyToggle() {
    if (!ctx.toggleWanted.exchange(false) || !ctx.presenter.window) return;
    SDL_Window* w = ctx.presenter.window;
    if ((SDL_GetWindowFlags(w) & SDL_WINDOW_FULLSCREEN) == 0) {
        SDL_GetWindowSize(w, &ctx.windowedW, &ctx.windowedH);
        SDL_SetWindowFullscreen(w, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(w, 0);
        // Not every driver gives the old size back by itself.
        if (ctx.windowedW > 0) SDL_SetWindowSize(w, ctx.windowedW, ctx.windowedH);
    }
    ctx.windowChanged = true;
}

// The largest size up to `scale` times the asked-for one that fits the display's usable
// area (without panels); never smaller than asked.
void ScaledSize(int32_t scale, int* width, int* height) {
    SDL_Rect usable{};
    if (scale <= 1 || SDL_GetDisplayUsableBounds(0, &usable) != 0) return;
    const int fit = std::min({scale, usable.w / *width, usable.h / *height});
    if (fit > 1) *width *= fit, *height *= fit;
}

// The screen's surfaces without the sprites: what a second open or a close releases.
void ReleaseScreen() {
    DrawReleaseScreen();
    ReleasePresenter();
    ctx.backBuffer = Picture{};
    ctx.screenOpen = false;
}

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

// SDL reads these when video starts, so every start here sets them first.
void SetVideoHints() {
    // The close box must only report; the game decides whether to end.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // Windows: window sizes in scaled points, so at 200 % the window is 1600 x 1200
    // pixels, not half the size. The manifest already makes the game DPI aware, which
    // without this leaves SDL's sizes in physical pixels.
    SDL_SetHint(SDL_HINT_WINDOWS_DPI_SCALING, "1");
    NameTheApplication();
}

}  // namespace

void WindowLibraryInit() {
    SetVideoHints();
    if (ctx.windows.size() < 10) ctx.windows.resize(10, nullptr);
}

int32_t DisplayInit() {
    if (ctx.displayInit) return 1;  // repeated calls reuse the display
    SetVideoHints();
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

intptr_t WindowOpen(int32_t slot, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags,
                    const char* title) {
    if (slot < 0 || slot >= kMaxWindowSlot || width <= 0 || height <= 0) return 0;
    if (!ctx.windowsHoldVideo) {
        SetVideoHints();
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 0;
        ctx.windowsHoldVideo = true;
    }
    if (ctx.windows.size() < 10) ctx.windows.resize(10, nullptr);
    if (slot >= static_cast<int32_t>(ctx.windows.size())) ctx.windows.resize(slot + 30, nullptr);
    CloseWindowSlot(slot);

    bool centre = (flags & (kCentreOnDesktop | kCentreOnActive)) != 0;
    uint32_t style = flags & ~(kCentreOnDesktop | kCentreOnActive);
    int px = centre ? SDL_WINDOWPOS_CENTERED : x;
    int py = centre ? SDL_WINDOWPOS_CENTERED : y;
    int w0 = width, h0 = height;
    ScaledSize(startOptions.scale, &w0, &h0);
    SDL_Window* w = SDL_CreateWindow(title ? title : "", px, py, w0, h0, SdlWindowFlags(style));
    if (!w) return 0;
    SetWindowIcon(w);
    SDL_SetWindowMinimumSize(w, width, height);
    StartWatching();
    ctx.windows[slot] = w;
    ctx.currentSlot = slot;
    return static_cast<intptr_t>(SDL_GetWindowID(w));
}

intptr_t WindowHandle() {
    SDL_Window* w = WindowBySlot(ctx.currentSlot);
    return w ? static_cast<intptr_t>(SDL_GetWindowID(w)) : 0;
}

bool WindowIsOpen() { return WindowBySlot(ctx.currentSlot) != nullptr; }

int32_t WindowPollEvent() {
    if (!ctx.windowsHoldVideo && !ctx.displayInit) return 0;  // no event queue yet
    SDL_Event e;
    if (SDL_PollEvent(&e) == 0) return 0;
    InputHandleEvent(e);
    return EventCode(e);
}

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
    SDL_ShowWindow(w);
    ctx.offsetX = offsetX;
    ctx.offsetY = offsetY;
    ctx.autoStretch = autoStretch != 0;
    ctx.rightMargin = rightMargin;
    ctx.bottomMargin = bottomMargin;
    ctx.screenOpen = true;
    return 1;
}

void ScreenFlip() {
    DrawReleaseScreen();
    if (!ctx.screenOpen) return;
    if (pacingOn) PaceWait();
    ApplyToggle();
    Present();
}

int32_t SetFrameRate(int32_t fps) {
    // A negative rate would divide by zero or give a negative interval: refused.
    if (fps < 0) return 0;
    ctx.frameRate = fps;
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
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    ctx.displayInit = false;
    ctx.frameRate = 0;
    ctx.frameInterval = 0;
    ctx.lastPresentSet = false;
    ctx.offsetX = ctx.offsetY = 0;
    ctx.autoStretch = false;
    ctx.rightMargin = ctx.bottomMargin = 0;
}

void WindowsCloseAll() {
    for (int32_t slot = static_cast<int32_t>(ctx.windows.size()) - 1; slot >= 0; --slot) CloseWindowSlot(slot);
    ctx.windows.clear();
    ctx.currentSlot = -1;
    StopWatching();
    if (ctx.windowsHoldVideo) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        ctx.windowsHoldVideo = false;
    }
}

Picture* ScreenBackBuffer() { return ctx.screenOpen ? &ctx.backBuffer : nullptr; }

// Sprite and text drawing always go to the back buffer: nothing in this layer selects
// another target, and ScreenFlip would restore it if anything did.
Picture* CurrentTarget() { return ScreenBackBuffer(); }

void ScreenSetPacing(bool on) { pacingOn = on; }

void WindowSetStartOptions(const WindowStartOptions& options) { startOptions = options; }

void ScreenChoosePresenter(PresenterChoice choice) { presenterChoice = choice; }

PixelRect ScreenPictureRect() {
    int outputW = 0, outputH = 0;
    if (!ctx.screenOpen) return {};
    PresenterOutputSize(&ctx.presenter, &outputW, &outputH);
    return PresentRect(outputW, outputH);
}
