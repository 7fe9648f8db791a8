// Sound on SDL's dummy audio driver: conversion at load, the slots, and our mixer as heard through the
// mix observer on the audio thread.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <thread>

#include "media/sound.h"
#include "test_support.h"
#include "wave_bytes.h"

// Interleaved 16-bit stereo frames of one value: the output format, mixed as it is.
static Bytes Constant(int16_t value, int32_t frames) {
    Bytes b;
    for (int32_t i = 0; i < 2 * frames; ++i) b.insert(b.end(), {uint8_t(value), uint8_t(value >> 8)});
    return b;
}
// Something was heard, then four buffers of silence.
static bool QuietAgain(const std::vector<int16_t>& s) {
    const auto last = std::find_if(s.rbegin(), s.rend(), [](int16_t v) { return v != 0; });
    return last != s.rend() && last - s.rbegin() >= 8 * kSoundBufferFrames;
}

class Sound : public ::testing::Test {
protected:
    void SetUp() override { SoundSetVolume(100, false); ASSERT_NE(SoundInit(), 0); SoundSetMixObserver(Heard, this); }
    void TearDown() override { SoundEnd(); }
    // Each mixed buffer, on the audio thread.
    static void Heard(void* self, const int16_t* frames, int32_t count) {
        auto& t = *static_cast<Sound*>(self);
        std::lock_guard lock(t.mutex);
        t.heard.insert(t.heard.end(), frames, frames + 2 * count);
    }
    // What was heard once `done` holds for it, or after ten seconds.
    std::vector<int16_t> HeardUntil(bool (*done)(const std::vector<int16_t>&)) {
        for (int wait = 0;; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            std::lock_guard lock(mutex);
            if (wait == 1000 || done(heard)) return heard;
        }
    }
    std::string Wave(const Bytes& format, const Bytes& samples) {
        const std::string path = folder / ("sound" + std::to_string(files++) + ".wav");
        support::WriteBytes(path, Riff({Chunk("fmt ", format), Chunk("data", samples)}));
        return path;
    }
    int32_t Load(int32_t slot, int16_t value, int32_t frames) { return SoundLoad(slot, Wave(Format(1, 2, kSoundRate, 16), Constant(value, frames)).c_str()); }
    support::TempFolder folder;
    int files = 0;
    std::mutex mutex;
    std::vector<int16_t> heard;
};

TEST_F(Sound, LoadsConvertTo44100HzStereoIntoBoundedSlotsAndTheEndEmptiesThem) {
    // A tenth of a second at 8 kHz, a twentieth at 96 kHz, and the output format itself.
    EXPECT_EQ(SoundLoad(0, Wave(Format(1, 1, 8000, 8), Bytes(800, 0x80)).c_str()), 1);
    EXPECT_EQ(SoundLoad(1, Wave(Format(1, 2, 96000, 16), Bytes(4800 * 4, 0)).c_str()), 1);
    EXPECT_EQ(Load(kSoundMaxSlot, 7, 300), 1);  // the table grows
    EXPECT_EQ((std::array{SoundFrames(0), SoundFrames(1), SoundFrames(kSoundMaxSlot)}), (std::array{4410, 2205, 300}));
    EXPECT_EQ((std::array{Load(-1, 7, 300), Load(kSoundMaxSlot + 1, 7, 300)}), (std::array{0, 0}));
    EXPECT_EQ(SoundLoad(kSoundMaxSlot, Wave(Format(2, 1, 22050, 4, 256), Bytes(512, 1)).c_str()), 0);  // ADPCM
    EXPECT_EQ(SoundFrames(kSoundMaxSlot), 300) << "a failed load keeps the slot";
    SoundEnd();
    EXPECT_EQ((std::array{SoundFrames(kSoundMaxSlot), Load(0, 7, 300)}), (std::array{0, 0})) << "no device, no slots";
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "the device and SDL's audio were left open";
}

