// Screenshots from the replay tool, read back from its PNG files and compared with the
// game's own pictures: the background everywhere nothing is drawn, each enemy's ball
// at its traced place, the shot, the aim marker, the cannon turned to the heading, and
// the heads-up text in the top-left corner.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "media/bmp_reader.h"
#include "png_reader.h"
#include "run_tool.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
// The heads-up text stays within this corner (a generous bound for "0 0/1").
constexpr int32_t kTextWidth = 200, kTextHeight = 32;

Picture LoadData(const char* name) {
    std::ifstream in(std::string(DREEL_DATA_DIR) + "/" + name, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    BitmapResult r = ReadBitmap(bytes);
    EXPECT_TRUE(r.ok) << name << ": " << r.error;
    return r.picture;
}

struct Rect {
    int32_t x, y, w, h;
    bool Contains(int32_t px, int32_t py) const { return px >= x && px < x + w && py >= y && py < y + h; }
    bool Meets(const Rect& o) const { return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h; }
};

// A screenshot with the trace of the same frame.
struct Shot {
    PngImage image;
    TraceFrame frame;
};

Shot TakeScreenshot(uint32_t seed, const std::string& script, int frame) {
    const std::string dir = MakeScratchFolder();
    ToolRun run = Replay(seed, script, {"--png", std::to_string(frame) + ":" + dir + "/shot.png"});
    Shot s;
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.traceError.empty()) << run.traceError;
    s.image = ReadPngFile(dir + "/shot.png");
    EXPECT_TRUE(s.image.ok) << s.image.error;
    if (static_cast<size_t>(frame) < run.frames.size()) s.frame = run.frames[static_cast<size_t>(frame)];
    std::filesystem::remove_all(dir);
    return s;
}

class Screenshot : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        background = new Picture(LoadData("Background.bmp"));
        balls = new Picture(LoadData("kugeln.bmp"));
        bolt = new Picture(LoadData("shoot.bmp"));
    }
    static void TearDownTestSuite() {
        delete background;
        delete balls;
        delete bolt;
    }
    static Picture* background;
    static Picture* balls;
    static Picture* bolt;

    static Rect EnemyBox(const Rec5& e) {
        return {static_cast<int32_t>(e[0] / 10), static_cast<int32_t>(e[1] / 10), 16, 16};
    }
    static Rect CannonBox(const TraceFrame& f) {
        return {static_cast<int32_t>(f.P(kPosX) / 10 - 8), static_cast<int32_t>(f.P(kPosY) / 10 - 8), 32, 32};
    }
    static Rect MarkerBox(const TraceFrame& f) {
        return {static_cast<int32_t>(f.P(kFrontX) / 10), static_cast<int32_t>(f.P(kFrontY) / 10), 16, 16};
    }
    static Rect ShotBox(const Rec5& s) {
        return {static_cast<int32_t>(s[0] / 10), static_cast<int32_t>(s[1] / 10), bolt->width, bolt->height};
    }
    static std::vector<Rect> Drawn(const TraceFrame& f) {
        std::vector<Rect> boxes = {{0, 0, kTextWidth, kTextHeight}, CannonBox(f), MarkerBox(f)};
        for (const Rec5& e : f.enemies) boxes.push_back(EnemyBox(e));
        for (const Rec5& s : f.shots) boxes.push_back(ShotBox(s));
        return boxes;
    }
    static bool Alone(const Rect& box, const std::vector<Rect>& drawn) {
        int meets = 0;
        for (const Rect& o : drawn) meets += box.Meets(o);
        return meets == 1;  // only itself
    }

    // The sheet cell at (cx, cy) drawn keyed at `box`: its black pixels show the
    // background, the others are copied as they are.
    static int KeyedMismatches(const PngImage& img, const Picture& sheet, int32_t cx, int32_t cy, const Rect& box) {
        int bad = 0;
        for (int32_t y = 0; y < box.h; ++y)
            for (int32_t x = 0; x < box.w; ++x) {
                int32_t sx = box.x + x, sy = box.y + y;
                if (sx < 0 || sy < 0 || sx >= img.width || sy >= img.height) continue;
                uint32_t src = sheet.At(cx + x, cy + y);
                uint32_t want = src != 0 ? src : background->At(sx, sy);
                bad += img.At(sx, sy) != want;
            }
        return bad;
    }

    static int ChangedIn(const PngImage& img, const Rect& r) {
        int n = 0;
        for (int32_t y = r.y; y < r.y + r.h; ++y)
            for (int32_t x = r.x; x < r.x + r.w; ++x) n += img.At(x, y) != background->At(x, y);
        return n;
    }
};

Picture* Screenshot::background = nullptr;
Picture* Screenshot::balls = nullptr;
Picture* Screenshot::bolt = nullptr;

