// Where the 800 x 600 picture goes in any window, and the copies that put it there.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "media/placement.h"
#include "media/sharp_scale.h"

TEST(Placement, TheLargestWholeScaleCentredElseTheLargestAspectCorrectSize) {
    const struct { int32_t w, h; PixelRect want; } cases[] = {
        {800, 600, {0, 0, 800, 600}},
        {801, 601, {0, 0, 800, 600}},          // an odd pixel left over goes right and below
        {1600, 1200, {0, 0, 1600, 1200}},      // also a HiDPI 2x screen's 800 x 600 window
        {1920, 1080, {560, 240, 800, 600}},    // 1080 is not twice 600
        {2560, 1440, {480, 120, 1600, 1200}},  // also 1280 x 720 window units at 2x
        {3840, 2160, {720, 180, 2400, 1800}},
        {2399, 1800, {399, 300, 1600, 1200}},  // 3x fits the height only: 2x
        {640, 480, {0, 0, 640, 480}},          // too small for 1x: aspect-correct
        {700, 600, {0, 37, 700, 525}},
        {800, 500, {67, 0, 666, 500}},
        {0, 600, {}},
    };
    for (const auto& c : cases) {
        const PixelRect r = PlacePicture(c.w, c.h, 800, 600);
        EXPECT_EQ(r, c.want) << c.w << " x " << c.h << ": got " << r.x << "," << r.y << " " << r.w << "x" << r.h;
    }
}

TEST(Placement, FillingTakesTheLargestFourByThreeRectangleCentred) {
    const struct { int32_t w, h; PixelRect want; } cases[] = {
        {1920, 1080, {240, 0, 1440, 1080}},
        {1366, 768, {171, 0, 1024, 768}},
        {1280, 800, {107, 0, 1066, 800}},
        {2560, 1440, {320, 0, 1920, 1440}},
        {3840, 2160, {480, 0, 2880, 2160}},
        {2880, 1800, {240, 0, 2400, 1800}},  // a HiDPI laptop's real pixels
        {1000, 700, {33, 0, 933, 700}},      // a dragged window
        {1600, 1200, {0, 0, 1600, 1200}},
        {1024, 1000, {0, 116, 1024, 768}},   // taller than 4:3: bars above and below
        {640, 480, {0, 0, 640, 480}},
    };
    for (const auto& c : cases) EXPECT_EQ(PlacePicture(c.w, c.h, 800, 600, ScaleMode::Fill), c.want) << c.w << " x " << c.h;
}

// Four pictures pixels a, b (top), c, d at 1.5x: the corners are theirs alone, the edges' middles
// half of each of two, the centre a quarter of each (every channel rounded half up).
TEST(SharpScale, AtOneAndAHalfOnlyTheStraddlingPixelsAreBlends) {
    const uint32_t src[] = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000};
    std::vector<uint32_t> dst(3 * 3, 7);
    const PixelBlock block{dst.data(), 3, 3, 3};
    SharpScaler s;
    SharpScalerPrepare(&s, 2, 2, block, {0, 0, 3, 3});
    SharpScale(&s, src, block);
    EXPECT_EQ(dst, (std::vector<uint32_t>{0x000000, 0x000080, 0x0000FF,  //
                                          0x008000, 0x404040, 0x800080,  //
                                          0x00FF00, 0x808000, 0xFF0000}));
}

