// The generated sounds, read back with the game's own WAVE reader: the format the game
// plays, lengths that fit each event, headroom below full scale, click-free ends, the
// shots panned to their barrels, and five explosions that are not one sound repeated.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "data_test_support.h"
#include "media/wave_reader.h"

namespace {

struct Sound {
    int32_t channels = 0;
    int32_t sampleRate = 0;
    int32_t bitsPerSample = 0;
    std::vector<std::vector<int32_t>> channel;  // samples per channel
    double Seconds() const { return channel.empty() ? 0.0 : channel[0].size() / static_cast<double>(sampleRate); }
};

Sound Load(const std::string& name) {
    const std::vector<uint8_t> bytes = ReadWholeFile(DataPath(name));
    const WaveResult wave = ReadWave(bytes);
    EXPECT_TRUE(wave.ok) << name << ": " << wave.error;
    Sound s{wave.channels, wave.sampleRate, wave.bitsPerSample, {}};
    if (!wave.ok || wave.bitsPerSample != 16 || wave.channels < 1) return s;
    s.channel.resize(static_cast<size_t>(wave.channels));
    const size_t frameBytes = 2 * static_cast<size_t>(wave.channels);
    for (size_t at = 0; at + frameBytes <= wave.samples.size(); at += frameBytes)
        for (int32_t c = 0; c < wave.channels; ++c) {
            const size_t i = at + 2 * static_cast<size_t>(c);
            s.channel[c].push_back(static_cast<int16_t>(wave.samples[i] | (wave.samples[i + 1] << 8)));
        }
    return s;
}

double Energy(const std::vector<int32_t>& samples) {
    double e = 0;
    for (int32_t v : samples) e += static_cast<double>(v) * v;
    return e;
}

int32_t Peak(const std::vector<int32_t>& samples, size_t from, size_t to) {
    int32_t p = 0;
    for (size_t i = from; i < to && i < samples.size(); ++i) p = std::max(p, std::abs(samples[i]));
    return p;
}

const std::vector<std::string> kSounds = {"Shotl.wav", "Shotr.wav", "flash.wav", "bigex.wav", "Ex1.wav",
                                          "Ex2.wav",   "Ex3.wav",   "Ex4.wav",   "Ex5.wav"};

}  // namespace

TEST(GeneratedSounds, Are16BitPcmAt44100Hz) {
    for (const std::string& name : kSounds) {
        const Sound s = Load(name);
        EXPECT_EQ(s.bitsPerSample, 16) << name;
        EXPECT_EQ(s.sampleRate, 44100) << name;
        EXPECT_TRUE(s.channels == 1 || s.channels == 2) << name;
        // The reader hands back the samples as they are; the header must say PCM itself.
        const std::vector<uint8_t> b = ReadWholeFile(DataPath(name));
        ASSERT_GE(b.size(), 44u) << name;
        EXPECT_EQ(b[20] | (b[21] << 8), 1) << name << ": format tag PCM";
    }
}

TEST(GeneratedSounds, LastAsLongAsTheirEvents) {
    const struct {
        const char* name;
        double min, max;
    } lengths[] = {{"Shotl.wav", 0.06, 0.16}, {"Shotr.wav", 0.06, 0.16}, {"flash.wav", 0.12, 0.3},
                   {"bigex.wav", 1.2, 2.0},   {"Ex1.wav", 0.35, 0.7},    {"Ex2.wav", 0.35, 0.7},
                   {"Ex3.wav", 0.35, 0.7},    {"Ex4.wav", 0.35, 0.7},    {"Ex5.wav", 0.35, 0.7}};
    for (const auto& l : lengths) {
        const Sound s = Load(l.name);
        EXPECT_GE(s.Seconds(), l.min) << l.name;
        EXPECT_LE(s.Seconds(), l.max) << l.name;
    }
}

TEST(GeneratedSounds, StayBelowFullScaleYetAreClearlyAudible) {
    for (const std::string& name : kSounds) {
        const Sound s = Load(name);
        ASSERT_FALSE(s.channel.empty()) << name;
        int32_t peak = 0;
        for (const auto& c : s.channel) peak = std::max(peak, Peak(c, 0, c.size()));
        EXPECT_LT(peak, 32767) << name << " touches full scale";
        EXPECT_GT(peak, 32767 / 4) << name << " is too quiet";
    }
}

