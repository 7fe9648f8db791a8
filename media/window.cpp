// Windows. Provides the window table: the game's SDL windows in numbered slots, opened
// with the game's style bits, resizable, never smaller than asked, optionally full screen
// or scaled up from the command line. On Linux the window carries the game's icon and the
// application's id as its class, the name its desktop entry gives.
// Limits: centring on the active window falls back to centring on the desktop (SDL knows
// no active window of ours); in the browser the window is in page units at every device
// pixel ratio and the page scales it.
// Depends on SDL2 video and embedded_icon.h.
#include "media/window.h"

#include <SDL.h>

#include <algorithm>
#include <vector>

#ifdef DREEL_WINDOW_ICON
#include "media/embedded_icon.h"
#endif
#include "media/window_sdl.h"

namespace {

constexpr uint32_t kCentreOnDesktop = 0x1;
constexpr uint32_t kCentreOnActive = 0x2;
constexpr uint32_t kStyleCaption = 0xC00000;
constexpr uint32_t kStyleVisible = 0x10000000;
constexpr int32_t kMaxWindowSlot = 1 << 16;

struct WindowContext {
    std::vector<SDL_Window*> windows;     // by slot; null = free
    int32_t currentSlot = -1;             // the window opened last
    bool holdsVideo = false;              // a video reference taken for the windows
    void (*closingHook)(SDL_Window*) = nullptr;  // told before a window is destroyed
    uint32_t (*creationHook)() = nullptr;        // the flags the screen wants windows made with
};

WindowContext ctx;
// A process setting, kept across resets.
WindowStartOptions startOptions;

SDL_Window* WindowBySlot(int32_t slot) {
    if (slot < 0 || slot >= static_cast<int32_t>(ctx.windows.size())) return nullptr;
    return ctx.windows[slot];
}

void CloseWindowSlot(int32_t slot) {
    SDL_Window* w = WindowBySlot(slot);
    if (!w) return;
    if (ctx.closingHook) ctx.closingHook(w);  // a framebuffer dies with its window
    SDL_DestroyWindow(w);
    ctx.windows[slot] = nullptr;
    if (ctx.currentSlot == slot) ctx.currentSlot = -1;
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
    // Kept as the game has always had it: the caller's visible bit is inverted, so
    // passing it asks for a hidden window.
    uint32_t flags = kHighDpi | SDL_WINDOW_RESIZABLE;
    if (startOptions.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (style & kStyleVisible) flags |= SDL_WINDOW_HIDDEN;
    if ((style & ~kStyleVisible) == 0) style |= kStyleCaption;
    if ((style & kStyleCaption) == 0) flags |= SDL_WINDOW_BORDERLESS;
    return flags;
}

// The largest size up to `scale` times the asked-for one that fits the display's usable
// area (without panels); never smaller than asked.
void ScaledSize(int32_t scale, int* width, int* height) {
    SDL_Rect usable{};
    if (scale <= 1 || SDL_GetDisplayUsableBounds(0, &usable) != 0) return;
    const int fit = std::min({scale, usable.w / *width, usable.h / *height});
    if (fit > 1) *width *= fit, *height *= fit;
}

}  // namespace

void WindowSetVideoHints() {
    // The close box must only report; the game decides whether to end.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // Windows: window sizes in scaled points, so at 200 % the window is 1600 x 1200
    // pixels, not half the size. The manifest already makes the game DPI aware, which
    // without this leaves SDL's sizes in physical pixels.
    SDL_SetHint(SDL_HINT_WINDOWS_DPI_SCALING, "1");
    NameTheApplication();
}

void WindowSetClosingHook(void (*hook)(SDL_Window*)) { ctx.closingHook = hook; }

void WindowSetCreationHook(uint32_t (*hook)()) { ctx.creationHook = hook; }

SDL_Window* WindowByHandle(intptr_t handle) {
    // Compared unsigned and wide: where intptr_t has 32 bits, UINT32_MAX cast to it is -1.
    if (handle <= 0 || static_cast<uintmax_t>(handle) > UINT32_MAX) return nullptr;
    SDL_Window* w = SDL_GetWindowFromID(static_cast<uint32_t>(handle));
    for (SDL_Window* own : ctx.windows)
        if (own && own == w) return w;
    return nullptr;
}

void WindowLibraryInit() {
    WindowSetVideoHints();
    if (ctx.windows.size() < 10) ctx.windows.resize(10, nullptr);
}

intptr_t WindowOpen(int32_t slot, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags,
                    const char* title) {
    if (slot < 0 || slot >= kMaxWindowSlot || width <= 0 || height <= 0) return 0;
    if (!ctx.holdsVideo) {
        WindowSetVideoHints();
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 0;
        ctx.holdsVideo = true;
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
    const uint32_t extra = ctx.creationHook ? ctx.creationHook() : 0;
    SDL_Window* w = SDL_CreateWindow(title ? title : "", px, py, w0, h0, SdlWindowFlags(style) | extra);
    // Where GL is missing a window made for it fails: the screen then draws without GL.
    if (!w && extra) w = SDL_CreateWindow(title ? title : "", px, py, w0, h0, SdlWindowFlags(style));
    if (!w) return 0;
    SetWindowIcon(w);
    SDL_SetWindowMinimumSize(w, width, height);
    ctx.windows[slot] = w;
    ctx.currentSlot = slot;
    return static_cast<intptr_t>(SDL_GetWindowID(w));
}

intptr_t WindowHandle() {
    SDL_Window* w = WindowBySlot(ctx.currentSlot);
    return w ? static_cast<intptr_t>(SDL_GetWindowID(w)) : 0;
}

bool WindowIsOpen() { return WindowBySlot(ctx.currentSlot) != nullptr; }

void WindowsCloseAll() {
    for (int32_t slot = static_cast<int32_t>(ctx.windows.size()) - 1; slot >= 0; --slot) CloseWindowSlot(slot);
    ctx.windows.clear();
    ctx.currentSlot = -1;
    if (ctx.holdsVideo) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        ctx.holdsVideo = false;
    }
}

void WindowSetStartOptions(const WindowStartOptions& options) { startOptions = options; }
