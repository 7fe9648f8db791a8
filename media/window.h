// Window and screen: the game's one SDL window, the persistent 800 x 600 32-bit back
// buffer in memory that every drawing operation writes into, and the paced present.
// Depends on SDL2 (video). Works headless with SDL_VIDEODRIVER=dummy.
#pragma once

#include <cstdint>

#include "media/picture.h"
#include "media/placement.h"

// Event codes returned by WindowPollEvent.
inline constexpr int32_t kEventClose = 16;  // the close box; the window stays open
inline constexpr int32_t kEventSize = 5;    // shown, minimised, restored, resized

// Pixel format code of our back buffer: 32 bits, red not in the low byte.
inline constexpr int32_t kPixelFormatCode = 7;

void WindowLibraryInit();
// Fails (0) when SDL found no display and fell back to one that shows nothing.
int32_t DisplayInit();
// Whether the video driver SDL chose may be used: the display-less ones only when
// `requested` (SDL_VIDEODRIVER, comma-separated) names them.
bool VideoDriverAllowed(const char* driver, const char* requested);
// Returns a non-zero handle on success. Flag bit 0 centres on the desktop.
intptr_t WindowOpen(int32_t slot, int32_t x, int32_t y, int32_t width, int32_t height,
                    uint32_t flags, const char* title);
intptr_t WindowHandle();
int32_t WindowPollEvent();
int32_t ScreenOpenInWindow(intptr_t window, int32_t offsetX, int32_t offsetY, int32_t width,
                           int32_t height, int32_t autoStretch, int32_t rightMargin,
                           int32_t bottomMargin);
void ScreenFlip();
int32_t SetFrameRate(int32_t fps);
void ScreenClose();
void DisplayEnd();
void WindowsCloseAll();

// How windows open, from the command line: full screen, or a whole multiple of the
// asked-for size as far as the desktop has room. A setting of the process.
struct WindowStartOptions {
    bool fullscreen = false;
    int32_t scale = 1;
};
void WindowSetStartOptions(const WindowStartOptions& options);

// --- beyond the game's operations: for the replay tool, tests and benchmarks ---

// The back buffer (null while no screen is open). Pixels are 0x00RRGGBB.
Picture* ScreenBackBuffer();
// The current drawing target and its clipping bounds (the back buffer between frames).
Picture* CurrentTarget();
// Presentation pacing on or off (the replay tool runs frames back to back). A setting
// of the process: it outlives DisplayEnd.
void ScreenSetPacing(bool on);
// Whether DisplayInit has succeeded and DisplayEnd has not run since.
bool DisplayIsInitialised();
// Whether a window is shown through SDL (false before WindowOpen or after close).
bool WindowIsOpen();
// How the screen is shown: decided by the video driver, or forced (a setting of the
// process, read when a screen opens).
enum class PresenterChoice { Automatic, Framebuffer, Renderer };
void ScreenChoosePresenter(PresenterChoice choice);
// Where the picture goes in the window's real pixels now (empty without a screen).
PixelRect ScreenPictureRect();
