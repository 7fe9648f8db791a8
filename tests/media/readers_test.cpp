// The bitmap and WAVE readers: every supported layout decoded, hostile files refused with the reason.
#include <gtest/gtest.h>

#include "media/bmp_reader.h"
#include "media/wave_reader.h"
#include "test_support.h"
#include "wave_bytes.h"

static Bytes Patched(Bytes b, size_t at, uint32_t v, size_t count = 4) {
    for (size_t i = 0; i < count; ++i) b[at + i] = uint8_t(v >> 8 * i);
    return b;
}
// A valid bitmap's headers edited to another size and depth, then the colour table (tableBytes long) and the rows.
static Bytes RawBitmap(int32_t w, int32_t h, uint16_t bits, uint32_t tableBytes, const Bytes& tail) {
    const Bytes b = support::BitmapBytes(1, 1, {0});
    return Cat({Patched(Patched(Patched(Patched(Bytes(b.begin(), b.begin() + 54), 10, 54 + tableBytes), 18, w), 22, h), 28, bits, 2), tail});
}

TEST(BitmapReader, DecodesEveryDepthTopRowFirstAndRefusesHostileFiles) {
    const uint32_t W = 0xFFFFFF;
    Bytes sixteen;  // blue i, green 2i, red 3i
    for (uint8_t i = 0; i < 16; ++i) sixteen = Cat({sixteen, {i, uint8_t(2 * i), uint8_t(3 * i), 0}});
    const std::vector<uint32_t> index = {1, 0, 2, 255}, rgb = {1, 2, 3, 0x111213, 0x141516, 0x171819};
    const Bytes good = support::BitmapBytes(3, 2, rgb);  // rows of 9 bytes and 3 of padding
    const std::string cut = "pixel data truncated";
    const struct { Bytes file; std::string error; std::vector<uint32_t> pixels = {}; } cases[] = {
        // Bits past the ninth pixel are set, to catch a reader that takes them.
        {RawBitmap(9, 2, 1, 8, {0, 0, 0, 0, 255, 255, 255, 0, 0b10110010, 0x7F, 0, 0, 0b01001101, 0xFF, 0, 0}), "",
         {0, W, 0, 0, W, W, 0, W, W, W, 0, W, W, 0, 0, W, 0, 0}},
        {RawBitmap(3, 1, 4, 64, Cat({sixteen, {0x5A, 0xC0, 0, 0}})), "", {0x0F0A05, 0x1E140A, 0x24180C}},
        // Indexes past the table's two entries are black.
        {support::BitmapBytes(4, 1, 8, {0xFF, 0xFF00}, [&](int32_t x, int32_t) { return index[x]; }), "", {0xFF00, 0xFF, 0, 0}},
        {RawBitmap(4, 1, 16, 0, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x00, 0x80}), "", {0xF80000, 0x00F800, 0x0000F8, 0}},
        {good, "", rgb},
        {RawBitmap(2, 1, 32, 0, {0x10, 0x20, 0x30, 0xFF, 0, 0, 0, 0x7F}), "", {0x302010, 0}},
        {Bytes(good.begin(), good.end() - 3), "", rgb},  // the last row may lack its padding...
        {Bytes(good.begin(), good.end() - 4), cut},      // ...but not a pixel
        {Patched(good, 1, 'A', 1), "not a bitmap"},
        {Bytes(good.begin(), good.begin() + 30), "header truncated"},
        {Patched(good, 30, 1), "compressed bitmaps are not read"},  // RLE
        {Patched(good, 22, uint32_t(-2)), "width or height not positive"},  // top-down rows
        {Patched(good, 18, 16385), "picture too large"},
        {Patched(good, 28, 2, 2), "unsupported bits per pixel"},
        {Patched(good, 10, 0xFFFFFFF0u), cut},
        {RawBitmap(16384, 16384, 32, 0, Bytes(4096)), cut},  // a huge claim by a small file
    };
    for (const auto& c : cases) {
        const BitmapResult r = ReadBitmap(c.file);
        EXPECT_EQ(std::pair(r.ok, r.error), std::pair(c.error.empty(), c.error));
        EXPECT_EQ(std::vector<uint32_t>(r.picture.pixels.begin(), r.picture.pixels.end()), c.pixels) << c.error;
    }
}

