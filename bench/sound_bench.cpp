// Sound costs: loading and converting a sound, one play request, and the time from a
// play request to the mixed buffer that carries the sound's first sample. Runs on the
// dummy audio driver unless SDL_AUDIODRIVER names another.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "media/sound.h"

namespace {

using Clock = std::chrono::steady_clock;

void Put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void PutTag(std::vector<uint8_t>& b, const char* t) { b.insert(b.end(), t, t + 4); }

// A mono 16-bit file of `frames` samples of `value` at `rate`.
std::string WriteWave(const char* name, uint32_t rate, uint32_t frames, int16_t value) {
    std::vector<uint8_t> b;
    PutTag(b, "RIFF");
    Put32(b, 36 + frames * 2);
    PutTag(b, "WAVE");
    PutTag(b, "fmt ");
    Put32(b, 16);
    Put16(b, 1);
    Put16(b, 1);
    Put32(b, rate);
    Put32(b, rate * 2);
    Put16(b, 2);
    Put16(b, 16);
    PutTag(b, "data");
    Put32(b, frames * 2);
    for (uint32_t i = 0; i < frames; ++i) Put16(b, static_cast<uint16_t>(value));
    const char* dir = std::getenv("TMPDIR");
    const std::string path = std::string(dir ? dir : "/tmp") + "/" + name;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(b.data(), 1, b.size(), f);
        std::fclose(f);
    }
    return path;
}

struct AudioSession {
    AudioSession() {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        ok = SoundInit() != 0;
    }
    ~AudioSession() { SoundEnd(); }
    bool ok = false;
};

void BM_SoundLoadOneSecondAt22050(benchmark::State& state) {
    AudioSession audio;
    if (!audio.ok) return state.SkipWithError("no audio device");
    const std::string file = WriteWave("dreel_bench_22k.wav", 22050, 22050, 1000);
    for (auto _ : state) benchmark::DoNotOptimize(SoundLoad(0, file.c_str()));
}
BENCHMARK(BM_SoundLoadOneSecondAt22050)->Unit(benchmark::kMillisecond);

void BM_SoundPlayRequest(benchmark::State& state) {
    AudioSession audio;
    if (!audio.ok) return state.SkipWithError("no audio device");
    SoundLoad(0, WriteWave("dreel_bench_play.wav", 44100, 4410, 1000).c_str());
    for (auto _ : state) SoundPlay(0);
}
BENCHMARK(BM_SoundPlayRequest)->Unit(benchmark::kMicrosecond);

struct Ear {
    std::atomic<bool> armed{false};
    std::atomic<bool> lastSilent{false};
    std::atomic<int64_t> heardAt{0};
    static void Listen(void* user, const int16_t* frames, int32_t count) {
        auto* ear = static_cast<Ear*>(user);
        bool silent = true;
        for (int32_t i = 0; i < count * 2 && silent; ++i) silent = frames[i] == 0;
        if (!silent && ear->armed.exchange(false))
            ear->heardAt.store(Clock::now().time_since_epoch().count());
        ear->lastSilent.store(silent);
    }
};

// Goal: under one mix buffer (11.6 ms) from the request to the buffer that carries it.
void BM_SoundPlayToMixedBuffer(benchmark::State& state) {
    AudioSession audio;
    if (!audio.ok) return state.SkipWithError("no audio device");
    SoundLoad(0, WriteWave("dreel_bench_click.wav", 44100, 64, 8000).c_str());
    Ear ear;
    SoundSetMixObserver(Ear::Listen, &ear);
    for (auto _ : state) {
        ear.lastSilent.store(false);
        while (!ear.lastSilent.load()) std::this_thread::sleep_for(std::chrono::microseconds(200));  // the mixer runs
        // Somewhere within a buffer period, as a game frame would land.
        std::this_thread::sleep_for(std::chrono::microseconds(1000 + 997 * (state.iterations() % 10)));
        ear.heardAt.store(0);
        ear.armed.store(true);
        const auto start = Clock::now();
        SoundPlay(0);
        while (ear.heardAt.load() == 0) {
            if (Clock::now() - start > std::chrono::seconds(2)) return state.SkipWithError("the sound never came");
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        const Clock::time_point heard{Clock::duration{ear.heardAt.load()}};
        state.SetIterationTime(std::chrono::duration<double>(heard - start).count());
    }
    SoundSetMixObserver(nullptr, nullptr);
}
BENCHMARK(BM_SoundPlayToMixedBuffer)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
