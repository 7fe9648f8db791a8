// The bitmap reader: every depth, row padding and order, and broken files.
#include <gtest/gtest.h>

#include "media/bmp_reader.h"
#include "tests/media/draw_fixture.h"

using drawtest::MakeBitmap;
using drawtest::Put32;

namespace {

// A file header and 40-byte information header with the given fields, nothing after.
std::vector<uint8_t> Headers(int32_t width, int32_t height, uint16_t bpp, uint32_t dataOffset) {
    std::vector<uint8_t> b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 10, dataOffset);
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<uint32_t>(width));
    Put32(b, 22, static_cast<uint32_t>(height));
    b[26] = 1;
    b[28] = static_cast<uint8_t>(bpp);
    return b;
}

void Append(std::vector<uint8_t>& b, std::initializer_list<int> bytes) {
    for (int v : bytes) b.push_back(static_cast<uint8_t>(v));
}

}  // namespace

TEST(BitmapDepths, OneBitNineWideTakesOnePixelFromTheSecondByte) {
    auto b = Headers(9, 2, 1, 62);
    Append(b, {0x00, 0x00, 0x00, 0, 0xFF, 0xFF, 0xFF, 0});  // index 0 black, 1 white
    // Bottom row first. The second byte's low seven bits lie past the picture: set to
    // catch a reader that takes more than one pixel from it.
    Append(b, {0b10110010, 0b01111111, 0, 0});  // bottom row
    Append(b, {0b01001101, 0b11111111, 0, 0});  // top row
    BitmapResult r = ReadBitmap(b);
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.picture.width, 9);
    ASSERT_EQ(r.picture.height, 2);
    const uint32_t W = 0xFFFFFF;
    std::vector<uint32_t> top = {0, W, 0, 0, W, W, 0, W, W};
    std::vector<uint32_t> bottom = {W, 0, W, W, 0, 0, W, 0, 0};
    for (int x = 0; x < 9; ++x) {
        EXPECT_EQ(r.picture.At(x, 0), top[x]) << "top x=" << x;
        EXPECT_EQ(r.picture.At(x, 1), bottom[x]) << "bottom x=" << x;
    }
}

TEST(BitmapDepths, FourBitHighNibbleIsTheLeftPixel) {
    auto b = Headers(3, 1, 4, 54 + 16 * 4);
    for (int i = 0; i < 16; ++i) Append(b, {i, 2 * i, 3 * i, 0});  // blue i, green 2i, red 3i
    Append(b, {0x5A, 0xC0, 0, 0});                                    // 5, 10, 12 (low nibble padding)
    BitmapResult r = ReadBitmap(b);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.picture.At(0, 0), 0x0F0A05u);  // red 15, green 10, blue 5
    EXPECT_EQ(r.picture.At(1, 0), 0x1E140Au);
    EXPECT_EQ(r.picture.At(2, 0), 0x24180Cu);
}

TEST(BitmapDepths, EightBitIndexesTheColourTable) {
    std::vector<uint32_t> palette(256);
    for (int i = 0; i < 256; ++i) palette[i] = static_cast<uint32_t>(i * 0x010203 & 0xFFFFFF);
    palette[200] = 0x123456;
    auto b = MakeBitmap(5, 3, 8, palette, [](int x, int y) { return x == 4 && y == 2 ? 200u : uint32_t(x + 5 * y); });
    BitmapResult r = ReadBitmap(b);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.picture.At(0, 0), 0u);
    EXPECT_EQ(r.picture.At(1, 0), 0x010203u);
    EXPECT_EQ(r.picture.At(3, 1), 0x081018u);  // index 8
    EXPECT_EQ(r.picture.At(4, 2), 0x123456u);
}

TEST(BitmapDepths, SixteenBitIsFiveFiveFiveWidenedByThree) {
    auto b = Headers(4, 1, 16, 54);
    Append(b, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x00, 0x80});  // red, green, blue, top bit only
    BitmapResult r = ReadBitmap(b);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.picture.At(0, 0), 0xF80000u);
    EXPECT_EQ(r.picture.At(1, 0), 0x00F800u);
    EXPECT_EQ(r.picture.At(2, 0), 0x0000F8u);
    EXPECT_EQ(r.picture.At(3, 0), 0u);  // the unused top bit is no colour
}

TEST(BitmapDepths, TwentyFourBitThreeWideRowsArePaddedNotSheared) {
    auto b = Headers(3, 2, 24, 54);
    // Bottom row: 9 bytes of blue, green, red, then 3 padding bytes that must be skipped.
    Append(b, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0xEE, 0xEE, 0xEE});
    Append(b, {0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0xEE, 0xEE, 0xEE});
    BitmapResult r = ReadBitmap(b);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.picture.At(0, 0), 0x131211u);  // the second stored row is the top row
    EXPECT_EQ(r.picture.At(2, 0), 0x191817u);
    EXPECT_EQ(r.picture.At(0, 1), 0x030201u);
    EXPECT_EQ(r.picture.At(1, 1), 0x060504u);
    EXPECT_EQ(r.picture.At(2, 1), 0x090807u);
}

TEST(BitmapDepths, ThirtyTwoBitIgnoresTheFourthByte) {
    auto b = Headers(2, 1, 32, 54);
    Append(b, {0x10, 0x20, 0x30, 0xFF, 0x00, 0x00, 0x00, 0x7F});
    BitmapResult r = ReadBitmap(b);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.picture.At(0, 0), 0x302010u);
    EXPECT_EQ(r.picture.At(1, 0), 0u);
}

