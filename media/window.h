// Windows: the table of the game's SDL windows, opened in numbered slots and known to
// the game by handle. The screen (screen.h) shows the back buffer in one of them; the
// events (events.h) come from all of them.
// Depends on SDL2 video. Works headless with SDL_VIDEODRIVER=dummy.
#pragma once

#include <cstdint>

void WindowLibraryInit();
// Returns a non-zero handle on success. Flag bit 0 centres on the desktop.
intptr_t WindowOpen(int32_t slot, int32_t x, int32_t y, int32_t width, int32_t height,
                    uint32_t flags, const char* title);
intptr_t WindowHandle();
void WindowsCloseAll();

// How windows open, from the command line: full screen, or a whole multiple of the
// asked-for size as far as the desktop has room. A setting of the process.
struct WindowStartOptions {
    bool fullscreen = false;
    int32_t scale = 1;
};
void WindowSetStartOptions(const WindowStartOptions& options);

// --- beyond the game's operations: for the replay tool, tests and benchmarks ---

// Whether a window is shown through SDL (false before WindowOpen or after close).
bool WindowIsOpen();
