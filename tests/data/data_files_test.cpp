// The generated files read back the way the game reads them: pictures with the sizes and
// cells it draws and collides with, sounds through the WAVE reader into the mixer.
#include <gtest/gtest.h>

#include "media/bmp_reader.h"
#include "media/sound.h"
#include "media/wave_reader.h"
#include "test_support.h"

namespace {

int32_t CountLit(const Picture& p, int32_t x0, int32_t y0, int32_t w, int32_t h) {
    int32_t n = 0;
    for (int32_t y = y0; y < y0 + h && y < p.height; ++y)
        for (int32_t x = x0; x < x0 + w && x < p.width; ++x) n += p.At(x, y) != 0;
    return n;
}

TEST(GeneratedPictures, HaveTheSizesAndCellsTheGameAssumes) {
    // The floor fills the window, the sheet has five 16-pixel cells a row, the shot is its
    // hit box, all lit; cannon and shields centre on a ball from 8 pixels up and left.
    const struct { const char* name; int32_t width, height, minLit; } pictures[] = {
        {"Background.bmp", 800, 600, 1}, {"kugeln.bmp", 80, 80, 1},  {"shoot.bmp", 4, 4, 16},
        {"rauch.bmp", 32, 32, 1},        {"Fleck.bmp", 16, 16, 1},   {"kanone2.bmp", 32, 32, 1},
        {"Shild1.bmp", 32, 32, 1},       {"Shild2.bmp", 32, 32, 1},  {"Shild3.bmp", 32, 32, 1},
        {"Shild4.bmp", 32, 32, 1},       {"Shild5.bmp", 32, 32, 1},  {"Shild6.bmp", 32, 32, 1},
        {"Shild7.bmp", 32, 32, 1}};
    for (const auto& expected : pictures) {
        const BitmapResult bitmap = ReadBitmap(support::ReadBytes(support::DataPath(expected.name)));
        EXPECT_TRUE(bitmap.ok) << expected.name << ": " << bitmap.error;
        EXPECT_EQ(bitmap.picture.width, expected.width) << expected.name;
        EXPECT_EQ(bitmap.picture.height, expected.height) << expected.name;
        EXPECT_GE(CountLit(bitmap.picture, 0, 0, 800, 600), expected.minLit) << expected.name;
    }
    // The cells the game clips: the player, the three enemy kinds and the aim marker.
    const Picture sheet = ReadBitmap(support::ReadBytes(support::DataPath("kugeln.bmp"))).picture;
    for (auto [x, y] : {std::pair{0, 0}, {16, 0}, {32, 0}, {48, 0}, {64, 64}}) {
        EXPECT_GE(CountLit(sheet, x, y, 16, 16), 64) << "cell at " << x << "," << y;
        EXPECT_GT(CountLit(sheet, x + 6, y + 6, 4, 4), 0) << "cell at " << x << "," << y << ": an empty middle";
        for (auto [cx, cy] : {std::pair{0, 0}, {14, 0}, {0, 14}, {14, 14}})
            EXPECT_EQ(CountLit(sheet, x + cx, y + cy, 2, 2), 0) << "cell at " << x << "," << y << ": a corner shows";
    }
}

TEST(GeneratedSounds, Are16BitPcmThatTheMixerTakesAtTheirLength) {
    support::UseDummyDrivers();
    ASSERT_EQ(SoundInit(), 1);
    // Each about as long as the event it marks.
    const struct { const char* name; int32_t minMs, maxMs; } sounds[] = {
        {"Shotl.wav", 60, 160}, {"Shotr.wav", 60, 160}, {"flash.wav", 120, 300}, {"bigex.wav", 1200, 2000},
        {"Ex1.wav", 350, 700},  {"Ex2.wav", 350, 700},  {"Ex3.wav", 350, 700},   {"Ex4.wav", 350, 700},
        {"Ex5.wav", 350, 700}};
    for (const auto& expected : sounds) {
        const std::string path = support::DataPath(expected.name);
        const WaveResult wave = ReadWave(support::ReadBytes(path));
        EXPECT_TRUE(wave.ok) << expected.name << ": " << wave.error;
        EXPECT_EQ(wave.bitsPerSample, 16) << expected.name;
        EXPECT_EQ(SoundLoad(20, path.c_str()), 1) << expected.name;
        EXPECT_GE(SoundFrames(20), expected.minMs * kSoundRate / 1000) << expected.name;
        EXPECT_LE(SoundFrames(20), expected.maxMs * kSoundRate / 1000) << expected.name;
    }
    SoundEnd();
}

}  // namespace
