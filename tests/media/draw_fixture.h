// Shared helpers of the drawing tests: bitmap files built in memory, the game's screen
// opened on SDL's dummy video driver, and looks at the back buffer.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "media/rotated.h"
#include "media/sprite.h"
#include "media/text.h"
#include "media/window.h"

namespace drawtest {

inline void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// File header and 40-byte information header, nothing after.
inline std::vector<uint8_t> Headers(int32_t width, int32_t height, int bpp, uint32_t dataOffset) {
    std::vector<uint8_t> b(54, 0);
    b[0] = 'B', b[1] = 'M', b[26] = 1, b[28] = static_cast<uint8_t>(bpp);
    Put32(b, 10, dataOffset);
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<uint32_t>(width));
    Put32(b, 22, static_cast<uint32_t>(height));
    return b;
}

// A bitmap of `bpp` 8 or 24 bits: `palette` entries 0xRRGGBB, then bottom-up rows padded
// to 4 bytes; value(x, y), y from the top, is an index (8 bits) or 0xRRGGBB (24 bits).
inline std::vector<uint8_t> MakeBitmap(int32_t width, int32_t height, int bpp, const std::vector<uint32_t>& palette,
                                       const std::function<uint32_t(int, int)>& value) {
    size_t stride = (static_cast<size_t>(width) * bpp / 8 + 3) / 4 * 4;
    auto b = Headers(width, height, bpp, static_cast<uint32_t>(54 + 4 * palette.size()));
    for (uint32_t c : palette) b.insert(b.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), 0});
    size_t data = b.size();
    b.resize(data + stride * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = b.data() + data + stride * static_cast<size_t>(height - 1 - y) + x * bpp / 8;
            uint32_t v = value(x, y);
            p[0] = uint8_t(v);
            if (bpp == 24) p[1] = uint8_t(v >> 8), p[2] = uint8_t(v >> 16);
        }
    return b;
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
inline int32_t LoadPicture(int32_t slot, int32_t w, int32_t h, const std::vector<uint32_t>& rgb, int32_t flags = 0) {
    auto bytes = MakeBitmap(w, h, 24, {}, [&](int x, int y) { return rgb[static_cast<size_t>(y) * w + x]; });
    std::string path = WriteFile("picture.bmp", bytes);
    int32_t result = SpriteLoad(slot, path.c_str(), flags);
    std::remove(path.c_str());
    return result;
}

inline void FillScreen(uint32_t colour) {
    std::fill(ScreenBackBuffer()->pixels.begin(), ScreenBackBuffer()->pixels.end(), colour);
}
inline uint32_t ScreenAt(int32_t x, int32_t y) { return ScreenBackBuffer()->At(x, y); }
inline int CountNot(uint32_t background) {
    int n = 0;
    for (uint32_t v : ScreenBackBuffer()->pixels) n += v != background;
    return n;
}

// The smallest rectangle holding every screen pixel that differs from `background`.
struct Box {
    int32_t left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Box&) const = default;
};
inline std::ostream& operator<<(std::ostream& o, const Box& b) {
    return o << "(" << b.left << ", " << b.top << ") " << b.width << " x " << b.height;
}
inline Box ChangedBox(uint32_t background) {
    const Picture& p = *ScreenBackBuffer();
    int32_t l = p.width, t = p.height, r = -1, b = -1;
    for (int32_t y = 0; y < p.height; ++y)
        for (int32_t x = 0; x < p.width; ++x)
            if (p.At(x, y) != background) l = std::min(l, x), r = std::max(r, x), t = std::min(t, y), b = std::max(b, y);
    return r < 0 ? Box{} : Box{l, t, r - l + 1, b - t + 1};
}

// The game's window and screen on the dummy video driver, closed after each test in the
// order the program's end uses.
class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        WindowLibraryInit();
        DrawingInit();
        ASSERT_NE(DisplayInit(), 0);
        ASSERT_NE(RotatedSpritesInit(), 0);
        window = WindowOpen(1, 0, 0, 800, 600, 0xC80001u, "Dreel");
        ASSERT_NE(window, 0);
        ASSERT_NE(ScreenOpenInWindow(WindowHandle(), 0, 0, 800, 600, 0, 0, 0), 0);
        ScreenSetPacing(false);
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
