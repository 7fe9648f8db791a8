// The generator's own building blocks: the platform-independent maths against known
// values, the bitmap and WAVE encoders byte by byte, and the finishing of sounds.
#include <gtest/gtest.h>

#include "tools/datagen/canvas.h"
#include "tools/datagen/dmath.h"
#include "tools/datagen/synth.h"
#include "tools/datagen/wave_writer.h"

TEST(DeterministicMaths, SineAndCosineMatchKnownValues) {
    EXPECT_NEAR(dmath::Sin(0.0), 0.0, 1e-15);
    EXPECT_NEAR(dmath::Sin(dmath::kPi / 6), 0.5, 1e-14);
    EXPECT_NEAR(dmath::Sin(1.0), 0.8414709848078965, 1e-14);
    EXPECT_NEAR(dmath::Sin(2.0), 0.9092974268256817, 1e-14);   // beyond pi/2: folded back
    EXPECT_NEAR(dmath::Sin(-2.5), -0.5984721441039564, 1e-14);
    EXPECT_NEAR(dmath::Sin(100.0), -0.5063656411097588, 1e-12);  // many turns away
    EXPECT_NEAR(dmath::Cos(0.0), 1.0, 1e-15);
    EXPECT_NEAR(dmath::Cos(dmath::kPi), -1.0, 1e-14);
    EXPECT_NEAR(dmath::Cos(1.0), 0.5403023058681398, 1e-14);
}

TEST(DeterministicMaths, ExponentialMatchesKnownValues) {
    EXPECT_DOUBLE_EQ(dmath::Exp(0.0), 1.0);
    EXPECT_NEAR(dmath::Exp(1.0), 2.718281828459045, 1e-14);
    EXPECT_NEAR(dmath::Exp(-1.0), 0.36787944117144233, 1e-15);
    EXPECT_NEAR(dmath::Exp(-10.0) / 4.5399929762484854e-05, 1.0, 1e-13);
    EXPECT_NEAR(dmath::Exp(20.0) / 485165195.4097903, 1.0, 1e-13);
    EXPECT_EQ(dmath::Exp(-800.0), 0.0);
    EXPECT_DOUBLE_EQ(dmath::PowInt(2.0, 10), 1024.0);
    EXPECT_DOUBLE_EQ(dmath::PowInt(0.5, -3), 8.0);
    EXPECT_DOUBLE_EQ(dmath::PowInt(7.0, 0), 1.0);
}

TEST(DeterministicMaths, SmoothStepRunsEitherWay) {
    EXPECT_DOUBLE_EQ(dmath::SmoothStep(0.0, 1.0, -1.0), 0.0);
    EXPECT_DOUBLE_EQ(dmath::SmoothStep(0.0, 1.0, 0.5), 0.5);
    EXPECT_DOUBLE_EQ(dmath::SmoothStep(0.0, 1.0, 0.25), 0.15625);
    EXPECT_DOUBLE_EQ(dmath::SmoothStep(1.0, 0.0, 0.25), 0.84375);  // a falling edge
    EXPECT_DOUBLE_EQ(dmath::SmoothStep(2.0, 4.0, 9.0), 1.0);
}

TEST(DeterministicMaths, GeneratorAndNoiseAreSeededAndInRange) {
    // splitmix64's published first outputs for seed 0.
    dmath::Rng rng{0};
    EXPECT_EQ(rng.Next(), 0xE220A8397B1DCDAFull);
    EXPECT_EQ(rng.Next(), 0x6E789E6AA1B965F4ull);
    dmath::Rng a{42}, b{42};
    for (int i = 0; i < 1000; ++i) {
        const double u = a.Uniform();
        EXPECT_EQ(u, b.Uniform());
        EXPECT_GE(u, 0.0);
        EXPECT_LT(u, 1.0);
        const int32_t k = a.Below(7);
        b.Below(7);
        EXPECT_GE(k, 0);
        EXPECT_LT(k, 7);
    }
    double lo = 1, hi = 0;
    for (int i = 0; i < 2000; ++i) {
        const double n = dmath::Fbm(i * 0.37, i * 0.11, 4, 9);
        lo = std::min(lo, n);
        hi = std::max(hi, n);
    }
    EXPECT_GE(lo, 0.0);
    EXPECT_LE(hi, 1.0);
    EXPECT_GT(hi - lo, 0.3) << "noise that hardly varies";
    // Lattice points take their hashed value exactly; between them the noise is continuous.
    EXPECT_DOUBLE_EQ(dmath::ValueNoise(3.0, 5.0, 1), dmath::Hash(3, 5, 1) / 4294967295.0);
    EXPECT_NEAR(dmath::ValueNoise(3.0 + 1e-9, 5.0, 1), dmath::ValueNoise(3.0, 5.0, 1), 1e-6);
}

