#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "io_headless.h"
#include "io_wave_bytes.h"
#include "media/sound.h"

namespace {

std::string WriteFile(const std::string& name, const Bytes& bytes) {
    const std::string path = ::testing::TempDir() + "dreel_io_" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr) << path;
    if (f && !bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    if (f) std::fclose(f);
    return path;
}

// Mono 16 bit at the output rate: the mix holds these values in both channels, up to
// the last bit of SDL's float conversion.
std::string Wave(const std::string& name, const Bytes& samples) {
    return WriteFile(name, Riff({Chunk("fmt ", PcmFormat(1, kSoundRate, 16)), Chunk("data", samples)}));
}
bool Near(int32_t a, int32_t b) { return a >= b - 2 && a <= b + 2; }

// The mixed buffers, recorded on the audio thread while the recorder lives.
struct MixRecorder {
    MixRecorder() { SoundSetMixObserver(Observe, this); }
    ~MixRecorder() { SoundSetMixObserver(nullptr, nullptr); }
    static void Observe(void* user, const int16_t* frames, int32_t count) {
        auto* self = static_cast<MixRecorder*>(user);
        std::lock_guard lock(self->mutex);
        for (int32_t i = 0; i < count; ++i) {
            self->left.push_back(frames[2 * i]);
            self->channelsDiffer |= frames[2 * i] != frames[2 * i + 1];
        }
        self->changed.notify_all();
    }
    // Waits until the recording satisfies `done`; false after a generous time.
    bool WaitFor(const std::function<bool(const std::vector<int16_t>&)>& done) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [&] { return done(left); });
    }
    bool HeardSince(size_t from, int32_t value) {
        return WaitFor([=](const std::vector<int16_t>& s) {
            for (size_t i = from; i < s.size(); ++i)
                if (Near(s[i], value)) return true;
            return false;
        });
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<int16_t> left;
    bool channelsDiffer = false;
};

class Sound : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(SoundInit(), 0); }
    void TearDown() override { SoundEnd(); }
};

TEST(SoundLifecycle, FailsWithoutAnAudioDeviceAndStartsAgainAfterAnEnd) {
    const std::string file = Wave("life.wav", Constant16(100, 100));
    EXPECT_EQ(SoundLoad(0, file.c_str()), 0) << "before init";
    const char* chosen = std::getenv("SDL_AUDIODRIVER");
    const std::string driver = chosen ? chosen : "dummy";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_EQ(SoundInit(), 0);
    SoundEnd();
    setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    for (int round = 0; round < 2; ++round) {
        ASSERT_NE(SoundInit(), 0) << "round " << round;
        EXPECT_EQ(SoundLoad(0, file.c_str()), 1);
        SoundPlay(0);
        SoundEnd();
        EXPECT_EQ(SoundFrames(0), 0) << "the end empties every slot";
    }
}

TEST_F(Sound, ConvertsOnceToTheOutputRateAndKeepsEveryFrame) {
    // A tenth of a second at 8 kHz and 0.05 s at 96 kHz: the same time at 44.1 kHz.
    EXPECT_EQ(SoundLoad(1, WriteFile("8k.wav", Riff({Chunk("fmt ", PcmFormat(1, 8000, 8)), Chunk("data", Bytes(800, 0x80))})).c_str()), 1);
    EXPECT_EQ(SoundFrames(1), 4410);
    EXPECT_EQ(SoundLoad(2, WriteFile("96k.wav", Riff({Chunk("fmt ", PcmFormat(2, 96000, 16)), Chunk("data", Bytes(4800 * 4, 0))})).c_str()), 1);
    EXPECT_EQ(SoundFrames(2), 2205);
}

TEST_F(Sound, AFailedLoadLeavesTheSlotAsItWasAndSlotsAreBounded) {
    const std::string good = Wave("keep.wav", Constant16(7, 300));
    ASSERT_EQ(SoundLoad(4, good.c_str()), 1);
    const std::string adpcm = WriteFile("adpcm.wav", Riff({Chunk("fmt ", FormatBody(2, 1, 22050, 4, 256)), Chunk("data", Bytes(512, 1))}));
    for (const std::string& bad : {::testing::TempDir() + "dreel_io_missing.wav", adpcm, WriteFile("empty.wav", {})}) {
        EXPECT_EQ(SoundLoad(4, bad.c_str()), 0) << bad;
        EXPECT_EQ(SoundFrames(4), 300) << bad;
    }
    EXPECT_EQ(SoundLoad(-1, good.c_str()), 0);
    EXPECT_EQ(SoundLoad(kSoundMaxSlot + 1, good.c_str()), 0);
    ASSERT_EQ(SoundLoad(75, good.c_str()), 1);  // beyond the first 50: the table grows
    ASSERT_EQ(SoundLoad(kSoundMaxSlot, Wave("last.wav", Constant16(7, 200)).c_str()), 1);
    EXPECT_EQ(SoundFrames(75), 300);
    EXPECT_EQ(SoundFrames(kSoundMaxSlot), 200);
    EXPECT_EQ(SoundFrames(4), 300);
}

