// Where the 800 x 600 picture goes in any window, and the copy that puts it there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/placement.h"

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
