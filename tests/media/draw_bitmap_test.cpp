// The bitmap reader: every depth with its row padding and order, and broken files.
#include <gtest/gtest.h>

#include "media/bmp_reader.h"
#include "tests/media/draw_fixture.h"

using namespace drawtest;

namespace {

std::vector<uint8_t> With(std::vector<uint8_t> b, std::initializer_list<int> bytes) {
    for (int v : bytes) b.push_back(static_cast<uint8_t>(v));
    return b;
}

// The picture's rows, top first, for comparing whole pictures at once.
std::vector<std::vector<uint32_t>> Rows(const BitmapResult& r) {
    std::vector<std::vector<uint32_t>> rows;
    for (int y = 0; y < r.picture.height; ++y) rows.emplace_back(r.picture.Row(y), r.picture.Row(y) + r.picture.width);
    return rows;
}

}  // namespace

TEST(BitmapDepths, OneBitNineWideTakesOnePixelFromTheSecondByte) {
    // Index 0 black, 1 white; bottom row first. The second byte's low seven bits lie past
    // the picture and are set to catch a reader that takes more than one pixel from it.
    auto b = With(Headers(9, 2, 1, 62), {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0,  //
                                         0b10110010, 0b01111111, 0, 0, 0b01001101, 0b11111111, 0, 0});
    BitmapResult r = ReadBitmap(b);
    ASSERT_TRUE(r.ok) << r.error;
    const uint32_t W = 0xFFFFFF;
    EXPECT_EQ(Rows(r), (std::vector<std::vector<uint32_t>>{{0, W, 0, 0, W, W, 0, W, W}, {W, 0, W, W, 0, 0, W, 0, 0}}));
}

TEST(BitmapDepths, FourAndEightBitIndexTheColourTable) {
    auto four = Headers(3, 1, 4, 54 + 16 * 4);
    for (int i = 0; i < 16; ++i) four = With(four, {i, 2 * i, 3 * i, 0});  // blue i, green 2i, red 3i
    BitmapResult r = ReadBitmap(With(four, {0x5A, 0xC0, 0, 0}));          // high nibble first
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(Rows(r), (std::vector<std::vector<uint32_t>>{{0x0F0A05, 0x1E140A, 0x24180C}}));

    std::vector<uint32_t> palette(256, 0x111111);
    palette[7] = 0x123456, palette[255] = 0xABCDEF;
    r = ReadBitmap(MakeBitmap(5, 2, 8, palette, [](int x, int y) { return x == 4 && y == 1 ? 255u : x == 0 ? 7u : 0u; }));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.picture.At(0, 0), 0x123456u);
    EXPECT_EQ(r.picture.At(1, 1), 0x111111u);
    EXPECT_EQ(r.picture.At(4, 1), 0xABCDEFu);
}

TEST(BitmapDepths, SixteenAndThirtyTwoBitColours) {
    // 5-5-5 words widened by three bits; the top bit is no colour.
    BitmapResult r = ReadBitmap(With(Headers(4, 1, 16, 54), {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x00, 0x80}));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(Rows(r), (std::vector<std::vector<uint32_t>>{{0xF80000, 0x00F800, 0x0000F8, 0}}));
    // Blue, green, red and a fourth byte that is ignored.
    r = ReadBitmap(With(Headers(2, 1, 32, 54), {0x10, 0x20, 0x30, 0xFF, 0x00, 0x00, 0x00, 0x7F}));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(Rows(r), (std::vector<std::vector<uint32_t>>{{0x302010, 0}}));
}

TEST(BitmapDepths, TwentyFourBitThreeWideRowsArePaddedNotSheared) {
    // Rows of 9 bytes padded to 12; the padding bytes must be skipped.
    auto b = With(Headers(3, 2, 24, 54), {1, 2, 3, 4, 5, 6, 7, 8, 9, 0xEE, 0xEE, 0xEE,  //
                                          0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0xEE, 0xEE, 0xEE});
    BitmapResult r = ReadBitmap(b);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(Rows(r), (std::vector<std::vector<uint32_t>>{{0x131211, 0x161514, 0x191817}, {0x030201, 0x060504, 0x090807}}));
    b.resize(b.size() - 3);  // the last row may lack its padding...
    EXPECT_TRUE(ReadBitmap(b).ok);
    b.pop_back();  // ...but not a pixel
    EXPECT_FALSE(ReadBitmap(b).ok);
}

TEST(BitmapBroken, BadHeadersFailTheLoad) {
    auto good = MakeBitmap(4, 4, 24, {}, [](int, int) { return 0x808080u; });
    ASSERT_TRUE(ReadBitmap(good).ok);
    EXPECT_FALSE(ReadBitmap(std::vector<uint8_t>{}).ok);
    EXPECT_FALSE(ReadBitmap(std::vector<uint8_t>(good.begin(), good.begin() + 30)).ok);
    auto changed = [&](size_t at, uint32_t value, int bytes = 4) {
        auto b = good;
        for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<uint8_t>(value >> (8 * i));
        return ReadBitmap(b);
    };
    BitmapResult notBm = changed(1, 'A', 1);
    EXPECT_FALSE(notBm.ok);
    EXPECT_FALSE(notBm.error.empty());
    EXPECT_TRUE(notBm.picture.pixels.empty());
    EXPECT_FALSE(changed(30, 1).ok);  // compressed
    for (uint32_t bad : {0u, uint32_t(-1), 16385u, 0x7FFFFFFFu}) {
        EXPECT_FALSE(changed(18, bad).ok) << "width " << bad;
        EXPECT_FALSE(changed(22, bad).ok) << "height " << bad;
    }
    for (uint32_t bits : {0, 2, 7, 15, 64}) EXPECT_FALSE(changed(28, bits, 2).ok) << bits;
    for (uint32_t offset : {uint32_t(good.size()), uint32_t(good.size() - 1), 0xFFFFFFF0u, 0xFFFFFFFFu})
        EXPECT_FALSE(changed(10, offset).ok) << offset;
    // The largest allowed size claimed by a small file fails before any picture memory.
    auto claim = Headers(16384, 16384, 32, 54);
    claim.resize(4096, 0);
    EXPECT_FALSE(ReadBitmap(claim).ok);
}

TEST(BitmapBroken, EveryTruncationFails) {
    auto full = MakeBitmap(7, 5, 8, {0x112233, 0x445566}, [](int x, int y) { return uint32_t((x + y) & 1); });
    ASSERT_TRUE(ReadBitmap(full).ok);
    for (size_t n = 0; n + 1 < full.size(); ++n)  // the last row's one padding byte may go
        EXPECT_FALSE(ReadBitmap(std::vector<uint8_t>(full.begin(), full.begin() + static_cast<long>(n))).ok) << n;
}

TEST(BitmapBroken, IndicesBeyondTheColourTableReadAsBlack) {
    // Two table entries, then the pixel data at once: indices 2..255 have no entry, even
    // though pixel bytes follow where their entries would be.
    auto b = MakeBitmap(4, 1, 8, {0x0000FF, 0x00FF00}, [](int x, int) { return std::vector<uint32_t>{1, 2, 200, 255}[x]; });
    BitmapResult r = ReadBitmap(b);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(Rows(r), (std::vector<std::vector<uint32_t>>{{0x00FF00, 0, 0, 0}}));
    Put32(b, 14, 0xFFFFFF00u);  // a table starting far past the file: every index black
    r = ReadBitmap(b);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(Rows(r), (std::vector<std::vector<uint32_t>>{{0, 0, 0, 0}}));
}