TEST_F(Sound, EmptySlotsPlaySilence) {
    MixRecorder rec;
    for (int32_t slot : {9, 10, -1, 49, 50, kSoundMaxSlot + 1, 1 << 30}) SoundPlay(slot);
    ASSERT_TRUE(rec.WaitFor([](const auto& s) { return s.size() >= 4096; }));
    std::lock_guard lock(rec.mutex);
    for (int16_t v : rec.left) ASSERT_EQ(v, 0);
}

TEST_F(Sound, TwoSlotsPlayTogetherAndLoudOnesSaturate) {
    ASSERT_EQ(SoundLoad(0, Wave("a.wav", Constant16(10000, 3 * kSoundRate)).c_str()), 1);
    ASSERT_EQ(SoundLoad(1, Wave("b.wav", Constant16(12000, 3 * kSoundRate)).c_str()), 1);
    ASSERT_EQ(SoundLoad(2, Wave("up.wav", Constant16(30000, 3 * kSoundRate)).c_str()), 1);
    ASSERT_EQ(SoundLoad(3, Wave("down1.wav", Constant16(-30000, 3 * kSoundRate)).c_str()), 1);
    ASSERT_EQ(SoundLoad(4, Wave("down2.wav", Constant16(-30000, 3 * kSoundRate)).c_str()), 1);
    MixRecorder rec;
    SoundPlay(0);
    SoundPlay(1);
    EXPECT_TRUE(rec.HeardSince(0, 22000)) << "never heard both at once";
    SoundPlay(2);  // 22000 + 30000 would wrap to -13536
    ASSERT_TRUE(rec.WaitFor([](const auto& s) { return !s.empty() && s.back() == 32767; }));
    // Reloading stops the positive voices; the negative pair then sums alone.
    for (int32_t slot : {0, 1, 2}) ASSERT_EQ(SoundLoad(slot, Wave("quiet.wav", Constant16(0, 10)).c_str()), 1);
    SoundPlay(3);
    SoundPlay(4);
    ASSERT_TRUE(rec.WaitFor([](const auto& s) { return !s.empty() && s.back() == -32768; }));
    std::lock_guard lock(rec.mutex);
    EXPECT_FALSE(rec.channelsDiffer) << "mono must reach both channels alike";
    for (int16_t v : rec.left) ASSERT_TRUE(!Near(v, -13536) && !Near(v, 5536)) << "wrapped around: " << v;
}

TEST_F(Sound, ARestartCutsThePreviousPlayAndStartsFromTheBeginning) {
    // A marker of 3000 for 200 frames, then 1000 for three seconds.
    Bytes samples = Constant16(3000, 200);
    const Bytes rest = Constant16(1000, 3 * kSoundRate);
    samples.insert(samples.end(), rest.begin(), rest.end());
    ASSERT_EQ(SoundLoad(5, Wave("marker.wav", samples).c_str()), 1);
    MixRecorder rec;
    SoundPlay(5);
    ASSERT_TRUE(rec.HeardSince(0, 1000)) << "the first play never got past its marker";
    size_t restartAt;
    {
        std::lock_guard lock(rec.mutex);
        restartAt = rec.left.size();
    }
    SoundPlay(5);
    ASSERT_TRUE(rec.HeardSince(restartAt, 3000)) << "the restart did not begin at the start";
    // Both plays would overlap here if the first went on: 4000, then 2000.
    ASSERT_TRUE(rec.WaitFor([&](const auto& s) { return s.size() >= restartAt + 8192; }));
    std::lock_guard lock(rec.mutex);
    for (int16_t v : rec.left) ASSERT_TRUE(v == 0 || Near(v, 1000) || Near(v, 3000)) << v;
}

