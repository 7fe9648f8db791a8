#include "media/comfort.h"

#include <SDL.h>

#include <algorithm>

#include "media/events.h"
#include "media/gamepad.h"
#include "media/input.h"
#include "media/overlay.h"
#include "media/screen.h"
#include "media/sound.h"

namespace {

constexpr int32_t kVolumeStep = 10;
constexpr uint32_t kNoteMs = 1500;

struct ComfortContext {
    bool on = false;                 // between ComfortStart and ComfortEnd
    ComfortSettings settings;        // as the player has them now
    bool changed = false;            // volume or mute changed since taken
    bool byPlayer = false;           // paused by the key (or a pad pulled out)
    bool byLeaving = false;          // paused because the window was left
    std::vector<std::string> extra;  // lines under the panel's own
};

ComfortContext ctx;

bool Paused() { return ctx.byPlayer || ctx.byLeaving; }

void ShowPanel() {
    if (!Paused()) return OverlaySetPanel({});
    std::vector<std::string> lines{"Paused", ctx.byPlayer ? "Press P to go on" : "Come back to the window to go on"};
    lines.insert(lines.end(), ctx.extra.begin(), ctx.extra.end());
    OverlaySetPanel(lines);
}

void ApplyVolumeKeys(const ComfortKeys& keys) {
    if (keys.volumeSteps == 0 && keys.muteToggles == 0) return;
    ComfortSettings& s = ctx.settings;
    if (keys.muteToggles % 2) s.muted = !s.muted;
    if (keys.volumeSteps) {
        s.volume = std::clamp(s.volume + kVolumeStep * keys.volumeSteps, 0, 100);
        s.muted = false;  // turning it up or down is meant to be heard
    }
    SoundSetVolume(s.volume, s.muted);
    OverlaySetNote(s.muted ? "Muted" : "Volume " + std::to_string(s.volume) + " %", SDL_GetTicks() + kNoteMs);
    ctx.changed = true;
}

// Moves into or out of the pause after its causes changed.
void Follow(bool wasPaused, bool returned) {
    const bool paused = Paused();
    ShowPanel();
    if (paused == wasPaused) return;
    SoundPause(paused);
    if (paused) InputPause();
    else InputResume(returned);
}

}  // namespace

void ComfortStart(const ComfortSettings& settings) {
    ctx = ComfortContext{};
    ctx.on = true;
    ctx.settings = settings;
    ctx.settings.volume = std::clamp(settings.volume, 0, 100);
    SoundSetVolume(ctx.settings.volume, ctx.settings.muted);
    EventsTakeComfortKeys();  // keys from before the start are not meant
}

ComfortSettings ComfortCurrent() { return ctx.settings; }

bool ComfortTakeChanged() {
    const bool changed = ctx.changed;
    ctx.changed = false;
    return changed;
}

void ComfortSetPanelLines(const std::vector<std::string>& lines) {
    ctx.extra = lines;
    if (Paused()) ShowPanel();
}

bool ComfortFramesHeld() {
    if (!ctx.on) return false;
    const bool wasPaused = Paused();
    const ComfortKeys keys = EventsTakeComfortKeys();
    if (keys.pauseToggles % 2) {
        // The key ends any pause; from play it is the player's.
        if (wasPaused) ctx.byPlayer = ctx.byLeaving = false;
        else ctx.byPlayer = true;
    }
    if (GamepadTakeDriverLost()) ctx.byPlayer = true;
    const bool left = EventsWindowLeft() && ctx.settings.pauseWhenLeft;
    const bool returned = ctx.byLeaving && !left;
    if (left && !ctx.byLeaving && !wasPaused) ctx.byLeaving = true;
    if (!left) ctx.byLeaving = false;
    ApplyVolumeKeys(keys);
    Follow(wasPaused, returned);
    if (Paused()) ScreenRefresh(!wasPaused);
    return Paused();
}

bool ComfortPaused() { return ctx.on && Paused(); }

void ComfortEnd() {
    if (ctx.on && Paused()) SoundPause(false);
    if (ctx.on) SoundSetVolume(100, false);
    OverlaySetPanel({});
    ctx = ComfortContext{};
}
