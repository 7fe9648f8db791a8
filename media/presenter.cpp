#include "media/presenter.h"

namespace {

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
    SDL_SetTextureScaleMode(p->texture, SDL_ScaleModeNearest);  // crisp pixels, no blur
    SDL_SetTextureBlendMode(p->texture, SDL_BLENDMODE_NONE);
    return true;
}

void ShowThroughRenderer(Presenter* p, const Picture& picture, PixelRect rect) {
    SDL_UpdateTexture(p->texture, nullptr, picture.pixels.data(), picture.width * 4);
    SDL_SetRenderDrawColor(p->renderer, 0, 0, 0, 255);
    SDL_RenderClear(p->renderer);
    const SDL_Rect to{rect.x, rect.y, rect.w, rect.h};
    if (rect.w > 0 && rect.h > 0) SDL_RenderCopy(p->renderer, p->texture, nullptr, &to);
    SDL_RenderPresent(p->renderer);
}

void ShowThroughFramebuffer(Presenter* p, const Picture& picture, PixelRect rect) {
    // Fetched every time: the window system hands out a new one after a change of size.
    SDL_Surface* target = SDL_GetWindowSurface(p->window);
    if (!target || target->w <= 0 || target->h <= 0) return;
    const bool whole = p->wholeWindowStale || target != p->lastTarget || !(rect == p->lastRect);
    const SDL_Rect to{rect.x, rect.y, rect.w, rect.h};
    if (IsXrgb(target->format) && SDL_LockSurface(target) == 0) {
        const PixelBlock block{static_cast<uint32_t*>(target->pixels), target->w, target->h, target->pitch / 4};
        if (whole) FillOutside(block, rect, 0);
        ScalePixels(picture.pixels.data(), picture.width, picture.height, block, rect);
        SDL_UnlockSurface(target);
    } else {
        if (whole) SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
        SDL_Rect scaled = to;
        if (rect.w > 0 && rect.h > 0) SDL_BlitScaled(p->source, nullptr, target, &scaled);
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
    if (kind == PresenterKind::Renderer) {
        if (CreateRenderer(p, picture)) return true;
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

void PresenterShow(Presenter* p, const Picture& picture, PixelRect rect) {
    if (p->renderer && p->texture) ShowThroughRenderer(p, picture, rect);
    else if (p->source) ShowThroughFramebuffer(p, picture, rect);
}

void PresenterWindowChanged(Presenter* p) { p->wholeWindowStale = true; }

void PresenterRelease(Presenter* p) {
    if (p->texture) SDL_DestroyTexture(p->texture);
    if (p->renderer) SDL_DestroyRenderer(p->renderer);
    if (p->source) SDL_FreeSurface(p->source);
    *p = Presenter{};
}