TEST_F(Sound, ALoadIntoAPlayingSlotStopsItAndTheNewSoundWaitsForAPlay) {
    ASSERT_EQ(SoundLoad(7, Wave("old.wav", Constant16(1000, 3 * kSoundRate)).c_str()), 1);
    MixRecorder rec;
    SoundPlay(7);
    ASSERT_TRUE(rec.HeardSince(0, 1000));
    ASSERT_EQ(SoundLoad(7, Wave("new.wav", Constant16(3000, 3 * kSoundRate)).c_str()), 1);
    size_t loadedAt;
    {
        std::lock_guard lock(rec.mutex);
        loadedAt = rec.left.size();
    }
    // The buffer being mixed as the load ran may still carry the old sound; then silence.
    ASSERT_TRUE(rec.WaitFor([&](const auto& s) { return s.size() >= loadedAt + 8192; }));
    {
        std::lock_guard lock(rec.mutex);
        for (size_t i = loadedAt + 1024; i < rec.left.size(); ++i) ASSERT_EQ(rec.left[i], 0) << "frame " << i - loadedAt;
        for (int16_t v : rec.left) ASSERT_FALSE(Near(v, 3000)) << "the new sound played unasked";
    }
    SoundPlay(7);
    EXPECT_TRUE(rec.HeardSince(loadedAt + 8192, 3000));
}

TEST_F(Sound, APlayRunsOnceFromItsFirstFrameToItsLast) {
    // 1000 frames: the play spans at least two mix buffers.
    ASSERT_EQ(SoundLoad(6, Wave("once.wav", Constant16(5000, 1000)).c_str()), 1);
    MixRecorder rec;
    SoundPlay(6);
    ASSERT_TRUE(rec.HeardSince(0, 5000));
    // Wait for four buffers of silence after the last sound, then count what was heard.
    ASSERT_TRUE(rec.WaitFor([](const auto& s) {
        size_t end = s.size();
        while (end > 0 && s[end - 1] == 0) --end;
        return end > 0 && s.size() - end >= 2048;
    }));
    std::lock_guard lock(rec.mutex);
    const auto first = std::find_if(rec.left.begin(), rec.left.end(), [](int16_t v) { return v != 0; });
    const auto heard = std::count_if(rec.left.begin(), rec.left.end(), [](int16_t v) { return v != 0; });
    EXPECT_EQ(heard, 1000) << "looped, lost frames or played a frame twice";
    for (auto it = first; it != first + 1000 && it != rec.left.end(); ++it)
        ASSERT_TRUE(Near(*it, 5000)) << "gap or wrong value at frame " << (it - first);
}

// Four slots whose values sum to a different multiple of 1000 for every set of voices:
// any other value in the mix is a torn or stale voice. Run under ThreadSanitizer this
// also shows whether the game thread and the audio thread ever touch the voices,
// buffers or slot table at the same time.
TEST_F(Sound, PlaysAndLoadsFromTheGameThreadWhileTheCallbackMixes) {
    const int16_t values[4] = {1000, 2000, 4000, 8000};
    std::string files[4];
    for (int32_t i = 0; i < 4; ++i) {
        files[i] = Wave("stress" + std::to_string(i) + ".wav", Constant16(values[i], kSoundRate / 20));
        ASSERT_EQ(SoundLoad(i, files[i].c_str()), 1);
    }
    const std::string silent = Wave("stress_silent.wav", Constant16(0, kSoundRate / 20));
    MixRecorder rec;
    size_t start;
    {
        std::lock_guard lock(rec.mutex);
        start = rec.left.size();
    }
    int32_t grown = 100;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    for (int32_t round = 0; std::chrono::steady_clock::now() < end; ++round) {
        SoundPlay(round % 4);
        // Replaces a buffer that is most likely playing right now.
        if (round % 97 == 50) {
            ASSERT_EQ(SoundLoad(round / 97 % 4, files[round / 97 % 4].c_str()), 1);
        }
        // Grows the slot table while the callback walks it, then plays the new slot.
        if (round % 101 == 0 && grown <= kSoundMaxSlot) {
            ASSERT_EQ(SoundLoad(grown, silent.c_str()), 1);
            SoundPlay(grown);
            grown += 50;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(rec.WaitFor([&](const auto& s) {
        return s.size() >= start + 4096 && std::all_of(s.end() - 4096, s.end(), [](int16_t v) { return v == 0; });
    })) << "the voices never fell silent";
    std::lock_guard lock(rec.mutex);
    EXPECT_GE(rec.left.size() - start, static_cast<size_t>(kSoundRate / 4)) << "the callback hardly ran during the test";
    bool allFour = false;
    for (size_t i = start; i < rec.left.size(); ++i) {
        const int32_t v = rec.left[i];
        const int32_t nearest = (v + 500) / 1000 * 1000;
        ASSERT_TRUE(v >= -8 && v <= 15008 && std::abs(v - nearest) <= 8) << "torn mix: " << v;
        allFour |= Near(v, 15000);
    }
    EXPECT_TRUE(allFour) << "the four slots were never heard together";
    EXPECT_FALSE(rec.channelsDiffer);
}

}  // namespace
