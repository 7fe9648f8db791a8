#include "game/frame_loop.h"

#include "game/effects.h"
#include "game/enemies.h"
#include "game/hud.h"
#include "game/player.h"
#include "game/shots.h"
#include "game/slots.h"
#include "game/state.h"
#include "media/input.h"
#include "media/sprite.h"
#include "media/screen.h"
#include "runtime/clock.h"

LoopStats loopStats;

void ExamineInput() {
    MouseExamine();
    KeyboardExamine();
}

void DrawBackground() {
    SpriteDraw(kSpriteBackground, 0, 0);
}

void ControlPlayer() {
    if (game.playerDamage < 100)
        UpdatePlayer();
    else
        CheckRestart();
}

void CheckQuit() {
    if (KeyDown(1)) game.quitRequested = 1;
}

void RunFramePhases() {
    ExamineInput();          // 2
    DrawBackground();        // 3
    StampStains();           // 4
    ControlPlayer();         // 5
    UpdateEnemies();         // 6
    RespawnEnemies();        // 7
    UpdateShots();           // 8
    CheckPlayerDeath();      // 9
    UpdateSmoke();           // 10
    DrawHeadsUpText();       // 11
    DrawPlayer();            // 12
    ScreenFlip();            // 13
    PlayRequestedSounds();   // 14
    CheckQuit();             // 15
}

bool RunLoopPass(const Platform& platform) {
    game.nowMs = platform.tickMs();
    if (platform.framesHeld && platform.framesHeld()) {
        // After a pause the frame clock starts again from now: no burst of catch-up frames.
        game.nextFrameTime = game.nowMs;
        game.windowEvent = platform.pollEvent();
        if (game.windowEvent == 16) game.quitRequested = 1;
        else if (game.windowEvent == 0) platform.sleepMs(10);
        return false;
    }
    // Clock readings are compared by their signed difference, so the loop keeps
    // running when the 32-bit millisecond clock passes 2^31 or wraps at 2^32.
    if (ClockAfter(game.nowMs, game.nextFrameTime)) {
        uint32_t late = game.nowMs - game.nextFrameTime - 1;  // due at nextFrameTime + 1
        if (late > loopStats.maxLateMs) loopStats.maxLateMs = late;
        ++loopStats.frames;
        game.nextFrameTime += kFrameMs;
        // More than 40 ms late: drop the backlog instead of racing to catch up.
        if (ClockAfter(game.nowMs, game.nextFrameTime + kFrameMs)) game.nextFrameTime = game.nowMs + kFrameMs;
        platform.runFrame();
        return true;
    }
    game.windowEvent = platform.pollEvent();
    if (game.windowEvent == 16)
        game.quitRequested = 1;
    else if (game.windowEvent == 0)
        platform.sleepMs(1);
    return false;
}

void RunFrameLoop(const Platform& platform) {
    do {
        RunLoopPass(platform);
    } while (game.quitRequested == 0);
}
