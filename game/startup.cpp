#include "game/startup.h"

#include <cstdio>
#include <string>

#include "game/enemies.h"
#include "game/frame_loop.h"
#include "game/player.h"
#include "game/slots.h"
#include "game/state.h"
#include "game/tables.h"
#include "media/events.h"
#include "media/input.h"
#include "media/program_end.h"
#include "media/rotated.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "media/text.h"
#include "media/window.h"
#include "runtime/clock.h"
#include "runtime/errorbox.h"
#include "runtime/random.h"

Platform DefaultPlatform() {
    Platform p{};
    p.tickMs = TickMs;
    p.sleepMs = SleepMs;
    p.seedRandom = RandomSeed;
    p.displayInit = DisplayInit;
    p.rotatedSpritesInit = RotatedSpritesInit;
    p.mouseInit = MouseInit;
    p.keyboardInit = KeyboardInit;
    p.soundInit = SoundInit;
    p.errorBox = ErrorBox;
    p.windowOpen = WindowOpen;
    p.screenOpen = ScreenOpenInWindow;
    p.pollEvent = WindowPollEvent;
    p.loadData = LoadGameData;
    p.runFrame = RunFramePhases;
    p.programEnd = ProgramEnd;
    return p;
}

void LoadGameData() {
    SpriteLoad(kSpriteBackground, "Background.bmp");
    // "Shild1.bmp", the brightest, goes to the highest slot.
    for (int32_t i = 1; i <= 7; ++i) {
        std::string name = "Shild" + std::to_string(i) + ".bmp";
        int32_t slot = kSpriteShieldBrightest + 1 - i;
        SpriteLoad(slot, name.c_str(), 4);
        RotatedSpriteCreate(slot, slot);
    }
    SpriteLoad(kSpriteCannon, "kanone2.bmp", 4);
    RotatedSpriteCreate(kSpriteCannon, kSpriteCannon);
    SpriteLoad(kSpriteBalls, "kugeln.bmp");
    // Select the first 16 x 16 cell at once: otherwise the whole sheet would be the
    // overlap box of the first enemy in the first frame.
    SpriteClip(kSpriteBalls, 0, 0, 16, 16);
    SpriteLoad(kSpriteShot, "shoot.bmp");
    SpriteLoad(kSpriteStain, "Fleck.bmp", 4);
    RotatedSpriteCreate(kSpriteStain, kSpriteStain);
    SpriteLoad(kSpriteSmoke, "rauch.bmp", 4);
    RotatedSpriteCreate(kSpriteSmoke, kSpriteSmoke);

    SoundLoad(kSoundShotLeft, "Shotl.wav");
    SoundLoad(kSoundShotLeft + 1, "Shotr.wav");
    SoundLoad(kSoundFlash, "flash.wav");
    SoundLoad(kSoundBigExplosion, "bigex.wav");
    for (int32_t k = 0; k < 5; ++k) {
        std::string name = "Ex" + std::to_string(k + 1) + ".wav";
        SoundLoad(kSoundFirstExplosion + k, name.c_str());
    }
}

void SetUpPlay(const Platform& platform) {
    game.playerPos = {4000, 3000};
    game.gunSide = 0;
    game.explosionSoundIndex = 0;
    game.playerAngle = 0;
    game.playerDamage = 0;
    game.killCount = 0;
    game.shotsFired = 0;
    game.nowMs = platform.tickMs();
    game.nextFrameTime = game.nowMs;
    game.fireCooldown = 0;
    for (int i = 0; i < 11; ++i) {
        ListAdd(game.enemyList);
        SpawnEnemy();
    }
    game.quitRequested = 0;
}

namespace {

// The end step of a failed start-up. The mouse was never taken, so it is not given back.
bool FailStartUp(const Platform& platform) {
    WaitForTables();
    platform.programEnd();
    return false;
}

bool CheckInit(const Platform& platform, int32_t result, const char* text) {
    if (result != 0) return true;
    platform.errorBox(kErrorTitle, text);
    return false;
}

}  // namespace

bool StartUp(const Platform& platform) {
    ResetGameState();                                     // 1 (lists created empty: 3, 4)
    DrawingInit();                                        // 2
    platform.seedRandom();
    WindowLibraryInit();
    // The fill goes on while the facilities start and the data is read: no frame yet.
    if (!StartFillingTables()) {                          // 5
        // Without the tables no frame could run; say so instead of crashing later.
        std::fprintf(stderr, "%s: not enough memory for the lookup tables\n", kErrorTitle);
        return FailStartUp(platform);
    }

    // 6: the first failing facility ends the program; later ones are never tried.
    if (!CheckInit(platform, platform.displayInit(), "Sprite")) return FailStartUp(platform);
    if (!CheckInit(platform, platform.rotatedSpritesInit(), "Sprite")) return FailStartUp(platform);
    if (!CheckInit(platform, platform.mouseInit(), "Mouse")) return FailStartUp(platform);
    if (!CheckInit(platform, platform.keyboardInit(), "Keyboard")) return FailStartUp(platform);
    if (!CheckInit(platform, platform.soundInit(), "Sound")) return FailStartUp(platform);

    // 7, 8: no box for these, but never a silent failure.
    intptr_t window = platform.windowOpen(1, 0, 0, 800, 600, 0xC80001u, kWindowTitle);
    if (window == 0) {
        std::fprintf(stderr, "%s: the window could not be opened\n", kErrorTitle);
        return FailStartUp(platform);
    }
    if (platform.screenOpen(window, 0, 0, 800, 600, 0, 0, 0) == 0) {
        std::fprintf(stderr, "%s: the screen could not be opened in the window\n", kErrorTitle);
        return FailStartUp(platform);
    }

    platform.loadData();                                  // 9, 10
    // The gamepad's right stick aims through the mouse movement: it must know the turn.
    InputSetAimGeometry({kHeadingLength, kAimLimitX, kAimLimitY});
    MouseRelease(0);                                      // 11
    WaitForTables();
    SetUpPlay(platform);                                  // 12, 13, 14
    return true;
}

int RunGame(const Platform& platform) {
    // A failed start-up is a failure: exit code 1, not 0.
    if (!StartUp(platform)) return 1;
    RunFrameLoop(platform);
    MouseRelease(1);
    platform.programEnd();
    return 0;
}
