// Presenter: shows the back buffer in a window, in the rectangle the screen chooses,
// with black bars around it, scaled sharp (sharp_scale.h) or by the nearest pixel. Two ways:
// - the window's own framebuffer, filled by our own scaling pass. On X11 this is a
//   shared-memory image: no 3-D driver and none of its helper threads, so an idle game
//   stays cheap on machines without a graphics card. X11 offers it no vertical sync.
// - an SDL renderer with a streaming texture, presented in step with the display's
//   refresh where the driver can (no tearing); sharp scaling is a nearest copy to the
//   whole-number multiple above on a target texture, then a linear draw. Its output is in
//   real pixels, so HiDPI screens are used at their full size. It may be asked for only
//   where a graphics card draws it: a software renderer (SDL's own, or Mesa's llvmpipe,
//   softpipe or swrast under GL) is then given up for the framebuffer.
// Limits: one window at a time; a framebuffer whose pixels are not 32-bit XRGB is
// filled through SDL's slower scaled blit. A third way shows nothing, for drivers that
// have no display.
// Depends on SDL2 video and render, picture.h, placement.h and sharp_scale.h.
#pragma once

#include <SDL.h>

#include "media/picture.h"
#include "media/placement.h"
#include "media/sharp_scale.h"

// None: the window is known (for full screen) but nothing is shown in it.
enum class PresenterKind { None, Framebuffer, Renderer, HardwareRenderer };

struct Presenter {
    SDL_Window* window = nullptr;
    SDL_Surface* source = nullptr;      // framebuffer: made for the back buffer; marks the framebuffer way
    SDL_Renderer* renderer = nullptr;   // renderer: its own, with vsync when offered; null: framebuffer
    SDL_Texture* texture = nullptr;     // renderer: the back buffer's copy on the graphics side
    bool wholeWindowStale = true;       // framebuffer: bars to repaint, whole window to send
    SDL_Surface* lastTarget = nullptr;  // framebuffer: the surface the bars were painted on
    PixelRect lastRect;                 // framebuffer: where the picture went last time
    SharpScaler sharp;                  // framebuffer: the sharp pass's tables for the size
    SDL_Texture* prescaled = nullptr;   // renderer: the whole-number multiple, for sharp scaling
    int prescale = 0;                   // renderer: its factor; 0: none made
    bool targets = false;               // renderer: can draw into textures
};

// Whether a GL renderer string names a software rasteriser.
bool IsSoftwareGl(const char* glRenderer);

// Prepares `window` to show `picture` (whose pixels must outlive the presenter). A
// renderer that cannot be made falls back to the framebuffer. False if neither works.
bool PresenterCreate(Presenter* p, SDL_Window* window, const Picture& picture, PresenterKind kind);
// The output's size in real pixels (0 x 0 when there is nothing to draw on).
void PresenterOutputSize(Presenter* p, int* w, int* h);
// Shows the picture at `rect` (output pixels), black elsewhere; `sharp`: scaled sharp,
// else by the nearest pixel.
void PresenterShow(Presenter* p, const Picture& picture, PixelRect rect, bool sharp);
// The window changed size, was shown again or was uncovered: repaint everything next time.
void PresenterWindowChanged(Presenter* p);
void PresenterRelease(Presenter* p);
