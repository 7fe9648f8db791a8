#include "media/presenter.h"

#include <SDL_opengl.h>

#include <algorithm>

bool IsSoftwareGl(const char* glRenderer) {
    if (!glRenderer) return true;
    for (const char* name : {"llvmpipe", "softpipe", "swrast", "software rasterizer"})
        for (const char* at = glRenderer; *at; ++at)
            if (SDL_strncasecmp(at, name, SDL_strlen(name)) == 0) return true;
    return false;
}

namespace {

// Whether the renderer draws with a graphics card: not SDL's software one, and under GL
// not one of Mesa's software rasterisers (asked of the renderer's own context).
bool DrawsInHardware(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || (info.flags & SDL_RENDERER_ACCELERATED) == 0) return false;
    if (SDL_strcmp(info.name, "software") == 0) return false;
    if (SDL_strncmp(info.name, "opengl", 6) != 0) return true;
    using GetString = const GLubyte*(APIENTRY*)(GLenum);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    return getString && !IsSoftwareGl(reinterpret_cast<const char*>(getString(GL_RENDERER)));
}

bool IsXrgb(const SDL_PixelFormat* f) {
    return f->BytesPerPixel == 4 && f->Rmask == 0xFF0000u && f->Gmask == 0xFF00u && f->Bmask == 0xFFu;
}

bool CreateRenderer(Presenter* p, const Picture& picture) {
    p->renderer = SDL_CreateRenderer(p->window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!p->renderer) p->renderer = SDL_CreateRenderer(p->window, -1, 0);
    if (p->renderer)
        p->texture = SDL_CreateTexture(p->renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                       picture.width, picture.height);
    if (!p->texture) return false;
    SDL_SetTextureBlendMode(p->texture, SDL_BLENDMODE_NONE);
    SDL_RendererInfo info;
    p->targets = SDL_GetRendererInfo(p->renderer, &info) == 0 && (info.flags & SDL_RENDERER_TARGETTEXTURE) != 0;
    return true;
}

// The texture at `factor` times the picture, made anew when the factor changes; null
// when the renderer cannot make it.
SDL_Texture* Prescaled(Presenter* p, const Picture& picture, int factor) {
    if (p->prescale == factor) return p->prescaled;
    if (p->prescaled) SDL_DestroyTexture(p->prescaled);
    p->prescaled = SDL_CreateTexture(p->renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET,
                                     picture.width * factor, picture.height * factor);
    p->prescale = factor;
    if (p->prescaled) {
        SDL_SetTextureBlendMode(p->prescaled, SDL_BLENDMODE_NONE);
        SDL_SetTextureScaleMode(p->prescaled, SDL_ScaleModeLinear);
    }
    return p->prescaled;
}