// An extensible format header: valid bits, then a sub-format whose first byte 1 means PCM.
static Bytes Extensible(uint16_t validBits, uint8_t subFormat) {
    return Cat({Format(0xFFFE, 2, 44100, 16), Le(22, 2), Le(validBits, 2), Le(3),
                {subFormat, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71}});
}

TEST(WaveReader, ReadsEveryLayoutAndRefusesHostileFiles) {
    const Bytes samples = {0x00, 0x7F, 0x80, 0xFF, 0x01, 0x02, 0x03, 0x04, 0x10, 0x20, 0x30, 0x40};
    const Bytes fmt = Chunk("fmt ", Format(1, 2, 8000, 16)), data = Chunk("data", samples);
    const auto wave = [&](const Bytes& format) { return Riff({Chunk("fmt ", format), data}); };
    Bytes fillers = Riff({fmt});
    for (int32_t i = 0; i < kWaveMaxChunks - 2; ++i) fillers = Cat({fillers, Chunk("junk", {})});
    const std::string pcm = "not uncompressed PCM", none = "no data chunk";
    const struct { Bytes file; std::string error; Bytes samples = {}; std::array<int32_t, 3> layout = {}; } cases[] = {
        {wave(Format(1, 2, 8000, 8)), "", samples, {2, 8000, 8}},
        {wave(Format(1, 1, 44100, 16)), "", samples, {1, 44100, 16}},
        {wave(Format(1, 2, 192000, 16)), "", samples, {2, 192000, 16}},
        {wave(Extensible(16, 1)), "", samples, {2, 44100, 16}},
        // Odd chunks and their pad bytes are stepped over, up to the bound on chunks.
        {Riff({Chunk("fmt ", Cat({Format(1, 1, 8000, 8), {7}})), Chunk("LIST", {1, 2, 3}), data}), "", samples, {1, 8000, 8}},
        {Cat({fillers, data}), "", samples, {2, 8000, 16}},
        {Cat({fillers, Chunk("junk", {}), data}), "too many chunks before the data chunk"},
        {Riff({fmt, Chunk("data", {1, 2, 3, 4, 5, 6}, 1000)}), "", {1, 2, 3, 4}, {2, 8000, 16}},  // cut to the file
        {{'X', 'I', 'F', 'F', 4, 0, 0, 0}, "not a RIFF file"},
        {Riff({Chunk("fmt ", Format(1, 2, 8000, 16), 0xFFFFFFF0)}), "the format chunk runs past the end of the file"},
        {wave(Format(2, 1, 22050, 4, 256)), pcm},  // ADPCM
        {wave(Extensible(16, 3)), pcm},           // float
        {wave(Format(1, 1, 44100, 24)), "only 8 and 16 bits per sample are supported"},
        {wave(Format(1, 1, 7999, 8)), "sample rate out of range"},
        {Riff({fmt}), none},
        {Riff({fmt, Chunk("LIST", {}, 0xFFFFFFFF), data}), none},  // would wrap onto the data
        {Riff({fmt, Chunk("LIST", {1, 2, 3}, 3)}), none},          // its pad byte past the end
        {Riff({fmt, Chunk("data", {1, 2, 3})}), "the data chunk holds no samples"},
    };
    for (const auto& c : cases) {
        const WaveResult r = ReadWave(c.file);
        EXPECT_EQ(std::pair(r.ok, r.error), std::pair(c.error.empty(), c.error));
        EXPECT_EQ(Bytes(r.samples.begin(), r.samples.end()), c.samples) << c.error;
        EXPECT_EQ((std::array{r.channels, r.sampleRate, r.bitsPerSample}), c.layout) << c.error;
    }
}