TEST(BitmapDepths, LastRowMayLackItsPadding) {
    auto b = Headers(3, 2, 24, 54);
    Append(b, {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0});
    Append(b, {1, 2, 3, 4, 5, 6, 7, 8, 9});  // no padding after the last row
    EXPECT_TRUE(ReadBitmap(b).ok);
    b.pop_back();  // but every pixel must be there
    EXPECT_FALSE(ReadBitmap(b).ok);
}

TEST(BitmapBroken, HeaderProblemsFailTheLoad) {
    auto good = MakeBitmap(4, 4, 24, {}, [](int, int) { return 0x808080u; });
    ASSERT_TRUE(ReadBitmap(good).ok);

    auto notBm = good;
    notBm[1] = 'A';
    EXPECT_FALSE(ReadBitmap(notBm).ok);
    EXPECT_FALSE(ReadBitmap(std::vector<uint8_t>{}).ok);
    EXPECT_FALSE(ReadBitmap(std::vector<uint8_t>{'B'}).ok);
    EXPECT_FALSE(ReadBitmap(std::vector<uint8_t>(good.begin(), good.begin() + 30)).ok);  // header cut

    auto compressed = good;
    Put32(compressed, 30, 1);
    EXPECT_FALSE(ReadBitmap(compressed).ok);

    for (int32_t bad : {0, -1, -4}) {
        auto w = good, h = good;
        Put32(w, 18, static_cast<uint32_t>(bad));
        Put32(h, 22, static_cast<uint32_t>(bad));
        EXPECT_FALSE(ReadBitmap(w).ok) << bad;
        EXPECT_FALSE(ReadBitmap(h).ok) << bad;
    }
    for (uint16_t bits : {0, 2, 7, 15, 64}) {
        auto d = good;
        drawtest::Put16(d, 28, bits);
        EXPECT_FALSE(ReadBitmap(d).ok) << bits;
    }
}

TEST(BitmapBroken, HugeDimensionsFailWithoutAllocating) {
    auto b = Headers(16385, 1, 24, 54);
    b.resize(54 + 16388 * 3, 0);
    EXPECT_FALSE(ReadBitmap(b).ok);
    // The largest allowed size, claimed by a small file: the size check against the real
    // length fails it before any picture memory is taken.
    auto claim = Headers(16384, 16384, 32, 54);
    claim.resize(4096, 0);
    EXPECT_FALSE(ReadBitmap(claim).ok);
    // Sizes whose products overflow 32 bits.
    auto wide = Headers(0x7FFFFFFF, 0x7FFFFFFF, 32, 54);
    EXPECT_FALSE(ReadBitmap(wide).ok);
}

TEST(BitmapBroken, OffsetsOutsideTheFileFail) {
    auto good = MakeBitmap(2, 2, 24, {}, [](int, int) { return 0x010101u; });
    for (uint32_t offset : {uint32_t(good.size()), uint32_t(good.size() - 1), 0xFFFFFFF0u, 0xFFFFFFFFu}) {
        auto b = good;
        Put32(b, 10, offset);
        EXPECT_FALSE(ReadBitmap(b).ok) << offset;
    }
}

TEST(BitmapBroken, EveryTruncationFailsAndNeverReadsOutside) {
    std::vector<uint32_t> palette = {0x112233, 0x445566};
    auto full = MakeBitmap(7, 5, 8, palette, [](int x, int y) { return uint32_t((x + y) & 1); });
    ASSERT_TRUE(ReadBitmap(full).ok);
    size_t lastRowPadding = 1;  // 7 bytes of pixels padded to 8
    for (size_t n = 0; n + lastRowPadding < full.size(); ++n) {
        std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<long>(n));
        EXPECT_FALSE(ReadBitmap(cut).ok) << n;
    }
}

TEST(BitmapBroken, IndicesBeyondTheColourTableReadAsBlack) {
    // Two table entries, then the pixel data at once: indices 2..255 have no entry in the
    // file, even though pixel bytes follow where their entries would be.
    std::vector<uint32_t> palette = {0x0000FF, 0x00FF00};
    auto b = MakeBitmap(4, 1, 8, palette, [](int x, int) { return std::vector<uint32_t>{1, 2, 200, 255}[x]; });
    BitmapResult r = ReadBitmap(b);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.picture.At(0, 0), 0x00FF00u);
    EXPECT_EQ(r.picture.At(1, 0), 0u);
    EXPECT_EQ(r.picture.At(2, 0), 0u);
    EXPECT_EQ(r.picture.At(3, 0), 0u);
}

TEST(BitmapBroken, ColourTableStartingPastTheFileLeavesEveryIndexBlack) {
    std::vector<uint32_t> palette = {0xFFFFFF, 0xFFFFFF};
    auto b = MakeBitmap(2, 1, 8, palette, [](int x, int) { return uint32_t(x); });
    Put32(b, 14, 0xFFFFFF00u);  // information header "size" far beyond the file
    BitmapResult r = ReadBitmap(b);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.picture.At(0, 0), 0u);
    EXPECT_EQ(r.picture.At(1, 0), 0u);
}

TEST(BitmapBroken, ErrorsSayWhy) {
    BitmapResult r = ReadBitmap(std::vector<uint8_t>{'X', 'Y', 0, 0});
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    EXPECT_EQ(r.picture.width, 0);
    EXPECT_TRUE(r.picture.pixels.empty());
}