TEST(GeneratedSounds, StartAndEndQuietlySoTheyDoNotClick) {
    const size_t oneMs = 44;
    for (const std::string& name : kSounds) {
        const Sound s = Load(name);
        for (size_t c = 0; c < s.channel.size(); ++c) {
            const std::vector<int32_t>& v = s.channel[c];
            ASSERT_GT(v.size(), 10 * oneMs) << name;
            EXPECT_LE(std::abs(v.front()), 328) << name << " channel " << c << " starts with a jump";
            EXPECT_LE(std::abs(v.back()), 328) << name << " channel " << c << " ends with a jump";
            EXPECT_LE(Peak(v, v.size() - oneMs, v.size()), 32767 / 20) << name << " channel " << c << " is cut off";
        }
    }
}

TEST(ShotSounds, AreStereoAndPannedToTheirBarrels) {
    const Sound left = Load("Shotl.wav");
    const Sound right = Load("Shotr.wav");
    ASSERT_EQ(left.channels, 2);
    ASSERT_EQ(right.channels, 2);
    ASSERT_EQ(left.channel.size(), 2u);
    ASSERT_EQ(right.channel.size(), 2u);
    EXPECT_GT(Energy(left.channel[0]), 2.0 * Energy(left.channel[1])) << "the left barrel sounds on the left";
    EXPECT_GT(Energy(right.channel[1]), 2.0 * Energy(right.channel[0])) << "the right barrel sounds on the right";
    // Both still reach the far ear, so neither sounds as if one speaker had failed.
    EXPECT_GT(Energy(left.channel[1]), 0.02 * Energy(left.channel[0]));
    EXPECT_GT(Energy(right.channel[0]), 0.02 * Energy(right.channel[1]));
}

TEST(ShotSounds, AreSharpTransients) {
    // Most of a shot's energy lies in its first 40 ms, in the ear it is panned to.
    const struct {
        const char* name;
        size_t nearEar;
    } shots[] = {{"Shotl.wav", 0}, {"Shotr.wav", 1}};
    for (const auto& shot : shots) {
        const Sound s = Load(shot.name);
        ASSERT_EQ(s.channel.size(), 2u) << shot.name;
        const std::vector<int32_t>& v = s.channel[shot.nearEar];
        const std::vector<int32_t> head(v.begin(), v.begin() + std::min<size_t>(v.size(), 44100 * 40 / 1000));
        EXPECT_GT(Energy(head), 0.8 * Energy(v)) << shot.name;
    }
}

TEST(ExplosionSounds, AreFiveDifferentSounds) {
    std::vector<Sound> blasts;
    for (int k = 1; k <= 5; ++k) blasts.push_back(Load("Ex" + std::to_string(k) + ".wav"));
    for (size_t a = 0; a < blasts.size(); ++a)
        for (size_t b = a + 1; b < blasts.size(); ++b) {
            ASSERT_FALSE(blasts[a].channel.empty());
            ASSERT_FALSE(blasts[b].channel.empty());
            // Correlation of the first channels: a copy, or a copy at another volume,
            // would come out near 1.
            const auto& x = blasts[a].channel[0];
            const auto& y = blasts[b].channel[0];
            double xy = 0;
            for (size_t i = 0; i < std::min(x.size(), y.size()); ++i) xy += static_cast<double>(x[i]) * y[i];
            const double corr = xy / std::sqrt(Energy(x) * Energy(y));
            EXPECT_LT(std::abs(corr), 0.8) << "Ex" << a + 1 << " and Ex" << b + 1 << " sound alike";
        }
}

TEST(ExplosionSounds, DieAwayAndTheBigOneIsLongest) {
    const Sound big = Load("bigex.wav");
    for (const std::string name : {"Ex1.wav", "Ex2.wav", "Ex3.wav", "Ex4.wav", "Ex5.wav", "bigex.wav"}) {
        const Sound s = Load(name);
        ASSERT_FALSE(s.channel.empty());
        const std::vector<int32_t>& v = s.channel[0];
        const size_t quarter = v.size() / 4;
        const std::vector<int32_t> first(v.begin(), v.begin() + quarter), last(v.end() - quarter, v.end());
        EXPECT_GT(Energy(first), 4.0 * Energy(last)) << name << " does not decay";
        if (name != "bigex.wav") {
            EXPECT_GT(big.Seconds(), 2.0 * s.Seconds()) << name;
        }
    }
}