// Frame 3 after one shot in frame 1: nothing destroyed yet, so the background is the
// untouched picture.
TEST_F(Screenshot, BackgroundEnemiesShotAndMarkerWhereTheTraceSays) {
    Shot s = TakeScreenshot(13, "0 0 0 1\n0\n0\n", 3);
    ASSERT_TRUE(s.image.ok);
    ASSERT_EQ(s.image.width, 800);
    ASSERT_EQ(s.image.height, 600);
    ASSERT_EQ(s.frame.frame, 3);
    ASSERT_EQ(s.frame.kills, 0);
    ASSERT_EQ(s.frame.shots.size(), 1u);
    ASSERT_TRUE(s.frame.flashes.empty() && s.frame.puffs.empty());
    const std::vector<Rect> drawn = Drawn(s.frame);

    int outside = 0, outsideBad = 0;
    for (int32_t y = 0; y < 600; ++y)
        for (int32_t x = 0; x < 800; ++x) {
            bool covered = false;
            for (const Rect& r : drawn) covered = covered || r.Contains(x, y);
            if (covered) continue;
            ++outside;
            outsideBad += s.image.At(x, y) != background->At(x, y);
        }
    EXPECT_GT(outside, 400000);
    EXPECT_EQ(outsideBad, 0) << "pixels away from everything drawn differ from the background";

    int checked = 0;
    for (const Rec5& e : s.frame.enemies) {
        Rect box = EnemyBox(e);
        if (!Alone(box, drawn)) continue;
        ++checked;
        const int32_t kind = static_cast<int32_t>(e[4]);
        EXPECT_EQ(KeyedMismatches(s.image, *balls, (kind % 5) * 16, (kind / 5) * 16, box), 0)
            << "enemy of kind " << kind << " at " << box.x << ", " << box.y;
    }
    EXPECT_GE(checked, 5) << "too few enemies stand apart to be checked";

    // The shot flew from (408, 304) by 6 pixels a frame.
    const Rect shot = ShotBox(s.frame.shots[0]);
    EXPECT_EQ(shot.x, 426);
    EXPECT_EQ(shot.y, 304);
    ASSERT_TRUE(Alone(shot, drawn));
    EXPECT_EQ(KeyedMismatches(s.image, *bolt, 0, 0, shot), 0);

    const Rect marker = MarkerBox(s.frame);
    ASSERT_TRUE(Alone(marker, drawn));
    EXPECT_EQ(KeyedMismatches(s.image, *balls, 64, 64, marker), 0) << "aim marker";
}

// At heading 0 the barrels point right; three frames of a large downward mouse movement
// turn the heading to 900 and the barrels point down.
TEST_F(Screenshot, CannonTurnsWithTheHeading) {
    Shot level = TakeScreenshot(13, "0\n0\n0\n", 3);
    Shot down = TakeScreenshot(13, "0 800\n0 800\n0 800\n0\n", 4);
    ASSERT_TRUE(level.image.ok && down.image.ok);
    ASSERT_EQ(level.frame.P(kAngle), 0);
    ASSERT_EQ(down.frame.P(kAngle), 900);

    for (const Shot* s : {&level, &down}) {
        const Rect c = CannonBox(s->frame);
        ASSERT_TRUE(Alone(c, Drawn(s->frame)));
        const Rect right = {c.x + 24, c.y, 8, 32}, bottom = {c.x, c.y + 24, 32, 8};
        const int r = ChangedIn(s->image, right), b = ChangedIn(s->image, bottom);
        if (s == &level) {
            EXPECT_GT(r, 2 * b + 4) << "heading 0: right " << r << ", bottom " << b;
        } else {
            EXPECT_GT(b, 2 * r + 4) << "heading 900: right " << r << ", bottom " << b;
        }
        // The ball stays visible where the cannon leaves it uncovered: something is drawn
        // in its box.
        EXPECT_GT(ChangedIn(s->image, {c.x + 8, c.y + 8, 16, 16}), 20);
    }
    // The marker follows: 50 pixels below the ball.
    EXPECT_EQ(down.frame.P(kFrontY) - down.frame.P(kPosY), 500);
    EXPECT_EQ(KeyedMismatches(down.image, *balls, 64, 64, MarkerBox(down.frame)), 0);
}

// The heads-up text: black on white in the top-left corner, and it changes with the
// count of shots.
TEST_F(Screenshot, HeadsUpTextInTheTopLeftCorner) {
    Shot none = TakeScreenshot(13, "0\n0\n0\n", 3);
    Shot one = TakeScreenshot(13, "0 0 0 1\n0\n0\n", 3);
    ASSERT_TRUE(none.image.ok && one.image.ok);
    ASSERT_EQ(none.frame.shotsFired, 0);
    ASSERT_EQ(one.frame.shotsFired, 1);

    std::vector<Rect> enemies;
    for (const Shot* s : {&none, &one})
        for (const Rec5& e : s->frame.enemies) enemies.push_back(EnemyBox(e));
    auto free = [&](int32_t x, int32_t y) {
        for (const Rect& r : enemies)
            if (r.Contains(x, y)) return false;
        return true;
    };
    int white = 0, dark = 0, differs = 0, changedCorner = 0;
    for (int32_t y = 0; y < kTextHeight; ++y)
        for (int32_t x = 0; x < kTextWidth; ++x) {
            if (!free(x, y)) continue;
            uint32_t p = none.image.At(x, y);
            white += p == kWhite;
            dark += ((p >> 16) & 0xFF) < 64 && ((p >> 8) & 0xFF) < 64 && (p & 0xFF) < 64;
            differs += p != one.image.At(x, y);
            changedCorner += p != background->At(x, y) && x < 8 && y < 8;
        }
    EXPECT_GT(white, 30) << "no white box";
    EXPECT_GT(dark, 10) << "no black letters";
    EXPECT_GT(differs, 0) << "\"0 0/0\" and \"0 0/1\" look the same";
    if (free(0, 0)) {
        EXPECT_GT(changedCorner, 0) << "the text does not start in the corner";
    }
}

}  // namespace
