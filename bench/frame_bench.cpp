// Whole frames of the real game, headless: every phase from the input examination to
// the sound dispatch, drawing and presentation included, with the frame pacing off.
// The scene is reached by replaying input (fire held while the cannon sweeps round)
// until the player has died: shots in flight, the death's eleven smoke clouds and their
// puffs, the kills' clouds, eleven fresh stains to stamp. Each iteration puts that
// moment back and runs the following frames.
// Goal: under 1 ms a frame (5 % of the 20 ms frame).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "game/frame_loop.h"
#include "game/startup.h"
#include "game/state.h"
#include "media/input.h"
#include "media/screen.h"
#include "runtime/random.h"

namespace {

constexpr uint32_t kSeed = 5;
constexpr int kFramesPerIteration = 20;

void SeedFixed() { RandomSeedWith(kSeed); }

// A list copied record by record; the current element is kept by its position, since
// it decides where the next ListAdd inserts.
template <typename T>
struct ListCopy {
    std::vector<T> records;
    int current = -1;

    void Take(const ObjectList<T>& list) {
        records.clear();
        current = -1;
        for (const ListElement<T>* e = list.first; e; e = e->next) {
            if (e == list.current) current = static_cast<int>(records.size());
            records.push_back(e->record);
        }
    }
    void Put(ObjectList<T>& list) const {
        ListInit(list);
        T* at = nullptr;
        for (size_t i = 0; i < records.size(); ++i) {
            T* r = ListAdd(list);
            *r = records[i];
            if (static_cast<int>(i) == current) at = r;
        }
        ListSetCurrent(list, at);
    }
};

// Everything a frame reads from the game's state and the random generator.
struct Moment {
    GameState scalars;  // lists left empty
    RandomState random;
    ListCopy<DamageFlash> flashes;
    ListCopy<Enemy> enemies;
    ListCopy<Shot> shots;
    ListCopy<Stain> stains;
    ListCopy<Smoke> smoke;
    ListCopy<Puff> puffs;

    void Take() {
        CopyScalars(game, scalars);
        random = randomState;
        flashes.Take(game.damageFlashList);
        enemies.Take(game.enemyList);
        shots.Take(game.shotList);
        stains.Take(game.stainList);
        smoke.Take(game.smokeList);
        puffs.Take(game.puffList);
    }
    void Put() const {
        CopyScalars(scalars, game);
        randomState = random;
        flashes.Put(game.damageFlashList);
        enemies.Put(game.enemyList);
        shots.Put(game.shotList);
        stains.Put(game.stainList);
        smoke.Put(game.smokeList);
        puffs.Put(game.puffList);
    }
    static void CopyScalars(const GameState& from, GameState& to) {
        to.nowMs = from.nowMs;
        to.nextFrameTime = from.nextFrameTime;
        to.quitRequested = from.quitRequested;
        to.windowEvent = from.windowEvent;
        to.playerPos = from.playerPos;
        to.playerVel = from.playerVel;
        to.playerAngle = from.playerAngle;
        to.playerDamage = from.playerDamage;
        to.headingRad = from.headingRad;
        to.aimOffset = from.aimOffset;
        to.aimPoint = from.aimPoint;
        to.playerFront = from.playerFront;
        to.playerRear = from.playerRear;
        to.fireCooldown = from.fireCooldown;
        to.gunSide = from.gunSide;
        to.shotsFired = from.shotsFired;
        to.killCount = from.killCount;
        to.explosionSoundIndex = from.explosionSoundIndex;
        for (int i = 0; i < kSoundRequestCount; ++i) {
            to.soundRequests[i] = from.soundRequests[i];
            to.lastPlayedSounds[i] = from.lastPlayedSounds[i];
        }
        to.lastPlayedCount = from.lastPlayedCount;
    }
};

void Frame(const InputFrame& input) {
    InputSetFrame(input);
    RunFramePhases();
}

// Starts the game once per process and plays it to the moment wanted.
struct Scene {
    Moment afterDeath;   // the frame after the death: stains pending, smoke everywhere
    Moment playing;      // alive, firing, a few kills behind it
    bool ready = false;
    int deathFrame = 0;

    Scene() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (chdir(DREEL_DATA_DIR) != 0) return;
        Platform platform = DefaultPlatform();
        platform.seedRandom = SeedFixed;
        if (!StartUp(platform)) return;
        ScreenSetPacing(false);
        InputSetScripted(true);

        InputFrame sweep;  // turn a little each frame, fire held
        sweep.dy = 5;
        sweep.buttons[0] = 1;
        for (int frame = 1; frame <= 20000; ++frame) {
            Frame(sweep);
            if (frame == 300) playing.Take();
            if (game.playerDamage >= 100) {
                deathFrame = frame;
                afterDeath.Take();
                ready = true;
                return;
            }
        }
    }
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void RunFrames(benchmark::State& state, const Moment& start, const InputFrame& input) {
    int64_t frames = 0;
    size_t shots = 0, puffs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        start.Put();
        state.ResumeTiming();
        for (int i = 0; i < kFramesPerIteration; ++i) Frame(input);
        frames += kFramesPerIteration;
        shots = static_cast<size_t>(ListCount(game.shotList));
        puffs = static_cast<size_t>(ListCount(game.puffList));
    }
    // Seconds per frame (CPU time, as Google Benchmark's rates are), shown with a prefix.
    state.counters["per_frame"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["shots_end"] = static_cast<double>(shots);
    state.counters["puffs_end"] = static_cast<double>(puffs);
}

// The heavy scene: the twenty frames after the player's death.
void BM_FramesAfterDeath(benchmark::State& state) {
    Scene& scene = TheScene();
    if (!scene.ready) {
        state.SkipWithError("the scene could not be played (data folder, start-up or no death)");
        return;
    }
    state.counters["death_frame"] = scene.deathFrame;
    state.counters["shots_start"] = static_cast<double>(scene.afterDeath.shots.records.size());
    state.counters["smoke_start"] = static_cast<double>(scene.afterDeath.smoke.records.size());
    state.counters["puffs_start"] = static_cast<double>(scene.afterDeath.puffs.records.size());
    RunFrames(state, scene.afterDeath, InputFrame{});
}
BENCHMARK(BM_FramesAfterDeath)->Unit(benchmark::kMillisecond);

// For comparison: ordinary play, firing and turning.
void BM_FramesPlaying(benchmark::State& state) {
    Scene& scene = TheScene();
    if (!scene.ready) {
        state.SkipWithError("the scene could not be played");
        return;
    }
    InputFrame sweep;
    sweep.dy = 5;
    sweep.buttons[0] = 1;
    RunFrames(state, scene.playing, sweep);
}
BENCHMARK(BM_FramesPlaying)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