// A picture of distinct colours scaled up by whole and broken factors, and shrunk: every output
// pixel lies between the picture pixels its area covers (no colour from further away), one inside
// a single pixel is that pixel exactly, a whole factor is exactly the nearest copy, and the pure
// blocks of a row differ in width by at most one.
TEST(SharpScale, EveryPixelComesFromThePixelsItCoversAndBlocksAreEven) {
    constexpr int32_t kW = 7, kH = 5;
    std::vector<uint32_t> src(kW * kH);
    for (int32_t i = 0; i < kW * kH; ++i) src[i] = (uint32_t(i * 37 % 256) << 16) | (uint32_t(i * 91 % 256) << 8) | uint32_t(i * 53 % 256);
    const struct { int32_t w, h; } sizes[] = {{14, 10}, {21, 15}, {10, 7}, {12, 9}, {16, 6}, {5, 4}, {7, 5}};
    for (const auto [w, h] : sizes) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        std::vector<uint32_t> dst(size_t(w) * h);
        const PixelBlock block{dst.data(), w, h, w};
        SharpScaler s;
        SharpScalerPrepare(&s, kW, kH, block, {0, 0, w, h});
        SharpScale(&s, src.data(), block);
        // The picture pixels whose area meets output pixel i of n, along an axis of `from`.
        const auto covered = [](int32_t i, int32_t n, int32_t from) {
            return std::pair{int32_t(int64_t(i) * from / n), int32_t((int64_t(i + 1) * from + n - 1) / n - 1)};
        };
        std::vector<int32_t> pure(kW, 0);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) {
                const auto [x0, x1] = covered(x, w, kW);
                const auto [y0, y1] = covered(y, h, kH);
                const uint32_t got = dst[size_t(y) * w + x];
                if (x0 == x1 && y0 == y1) {
                    EXPECT_EQ(got, src[y0 * kW + x0]) << x << "," << y << " lies inside one pixel";
                    if (y == 0) ++pure[x0];
                }
                for (int shift : {0, 8, 16}) {
                    uint32_t lo = 255, hi = 0;
                    for (int32_t sy = y0; sy <= y1; ++sy)
                        for (int32_t sx = x0; sx <= x1; ++sx)
                            lo = std::min(lo, src[sy * kW + sx] >> shift & 255), hi = std::max(hi, src[sy * kW + sx] >> shift & 255);
                    EXPECT_TRUE((got >> shift & 255) >= lo && (got >> shift & 255) <= hi) << x << "," << y << " channel " << shift;
                }
            }
        if (w >= kW) { EXPECT_LE(*std::max_element(pure.begin(), pure.end()) - *std::min_element(pure.begin(), pure.end()), 1); }
        // Cut by the output's edges (the picture hanging one pixel over the top left): the same pixels.
        std::vector<uint32_t> cut(size_t(w - 2) * (h - 2), 7);
        const PixelBlock cutBlock{cut.data(), w - 2, h - 2, w - 2};
        SharpScalerPrepare(&s, kW, kH, cutBlock, {-1, -1, w, h});
        SharpScale(&s, src.data(), cutBlock);
        for (int32_t y = 0; y < h - 2; ++y)
            for (int32_t x = 0; x < w - 2; ++x) ASSERT_EQ(cut[size_t(y) * (w - 2) + x], dst[size_t(y + 1) * w + x + 1]);
        if (w % kW == 0 && h % kH == 0) {
            std::vector<uint32_t> nearest(dst.size());
            ScalePixels(src.data(), kW, kH, PixelBlock{nearest.data(), w, h, w}, {0, 0, w, h});
            EXPECT_EQ(dst, nearest) << "a whole factor is the nearest copy";
        }
    }
}

TEST(Placement, ScalingTakesThePixelUnderEachCentreAndStaysInsideItsTarget) {
    // A 3 x 2 source of pixels 1..6 into a 9 x 5 target of '.' (rows of the pictures below,
    // top first, each row 9 wide; the target's pitch of 11 leaves two pixels that are never ours).
    const uint32_t src[] = {1, 2, 3, 4, 5, 6};
    const struct { const char* what; PixelRect to; const char* want; } cases[] = {
        {"2x at (1, 1)", {1, 1, 6, 4}, ".........|.112233..|.112233..|.445566..|.445566.."},
        {"shrunk to 2 x 1", {0, 0, 2, 1}, "46.......|.........|.........|.........|........."},
        {"3x over the bottom right", {6, 3, 9, 6}, ".........|.........|.........|......111|......111"},
        {"over the top left, mid-pixel", {-3, -1, 6, 4}, "233......|566......|566......|.........|........."},
        {"1x, cut at the bottom", {5, 4, 3, 2}, ".........|.........|.........|.........|.....123."},
    };
    for (const auto& c : cases) {
        std::vector<uint32_t> dst(11 * 5, '.');
        ScalePixels(src, 3, 2, PixelBlock{dst.data(), 9, 5, 11}, c.to);
        std::string shown;
        for (size_t i = 0; i < dst.size(); ++i) {
            if (i % 11 >= 9) {
                EXPECT_EQ(dst[i], uint32_t{'.'}) << c.what << ": written past the row";
                continue;
            }
            shown += static_cast<char>(dst[i] < 10 ? '0' + dst[i] : dst[i]);
            if (i % 11 == 8 && i < 50) shown += '|';
        }
        EXPECT_EQ(shown, c.want) << c.what;
    }
}

TEST(Placement, BarsCoverEverythingButThePicture) {
    std::vector<uint32_t> dst(6 * 4, 7);
    FillOutside(PixelBlock{dst.data(), 5, 4, 6}, {1, 1, 3, 2}, 0);
    EXPECT_EQ(dst, (std::vector<uint32_t>{0, 0, 0, 0, 0, 7,  0, 7, 7, 7, 0, 7,  0, 7, 7, 7, 0, 7,  0, 0, 0, 0, 0, 7}));
    FillOutside(PixelBlock{dst.data(), 5, 4, 6}, {9, 9, 3, 2}, 1);  // nothing of it inside: all bars
    EXPECT_EQ(std::count(dst.begin(), dst.end(), 1u), 20);
}