TEST_F(Sound, VoicesWaitForAPlayAreSummedClippedAndEndAfterTheirLastFrame) {
    ASSERT_EQ(Load(0, 20000, 4410) + Load(1, 20000, 4410), 2);
    // Empty slots and slots past the table's end, its first one past included, are no sound.
    for (int32_t slot = 2; slot <= kSoundMaxSlot + 64; ++slot) SoundPlay(slot);
    for (int32_t slot : {-1, INT32_MIN, INT32_MAX}) SoundPlay(slot);
    const auto before = HeardUntil([](const std::vector<int16_t>& s) { return s.size() >= 8u * kSoundBufferFrames; });
    EXPECT_EQ(std::count(before.begin(), before.end(), 0), long(before.size())) << "played unasked";
    SoundPlay(0);
    SoundPlay(1);
    const auto all = HeardUntil(QuietAgain);
    const long one = std::count(all.begin(), all.end(), 20000), both = std::count(all.begin(), all.end(), 32767);
    EXPECT_EQ(one + both + std::count(all.begin(), all.end(), 0), long(all.size())) << "a value neither voice makes";
    EXPECT_GT(both, 0) << "20000 + 20000 clips to 32767";
    EXPECT_EQ(one + 2 * both, 2 * 2 * 4410) << "every sample of both voices, once";
}

// The volume is a gain on the sum before it saturates: two voices of one value, started one after
// the other, are heard as that value times the gain alone, then both together, saturated.
TEST_F(Sound, TheVolumeScalesTheSumBeforeItSaturatesAndMuteSilences) {
    ASSERT_EQ(Load(0, 20000, 2205) + Load(1, 20000, 2205) + Load(2, -30000, 2205) + Load(3, -30000, 2205), 4);
    const struct { int32_t percent; bool muted; int32_t slot; int16_t one, both; } cases[] = {
        {100, false, 0, 20000, 32767}, {100, false, 2, -30000, -32768}, {50, false, 0, 10000, 20000},
        {50, false, 2, -15000, -30000}, {70, false, 0, 13984, 27968}, {0, false, 0, 0, 0}, {100, true, 2, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.percent) + (c.muted ? " % muted" : " %"));
        { std::lock_guard lock(mutex); heard.clear(); }
        SoundSetVolume(c.percent, c.muted);
        SoundPlay(c.slot), SoundPlay(c.slot + 1);
        const auto all = HeardUntil([](const std::vector<int16_t>& s) { return s.size() >= 32u * kSoundBufferFrames; });
        EXPECT_EQ(std::count_if(all.begin(), all.end(), [&](int16_t v) { return v && v != c.one && v != c.both; }), 0);
        EXPECT_GT(std::count(all.begin(), all.end(), c.both), 1000) << "the two voices together";
    }
    SoundSetVolume(100, false);
}

// Under ThreadSanitizer this shows whether the game thread and the audio thread ever touch the voices,
// buffers or slot table at once. The voices' values sum to a different multiple of 1000 for every set
// of them: any other value is a torn or stale voice.
TEST_F(Sound, PlaysAndLoadsFromTheGameThreadWhileTheCallbackMixes) {
    std::string voices[4];
    for (int32_t i = 0; i < 4; ++i) ASSERT_EQ(SoundLoad(i, (voices[i] = Wave(Format(1, 2, kSoundRate, 16), Constant(int16_t(1000 << i), 2205))).c_str()), 1);
    for (int32_t round = 0; round < 500; ++round) {
        SoundPlay(round % 4);
        if (round % 97 == 50) { EXPECT_TRUE(SoundLoad(round / 97 % 4, voices[round / 97 % 4].c_str())); }  // most likely playing
        if (round % 101 == 0) { EXPECT_TRUE(SoundLoad(100 + round, voices[0].c_str())); }  // the table grows meanwhile
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const auto all = HeardUntil(QuietAgain);
    EXPECT_GT(all.size(), size_t(std::count(all.begin(), all.end(), 0)));
    for (int16_t v : all) ASSERT_TRUE(v >= 0 && v <= 15000 && v % 1000 == 0) << "torn mix: " << v;
}
