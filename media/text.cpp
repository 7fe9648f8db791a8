// Text drawing. Provides the screen's drawing target, drawing blocks and TextDraw: one
// built-in monospaced font, black on an opaque white box as high as the line and as
// wide as the text, written into the back buffer at a running position that starts at
// the top-left corner in every block.
// Limits: only the screen's back buffer is a target (no window targets); texts are
// 8-bit Latin-1; a few recently drawn texts are kept ready-made, so a line that does not
// change from frame to frame costs one copy.
// Depends on SDL2_ttf, draw_target.h (the back buffer) and embedded_font.h.
#include "media/text.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "media/draw_target.h"
#include "media/embedded_font.h"

namespace {

constexpr int kFontSize = 13;  // about the height of the system font of old desktops
constexpr size_t kCacheSize = 8;
constexpr int32_t kScreenKind = 7;

struct RenderedText {
    std::string text;
    int32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, the white box with the black text
};

struct TextContext {
    DrawTarget screenTarget;  // the screen's record, handed out by ScreenDrawTarget
    bool ttfHeld = false;
    TTF_Font* font = nullptr;
    bool screenTaken = false;  // the screen's target is handed out until the block ends
    bool blockOpen = false;
    int64_t penX = 0;
    std::vector<RenderedText> cache;
    size_t nextSlot = 0;  // the cache entry replaced next
};

TextContext ctx;

TTF_Font* Font() {
    if (ctx.font) return ctx.font;
    if (!ctx.ttfHeld) {
        if (TTF_Init() != 0) return nullptr;
        ctx.ttfHeld = true;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(kEmbeddedFont, static_cast<int>(kEmbeddedFontSize));
    if (rw) ctx.font = TTF_OpenFontRW(rw, 1, kFontSize);
    return ctx.font;
}

bool Render(const char* text, RenderedText& out) {
    TTF_Font* font = Font();
    if (!font) return false;
    SDL_Color black{0, 0, 0, 255}, white{255, 255, 255, 255};
    SDL_Surface* s = TTF_RenderText_Shaded(font, text, black, white);
    if (!s) return false;
    bool ok = s->format->BytesPerPixel == 1 && s->format->palette && SDL_LockSurface(s) == 0;
    if (ok) {
        out.text = text;
        out.width = s->w;
        out.height = s->h;
        out.pixels.resize(static_cast<size_t>(s->w) * static_cast<size_t>(s->h));
        const SDL_Palette& palette = *s->format->palette;
        for (int y = 0; y < s->h; ++y) {
            const uint8_t* row = static_cast<const uint8_t*>(s->pixels) + static_cast<size_t>(y) * s->pitch;
            for (int x = 0; x < s->w; ++x) {
                SDL_Color c = row[x] < palette.ncolors ? palette.colors[row[x]] : white;
                out.pixels[static_cast<size_t>(y) * s->w + x] = (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
            }
        }
        SDL_UnlockSurface(s);
    }
    SDL_FreeSurface(s);
    return ok;
}

const RenderedText* Rendered(const char* text) {
    for (const RenderedText& r : ctx.cache)
        if (r.text == text) return &r;
    RenderedText fresh;
    if (!Render(text, fresh)) return nullptr;
    if (ctx.cache.size() < kCacheSize) {
        ctx.cache.push_back(std::move(fresh));
        return &ctx.cache.back();
    }
    RenderedText& slot = ctx.cache[ctx.nextSlot];
    ctx.nextSlot = (ctx.nextSlot + 1) % kCacheSize;
    slot = std::move(fresh);
    return &slot;
}

void Blit(const RenderedText& r, Picture& target, int64_t x, int64_t y = 0) {
    const int64_t left = std::max<int64_t>(x, 0), right = std::min<int64_t>(x + r.width, target.width);
    const int64_t top = std::max<int64_t>(y, 0), bottom = std::min<int64_t>(y + r.height, target.height);
    if (left >= right) return;
    for (int64_t row = top; row < bottom; ++row)
        std::memcpy(target.Row(static_cast<int32_t>(row)) + left,
                    r.pixels.data() + static_cast<size_t>(row - y) * r.width + (left - x),
                    static_cast<size_t>(right - left) * sizeof(uint32_t));
}

}  // namespace

void DrawingInit() { Font(); }

DrawTarget* ScreenDrawTarget() {
    if (ctx.screenTaken || !CurrentTarget()) return nullptr;
    ctx.screenTaken = true;
    ctx.screenTarget = DrawTarget{};
    ctx.screenTarget.kind = kScreenKind;
    return &ctx.screenTarget;
}

void* DrawBegin(DrawTarget* target) {
    DrawEnd();
    if (!target || target != &ctx.screenTarget || !ctx.screenTaken) return nullptr;
    ctx.blockOpen = true;
    ctx.penX = 0;
    return &ctx;
}

void TextDraw(const char* text) {
    if (!ctx.blockOpen || !text || !*text) return;
    Picture* target = CurrentTarget();
    const RenderedText* r = target ? Rendered(text) : nullptr;
    if (!r) return;  // the text is missing from this frame, nothing worse
    Blit(*r, *target, ctx.penX);
    ctx.penX += r->width;
}

void TextDrawOnto(Picture& target, int32_t x, int32_t y, const char* text) {
    if (!text || !*text) return;
    if (const RenderedText* r = Rendered(text)) Blit(*r, target, x, y);
}

void DrawEnd() {
    if (!ctx.blockOpen) return;
    ctx.blockOpen = false;
    ctx.screenTaken = false;
}

void DrawReleaseScreen() {
    DrawEnd();
    ctx.screenTaken = false;
}

void DrawingEnd() {
    if (ctx.font) TTF_CloseFont(ctx.font);
    if (ctx.ttfHeld) TTF_Quit();
    ctx = TextContext{};
}

TextSize TextMeasure(const char* text) {
    TextSize size;
    TTF_Font* font = Font();
    int w = 0, h = 0;
    if (font && text && TTF_SizeText(font, text, &w, &h) == 0) {
        size.width = w;
        size.height = h;
    }
    return size;
}
