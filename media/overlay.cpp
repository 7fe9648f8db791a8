#include "media/overlay.h"

#include "media/text.h"

namespace {

constexpr int32_t kNoteTop = 24;    // the note's distance from the picture's top
constexpr int32_t kLineGap = 6;     // between the panel's lines

struct OverlayContext {
    std::vector<std::string> panel;  // lines in the middle; empty: none, not dimmed
    std::string note;                // at the top until noteUntil; empty: none
    uint32_t noteUntil = 0;          // clock reading at which the note goes
    bool changed = false;            // set since the last composition
    bool noteShown = false;          // the last composition showed the note
    Picture composed;                // the copy shown in the picture's place
};

OverlayContext ctx;

bool NoteDue(uint32_t nowMs) {
    return !ctx.note.empty() && static_cast<int32_t>(ctx.noteUntil - nowMs) > 0;
}

void Centred(Picture& p, const std::string& line, int32_t y) {
    const TextSize size = TextMeasure(line.c_str());
    TextDrawOnto(p, (p.width - size.width) / 2, y, line.c_str());
}

}  // namespace

void OverlaySetPanel(const std::vector<std::string>& lines) {
    if (lines == ctx.panel) return;
    ctx.panel = lines;
    ctx.changed = true;
}

void OverlaySetNote(const std::string& note, uint32_t untilMs) {
    ctx.note = note;
    ctx.noteUntil = untilMs;
    ctx.changed = true;
}

bool OverlayChanged(uint32_t nowMs) { return ctx.changed || NoteDue(nowMs) != ctx.noteShown; }

const Picture& OverlayCompose(const Picture& back, uint32_t nowMs) {
    ctx.changed = false;
    ctx.noteShown = NoteDue(nowMs);
    if (ctx.panel.empty() && !ctx.noteShown) {
        ctx.composed = Picture{};
        return back;
    }
    Picture& p = ctx.composed;
    p.width = back.width, p.height = back.height;
    p.pixels.resize(back.pixels.size());
    // Half brightness: each channel shifted down, no carry into its neighbour.
    for (size_t i = 0; i < back.pixels.size(); ++i)
        p.pixels[i] = ctx.panel.empty() ? back.pixels[i] : (back.pixels[i] >> 1) & 0x7F7F7Fu;
    if (ctx.noteShown) Centred(p, ctx.note, kNoteTop);
    const int32_t lineHeight = TextMeasure("Ag").height + kLineGap;
    int32_t y = (p.height - lineHeight * static_cast<int32_t>(ctx.panel.size())) / 2;
    for (const std::string& line : ctx.panel) Centred(p, line, y), y += lineHeight;
    return p;
}

void OverlayReset() { ctx = OverlayContext{}; }
