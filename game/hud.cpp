#include "game/hud.h"

#include "game/state.h"
#include "media/sound.h"
#include "media/text.h"
#include "runtime/format.h"

void PlayRequestedSounds() {
    // A sound asked for several times in a frame plays once, lowest slot first.
    game.lastPlayedCount = 0;
    for (int32_t i = 0; i < kSoundRequestCount; ++i) {
        if (game.soundRequests[i] == 0) continue;
        SoundPlay(i);
        game.soundRequests[i] = 0;
        game.lastPlayedSounds[game.lastPlayedCount++] = i;
    }
}

std::string BuildHeadsUpText() {
    return FormatDecimal(game.playerDamage) + " " + FormatDecimal(game.killCount) + "/" +
           FormatDecimal(game.shotsFired);
}

void DrawHeadsUpText() {
    std::string text = BuildHeadsUpText();
    DrawBegin(ScreenDrawTarget());  // default font and colours at the top-left corner
    TextDraw(text.c_str());
    DrawEnd();
}