TEST(BitmapEncoder, WritesBottomRowFirstInBlueGreenRedWithPaddedRows) {
    // 3 pixels a row: 9 bytes, padded to 12.
    const Image image{3, 2, {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x010203}};
    const std::vector<uint8_t> b = EncodeBmp(image);
    ASSERT_EQ(b.size(), 54u + 24u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(b[2], 78);   // file size
    EXPECT_EQ(b[10], 54);  // pixel data offset
    EXPECT_EQ(b[14], 40);  // information header size
    EXPECT_EQ(b[18], 3);   // width
    EXPECT_EQ(b[22], 2);   // height, positive: bottom-up
    EXPECT_EQ(b[26], 1);   // planes
    EXPECT_EQ(b[28], 24);  // bits per pixel
    EXPECT_EQ(b[30], 0);   // no compression
    const std::vector<uint8_t> rows(b.begin() + 54, b.end());
    const std::vector<uint8_t> expected = {0xCC, 0xBB, 0xAA, 0xFF, 0xEE, 0xDD, 0x03, 0x02, 0x01, 0, 0, 0,
                                           0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0x99, 0x88, 0x77, 0, 0, 0};
    EXPECT_EQ(rows, expected);
}

TEST(CanvasPacking, RoundsAndLimitsEachChannel) {
    EXPECT_EQ(PackColor({255.4, 127.5, 0.49}), 0xFF8000u);
    EXPECT_EQ(PackColor({300.0, -20.0, 64.5}), 0xFF0041u);
}

TEST(WaveEncoder, WritesAPlainPcmHeaderAndRoundedSamples) {
    SoundBuffer sound{44100, {{0.0, 1.0, -1.0, 0.5, 2.0}}};
    const std::vector<uint8_t> b = EncodeWave(sound);
    ASSERT_EQ(b.size(), 44u + 10u);
    const std::vector<uint8_t> header = {'R', 'I', 'F', 'F', 46, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                                         16,  0,   0,   0,   1,  0, 1, 0, 0x44, 0xAC, 0, 0, 0x88, 0x58, 1, 0,
                                         2,   0,   16,  0,   'd', 'a', 't', 'a', 10, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.begin() + 44), header);
    const std::vector<uint8_t> samples = {0x00, 0x00, 0xFF, 0x7F, 0x01, 0x80, 0x00, 0x40, 0xFF, 0x7F};
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 44, b.end()), samples) << "0, 32767, -32767, 16384, 32767";
}

TEST(WaveEncoder, InterleavesStereoFrames) {
    SoundBuffer sound{22050, {{0.25, 0.0}, {-0.25, 0.0}}};
    const std::vector<uint8_t> b = EncodeWave(sound);
    ASSERT_EQ(b.size(), 44u + 8u);
    EXPECT_EQ(b[22], 2);                         // channels
    EXPECT_EQ(b[32], 4);                         // block align
    EXPECT_EQ(b[28] | (b[29] << 8) | (b[30] << 16), 88200);  // bytes per second
    // 0.25 * 32767 = 8191.75 -> 8192 = 0x2000; its negative -8192 = 0xE000.
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 44, b.begin() + 48), (std::vector<uint8_t>{0x00, 0x20, 0x00, 0xE0}));
}

TEST(SoundFinishing, FadesBothEndsToSilenceAndNormalisesThePeak) {
    std::vector<Track> channels{Track(4410, 0.9), Track(4410, -2.0)};
    const SoundBuffer s = Finish(channels, 0.5, 0.004, 0.01);
    ASSERT_EQ(s.channels.size(), 2u);
    for (const Track& t : s.channels) {
        EXPECT_EQ(t.front(), 0.0);
        EXPECT_EQ(t.back(), 0.0);
        EXPECT_NE(t[1], 0.0) << "the fade starts at once";
    }
    // The louder channel sets the scale for both: -2 becomes -0.5, 0.9 becomes 0.225.
    EXPECT_NEAR(s.channels[1][2205], -0.5, 1e-12);
    EXPECT_NEAR(s.channels[0][2205], 0.225, 1e-12);
    // The 4 ms fade-in takes 176 samples: one half of the gain half-way, 0.15625 a
    // quarter of the way (the S-curve 3t^2 - 2t^3).
    EXPECT_NEAR(s.channels[1][88], -0.25, 1e-12);
    EXPECT_NEAR(s.channels[1][44], -0.078125, 1e-12);
}

TEST(SoundBlocks, FiltersPassLowsAndDampHighs) {
    OnePole lp;
    double dc = 0;
    for (int i = 0; i < 44100; ++i) dc = lp.Step(1.0, 100.0);
    EXPECT_NEAR(dc, 1.0, 1e-6) << "a steady level passes unchanged";
    OnePole lp2;
    double peak = 0;
    for (int i = 0; i < 44100; ++i) peak = std::max(peak, std::abs(lp2.Step(i % 2 ? 1.0 : -1.0, 100.0)));
    EXPECT_LT(peak, 0.02) << "the highest frequency is all but removed";
    EXPECT_EQ(SoftClip(3.0), 1.0);
    EXPECT_EQ(SoftClip(-3.0), -1.0);
    EXPECT_DOUBLE_EQ(SoftClip(0.5), 0.6875);
    EXPECT_EQ(SamplesFor(0.5), 22050);
}
