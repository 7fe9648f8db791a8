// The screen: the display, the persistent back buffer in memory that every drawing
// operation writes into (800 x 600, 32 bits, for the game), and its paced presentation
// in one of the windows: filling it with the picture's shape kept and its pixels sharp,
// or at the largest whole-number scale that fits; centred, black bars around. F11 or
// Alt+Enter switch the window to borderless full screen and back.
// Depends on SDL2 video. Works headless with SDL_VIDEODRIVER=dummy.
#pragma once

#include <cstdint>
#include <optional>

#include "media/picture.h"
#include "media/placement.h"

// Fails (0) when SDL found no display and fell back to one that shows nothing.
int32_t DisplayInit();
// Whether the video driver SDL chose may be used: the display-less ones only when
// `requested` (SDL_VIDEODRIVER, comma-separated) names them.
bool VideoDriverAllowed(const char* driver, const char* requested);
int32_t ScreenOpenInWindow(intptr_t window, int32_t offsetX, int32_t offsetY, int32_t width,
                           int32_t height, int32_t autoStretch, int32_t rightMargin,
                           int32_t bottomMargin);
void ScreenFlip();
// Shows the back buffer again, as it is, without pacing: when `force`, or when the window
// changed, full screen was switched or the overlay changed. While no frame runs (the game
// is paused) this keeps the window painted and answering F11.
void ScreenRefresh(bool force);
int32_t SetFrameRate(int32_t fps);
void ScreenClose();
void DisplayEnd();

// --- beyond the game's operations: for the replay tool, tests and benchmarks ---

// The back buffer (null while no screen is open). Pixels are 0x00RRGGBB.
Picture* ScreenBackBuffer();
// Presentation pacing on or off (the replay tool runs frames back to back). A setting
// of the process: it outlives DisplayEnd.
void ScreenSetPacing(bool on);
// Whether DisplayInit has succeeded and DisplayEnd has not run since.
bool DisplayIsInitialised();
// How the screen is shown: decided by the video driver and the graphics it reports
// (nothing at all for the drivers without a display), or forced: by this call, else by
// DREEL_PRESENT=framebuffer|renderer (a setting of the process, read when a screen opens).
enum class PresenterChoice { Automatic, Framebuffer, Renderer };
void ScreenChoosePresenter(PresenterChoice choice);
// The choice DREEL_PRESENT's value asks for: Automatic when unset or empty; nullopt when
// it names neither way.
std::optional<PresenterChoice> PresenterChoiceOf(const char* value);
// Fill (the default) or the whole-number scale: a setting of the process.
void ScreenSetScaleMode(ScaleMode mode);
// Whether the screen's window is in full screen now.
bool ScreenFullscreen();
// Whether the player switched full screen (F11, Alt+Enter) since the last call.
bool ScreenTakeFullscreenSwitched();
// Where the picture goes in the window's real pixels now (empty without a screen).
PixelRect ScreenPictureRect();
