// Shared helpers of the drawing tests: bitmap files built in memory, a screen opened on
// SDL's dummy video driver, and small picture helpers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

#include "media/rotated.h"
#include "media/sprite.h"
#include "media/text.h"
#include "media/window.h"

namespace drawtest {

inline void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A bitmap file: 14-byte file header, 40-byte information header, `palette` (blue, green,
// red, 0 per entry), then bottom-up rows padded to 4 bytes. `bits(x, y)` gives the stored
// value of pixel (x, y), y counted from the top of the picture: an index for 1/4/8 bits,
// else 0xRRGGBB (16-bit files take it as the raw 16-bit word).
inline std::vector<uint8_t> MakeBitmap(int32_t width, int32_t height, int bpp,
                                       const std::vector<uint32_t>& palette,
                                       const std::function<uint32_t(int, int)>& bits) {
    size_t stride = (static_cast<size_t>(width) * bpp + 31) / 32 * 4;
    size_t dataOffset = 14 + 40 + 4 * palette.size();
    std::vector<uint8_t> b(dataOffset + stride * height, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(b.size()));
    Put32(b, 10, static_cast<uint32_t>(dataOffset));
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<uint32_t>(width));
    Put32(b, 22, static_cast<uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, static_cast<uint32_t>(bpp));
    for (size_t i = 0; i < palette.size(); ++i) {
        uint32_t c = palette[i];
        b[54 + 4 * i] = static_cast<uint8_t>(c);
        b[55 + 4 * i] = static_cast<uint8_t>(c >> 8);
        b[56 + 4 * i] = static_cast<uint8_t>(c >> 16);
    }
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = b.data() + dataOffset + stride * static_cast<size_t>(height - 1 - y);
        for (int32_t x = 0; x < width; ++x) {
            uint32_t v = bits(x, y);
            switch (bpp) {
                case 1: row[x / 8] |= static_cast<uint8_t>((v & 1) << (7 - x % 8)); break;
                case 4: row[x / 2] |= static_cast<uint8_t>((v & 15) << (x % 2 ? 0 : 4)); break;
                case 8: row[x] = static_cast<uint8_t>(v); break;
                case 16: row[2 * x] = static_cast<uint8_t>(v); row[2 * x + 1] = static_cast<uint8_t>(v >> 8); break;
                default: {
                    uint8_t* p = row + static_cast<size_t>(x) * (bpp / 8);
                    p[0] = static_cast<uint8_t>(v);
                    p[1] = static_cast<uint8_t>(v >> 8);
                    p[2] = static_cast<uint8_t>(v >> 16);
                    if (bpp == 32) p[3] = 0xAB;  // the unused byte must not matter
                }
            }
        }
    }
    return b;
}

// A 24-bit bitmap of the given picture (0xRRGGBB, rows top first).
inline std::vector<uint8_t> BitmapOf(int32_t width, int32_t height, const std::vector<uint32_t>& rgb) {
    return MakeBitmap(width, height, 24, {}, [&](int x, int y) { return rgb[static_cast<size_t>(y) * width + x]; });
}

// Per process, as CTest may run the tests of this program side by side.
inline std::string TempPath(const std::string& name) {
    return testing::TempDir() + "dreel_draw_" + std::to_string(getpid()) + "_" + name;
}

inline std::string WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::string path = TempPath(name);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr) << path;
    if (f) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    return path;
}

// Loads a picture (0xRRGGBB, rows top first) into a sprite slot through a bitmap file.
inline int32_t LoadPicture(int32_t slot, int32_t width, int32_t height, const std::vector<uint32_t>& rgb,
                           int32_t flags = 0) {
    std::string path = WriteFile("slot" + std::to_string(slot) + ".bmp", BitmapOf(width, height, rgb));
    int32_t result = SpriteLoad(slot, path.c_str(), flags);
    std::remove(path.c_str());
    return result;
}

inline void FillScreen(uint32_t colour) {
    Picture* p = ScreenBackBuffer();
    ASSERT_NE(p, nullptr);
    std::fill(p->pixels.begin(), p->pixels.end(), colour);
}

inline uint32_t ScreenAt(int32_t x, int32_t y) { return ScreenBackBuffer()->At(x, y); }

// The smallest rectangle holding every screen pixel that differs from `background`;
// width 0 when none does.
struct Box {
    int32_t left = 0, top = 0, width = 0, height = 0;
};
inline Box ChangedBox(uint32_t background) {
    const Picture& p = *ScreenBackBuffer();
    int32_t l = p.width, t = p.height, r = -1, b = -1;
    for (int32_t y = 0; y < p.height; ++y)
        for (int32_t x = 0; x < p.width; ++x)
            if (p.At(x, y) != background) {
                l = std::min(l, x), r = std::max(r, x);
                t = std::min(t, y), b = std::max(b, y);
            }
    if (r < 0) return {};
    return {l, t, r - l + 1, b - t + 1};
}

inline int CountNot(uint32_t background) {
    const Picture& p = *ScreenBackBuffer();
    int n = 0;
    for (uint32_t v : p.pixels) n += v != background;
    return n;
}

// The game's window and screen on the dummy video driver, closed again after each test
// in the order the program's end uses.
class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        WindowLibraryInit();
        ASSERT_NE(DisplayInit(), 0);
        ASSERT_NE(RotatedSpritesInit(), 0);
        window = WindowOpen(1, 0, 0, 800, 600, 0xC80001u, "Dreel");
        ASSERT_NE(window, 0);
        ASSERT_NE(ScreenOpenInWindow(WindowHandle(), 0, 0, 800, 600, 0, 0, 0), 0);
        ScreenSetPacing(false);
        DrawingInit();
    }
    void TearDown() override {
        WindowsCloseAll();
        RotatedSpritesEnd();
        DisplayEnd();
        ScreenSetPacing(true);
    }
    intptr_t window = 0;
};

}  // namespace drawtest