// Sharp: the nearest copy to the whole-number multiple at or above the rectangle, then a
// linear draw down to it; a shrink is linear from the picture. Nearest otherwise, and
// wherever the multiple cannot be drawn into.
void DrawPicture(Presenter* p, const Picture& picture, const SDL_Rect& to, bool sharp) {
    const int factor = std::max({1, (to.w + picture.width - 1) / picture.width, (to.h + picture.height - 1) / picture.height});
    const bool whole = to.w == picture.width * factor && to.h == picture.height * factor;
    SDL_Texture* big = sharp && !whole && factor > 1 && p->targets ? Prescaled(p, picture, factor) : nullptr;
    SDL_SetTextureScaleMode(p->texture, sharp && !whole && factor == 1 ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    if (big && SDL_SetRenderTarget(p->renderer, big) == 0) {
        SDL_RenderCopy(p->renderer, p->texture, nullptr, nullptr);
        SDL_SetRenderTarget(p->renderer, nullptr);
        SDL_RenderCopy(p->renderer, big, nullptr, &to);
    } else {
        SDL_RenderCopy(p->renderer, p->texture, nullptr, &to);
    }
}

void ShowThroughRenderer(Presenter* p, const Picture& picture, PixelRect rect, bool sharp) {
    SDL_UpdateTexture(p->texture, nullptr, picture.pixels.data(), picture.width * 4);
    SDL_SetRenderDrawColor(p->renderer, 0, 0, 0, 255);
    SDL_RenderClear(p->renderer);
    if (rect.w > 0 && rect.h > 0) DrawPicture(p, picture, SDL_Rect{rect.x, rect.y, rect.w, rect.h}, sharp);
    SDL_RenderPresent(p->renderer);
}

void ShowThroughFramebuffer(Presenter* p, const Picture& picture, PixelRect rect, bool sharp) {
    // Fetched every time: the window system hands out a new one after a change of size.
    SDL_Surface* target = SDL_GetWindowSurface(p->window);
    if (!target || target->w <= 0 || target->h <= 0) return;
    const bool whole = p->wholeWindowStale || target != p->lastTarget || !(rect == p->lastRect);
    const SDL_Rect to{rect.x, rect.y, rect.w, rect.h};
    if (IsXrgb(target->format) && SDL_LockSurface(target) == 0) {
        const PixelBlock block{static_cast<uint32_t*>(target->pixels), target->w, target->h, target->pitch / 4};
        if (whole) FillOutside(block, rect, 0);
        if (sharp) {
            SharpScalerPrepare(&p->sharp, picture.width, picture.height, block, rect);
            SharpScale(&p->sharp, picture.pixels.data(), block);
        } else {
            ScalePixels(picture.pixels.data(), picture.width, picture.height, block, rect);
        }
        SDL_UnlockSurface(target);
    } else {
        if (whole) SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
        SDL_Rect scaled = to;
        // The picture shown may be another than the one the presenter was made for (the overlay's copy).
        SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(picture.pixels.data()),
                                                                 picture.width, picture.height, 32, picture.width * 4,
                                                                 SDL_PIXELFORMAT_RGB888);
        if (source && rect.w > 0 && rect.h > 0) {
            SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
            SDL_BlitScaled(source, nullptr, target, &scaled);
        }
        SDL_FreeSurface(source);
    }
    // The bars stay as painted: only the picture's part goes out, unless the window changed.
    if (whole || rect.w <= 0 || rect.h <= 0)
        SDL_UpdateWindowSurface(p->window);
    else
        SDL_UpdateWindowSurfaceRects(p->window, &to, 1);
    p->wholeWindowStale = false;
    p->lastTarget = target;
    p->lastRect = rect;
}

}  // namespace

bool PresenterCreate(Presenter* p, SDL_Window* window, const Picture& picture, PresenterKind kind) {
    PresenterRelease(p);
    p->window = window;
    if (kind == PresenterKind::None) return true;
    if (kind == PresenterKind::Renderer || kind == PresenterKind::HardwareRenderer) {
        if (CreateRenderer(p, picture) && (kind == PresenterKind::Renderer || DrawsInHardware(p->renderer)))
            return true;
        PresenterRelease(p);
        p->window = window;
    }
    // Const only in name: SDL wants a writable pointer, and the blit only reads it.
    p->source = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(picture.pixels.data()), picture.width,
                                                   picture.height, 32, picture.width * 4, SDL_PIXELFORMAT_RGB888);
    if (!p->source || !SDL_GetWindowSurface(window)) {
        PresenterRelease(p);
        return false;
    }
    SDL_SetSurfaceBlendMode(p->source, SDL_BLENDMODE_NONE);
    return true;
}

void PresenterOutputSize(Presenter* p, int* w, int* h) {
    *w = *h = 0;
    if (p->renderer) {
        SDL_GetRendererOutputSize(p->renderer, w, h);
    } else if (p->source) {  // not without: asking SDL for the surface would make one
        if (SDL_Surface* target = SDL_GetWindowSurface(p->window)) *w = target->w, *h = target->h;
    }
}

void PresenterShow(Presenter* p, const Picture& picture, PixelRect rect, bool sharp) {
    if (p->renderer && p->texture) ShowThroughRenderer(p, picture, rect, sharp);
    else if (p->source) ShowThroughFramebuffer(p, picture, rect, sharp);
}

void PresenterWindowChanged(Presenter* p) { p->wholeWindowStale = true; }

void PresenterRelease(Presenter* p) {
    if (p->prescaled) SDL_DestroyTexture(p->prescaled);
    if (p->texture) SDL_DestroyTexture(p->texture);
    if (p->renderer) SDL_DestroyRenderer(p->renderer);
    if (p->source) SDL_FreeSurface(p->source);
    *p = Presenter{};
}
