// The release game in a real window on a virtual display, driven as a person would: keys,
// mouse, the close box, missing files, no sound device. Xvfb is the display, xdotool the
// hands, ImageMagick's import the eyes; Xlib finds windows, reads properties, asks to close.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <regex>
#include <sstream>
#include <thread>

#include "media/bmp_reader.h"
#include "test_support.h"

// Xlib defines macros such as None and Bool: it comes after everything else.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

using Clock = std::chrono::steady_clock;

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// A long-running child with our environment, standard error into errFile.
pid_t Spawn(std::vector<std::string> args, const std::string& cwd, const std::string& errFile) {
    std::vector<char*> argp;
    for (std::string& a : args) argp.push_back(a.data());
    argp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    pid_t pid = -1;
    if (posix_spawn(&pid, argp[0], &actions, nullptr, argp.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// The exit code once the child has ended within ms (pid is then -1), else -1.
int WaitExit(pid_t& pid, int ms) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    for (int status = 0; pid > 0 && Clock::now() < end; Pause(10))
        if (waitpid(pid, &status, WNOHANG) == pid)
            return pid = -1, WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return -1;
}

// Politely first, so that Xvfb removes its lock file and the number is free again.
void Stop(pid_t& pid) {
    if (pid > 0 && kill(pid, SIGTERM) == 0 && WaitExit(pid, 5000) == -1) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
    pid = -1;
}

// Seconds of processor time: a process's own (fields 14 and 15 of its stat line; the name,
// "(dreel)", has no spaces), or with no process the machine's idle time (field 5).
double CpuSeconds(pid_t pid = 0) {
    std::istringstream stat(support::ReadText(pid ? "/proc/" + std::to_string(pid) + "/stat" : "/proc/stat"));
    std::string field;
    long a = 0, b = 0;
    for (int i = 1; i < (pid ? 14 : 4); ++i) stat >> field;
    return stat >> a >> b ? static_cast<double>(pid ? a + b : b) / static_cast<double>(sysconf(_SC_CLK_TCK)) : 0;
}

void Xdo(std::vector<std::string> args) {
    args.insert(args.begin(), XDOTOOL);
    support::RunOptions options;
    options.timeoutMs = 30000;
    EXPECT_FALSE(support::RunProcess(args, options).timedOut) << "xdotool " << args[1] << " hung";
}

// Does `act`, then polls for `done` five seconds, `tries` times: instead of xdotool's --sync,
// which waits for ever, and again what a window manager busy starting may have dropped.
bool Retry(const std::function<void()>& act, const std::function<bool()>& done, int tries = 5) {
    for (int i = 0; i < tries; ++i)
        for (const auto end = (act(), Clock::now() + std::chrono::seconds(5)); Clock::now() < end; Pause(50))
            if (done()) return true;
    return done();
}
bool WaitFor(const std::function<bool()>& done, int tries) { return Retry([] {}, done, tries); }

// Where most lit pixels of a 16 x 16 cell of the ball sheet match. The cannon covers half
// the ball, the floor matches next to none: more than a quarter shows it.
struct Found {
    int x = -1, y = -1, score = 0, total = 0;
    bool Shown() const { return 4 * score > total; }
};
Found FindCell(const Picture& screen, const Picture& sheet, int cellX, int cellY) {
    Found best;
    for (int y = 0; y + 16 <= screen.height; ++y)
        for (int x = 0; x + 16 <= screen.width; ++x) {
            Found here{x, y, 0, 0};
            for (int i = 0; i < 256; ++i)
                if (const uint32_t lit = sheet.At(cellX + i % 16, cellY + i / 16))
                    ++here.total, here.score += screen.At(x + i % 16, y + i / 16) == lit;
            if (here.score > best.score) best = here;
        }
    return best;
}

// Where the non-black pixels of a picture are: "x0..x1, y0..y1".
std::string LitBox(const Picture& p) {
    int x0 = p.width, x1 = -1, y0 = p.height, y1 = -1;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.At(x, y)) x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    return std::to_string(x0) + ".." + std::to_string(x1) + ", " + std::to_string(y0) + ".." + std::to_string(y1);
}

class RealWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartDisplay("2560x1440x24"); }
    // A display of our own: the first from :57 whose lock file names our server.
    static void StartDisplay(const char* screen) {
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // a closed window may be gone already
        for (int n = 57; n <= 99 && !x_; ++n) {
            const std::string name = ":" + std::to_string(n), lock = "/tmp/.X" + std::to_string(n) + "-lock";
            if (std::filesystem::exists(lock)) continue;
            xvfb_ = Spawn({XVFB, name, "-screen", "0", screen, "-nolisten", "tcp"}, "/", "/dev/null");
            for (int i = 0; i < 400 && !x_ && WaitExit(xvfb_, 50) == -1; ++i)
                if (std::atoi(support::ReadText(lock).c_str()) == xvfb_) x_ = XOpenDisplay(name.c_str());
            x_ ? void(setenv("DISPLAY", name.c_str(), 1)) : Stop(xvfb_);
        }
        setenv("SDL_VIDEODRIVER", "x11", 1), setenv("DREEL_FRAME_STATS", "1", 1);  // for the game
    }
    static void TearDownTestSuite() { if (x_) XCloseDisplay(x_), x_ = nullptr, Stop(xvfb_); }
    void SetUp() override {
        ASSERT_NE(x_, nullptr) << "no virtual display could be started";
        unsetenv("DREEL_PRESENT");  // the game's own choice unless a test forces one
        for (const std::string& name : support::GameDataNames())
            std::filesystem::copy_file(support::DataPath(name), work_ / name);
    }
    void TearDown() override { Stop(game_), Stop(manager_); }

    // A window manager, as on a desktop; false if it does not start.
    bool StartManager() {
        manager_ = Spawn({OPENBOX, "--sm-disable"}, "/", "/dev/null");
        return WaitFor([] {
            return support::RunProcess({XPROP, "-root", "_NET_SUPPORTING_WM_CHECK"}).out.find("window id") != std::string::npos;
        }, 12);
    }

    void StartGame(const char* audio, std::vector<std::string> options = {}) {
        setenv("SDL_AUDIODRIVER", audio, 1);
        // The player's files in the test's own folder: never the real user's settings or records.
        setenv("XDG_CONFIG_HOME", (work_ / "config").c_str(), 1), setenv("XDG_STATE_HOME", (work_ / "state").c_str(), 1);
        // --data: a removed file must not be found beside the executable instead.
        options.insert(options.begin(), {DREEL_GAME_BINARY, "--data", work_.path.string()});
        game_ = Spawn(options, work_.path.string(), work_ / "stderr.txt");
    }
    std::string Stderr() const { return support::ReadText(work_ / "stderr.txt"); }

    // The line (id, title, geometry) of the window with this title; empty if none shows.
    // The whole tree: a window manager puts each window into a frame of its own.
    static std::string FindWindow(const std::string& title, int ms) {
        for (const auto end = Clock::now() + std::chrono::milliseconds(ms);; Pause(50)) {
            const std::string list = support::RunProcess({XWININFO, "-root", "-tree"}).out;
            const size_t at = list.find(" \"" + title + "\": ");
            const size_t from = list.find_first_not_of(' ', list.rfind('\n', at) + 1);
            if (at != std::string::npos) return list.substr(from, list.find('\n', at) - from);
            if (Clock::now() >= end) return {};
        }
    }

    // "WxH" of the game window's line ("... "Dreel": ("dreel" "dreel")  WxH+X+Y  +X+Y").
    static std::string Size() {
        std::smatch m;
        const std::string line = FindWindow("Dreel", 0);
        return std::regex_search(line, m, std::regex(" ([0-9]+x[0-9]+)[+-]")) ? m[1].str() : line;
    }
    static std::string Id(const std::string& line) { return line.substr(0, line.find(" \"")); }
    static Window Xid(const std::string& id) { return std::stoul(id, nullptr, 16); }

    // A window property's 32-bit items; empty if it is not set.
    static std::vector<uint32_t> Property(const std::string& id, const char* name) {
        Atom type;
        int format = 0;
        unsigned long count = 0, after;
        unsigned char* data = nullptr;
        XGetWindowProperty(x_, Xid(id), XInternAtom(x_, name, False), 0, 1 << 20, False, AnyPropertyType, &type,
                           &format, &count, &after, &data);
        std::vector<uint32_t> items(format == 32 ? count : 0);
        for (size_t i = 0; i < items.size(); ++i) items[i] = static_cast<uint32_t>(reinterpret_cast<long*>(data)[i]);
        return XFree(data), items;
    }
    // The id of the window with this title; with a window manager, once it has taken the window
    // (what is asked of it before may be lost or undone), a map request it missed made again.
    static std::string ShownWindow(const std::string& title, bool managed = false) {
        const std::string id = Id(FindWindow(title, 60000));
        const auto taken = [&] { return Property(id, "WM_STATE") == std::vector<uint32_t>{NormalState, None}; };
        return id.empty() || (managed && !Retry([&] { Xdo({"windowmap", id}); }, taken, 24)) ? "" : id;
    }
    // Keys go to the focus: the window takes it, or the window manager gives it.
    static void Type(const std::string& id, const std::vector<std::string>& keys, bool managed = false) {
        Window focus = 0;
        int revert = 0;
        const auto focused = [&] { return XGetInputFocus(x_, &focus, &revert), focus == Xid(id); };
        EXPECT_TRUE(Retry([&] { Xdo({managed ? "windowactivate" : "windowfocus", id}); }, focused)) << "no focus";
        Xdo(keys);
    }
    // What the close box does: the window manager's polite request.
    static void SendClose(const std::string& id) {
        const Window w = Xid(id);
        XEvent e{};
        e.xclient = {ClientMessage, 0, True, x_, w, XInternAtom(x_, "WM_PROTOCOLS", False), 32, {}};
        e.xclient.data.l[0] = static_cast<long>(XInternAtom(x_, "WM_DELETE_WINDOW", False));
        XSendEvent(x_, w, False, NoEventMask, &e), XFlush(x_);
    }

    Picture Screenshot(const std::string& w) const {
        const std::string path = work_ / "screen.bmp";
        support::RunProcess({IMPORT, "-window", w, "-depth", "8", "-type", "TrueColor", "BMP3:" + path});
        return ReadBitmap(support::ReadBytes(path)).picture;
    }

    static inline Display* x_ = nullptr;
    static inline pid_t xvfb_ = -1;
    support::TempFolder work_;
    pid_t game_ = -1, manager_ = -1;
};

TEST_F(RealWindow, PlaysLikeAPerson) {
    const Picture sheet = ReadBitmap(support::ReadBytes(support::DataPath("kugeln.bmp"))).picture;
    ASSERT_EQ(sheet.width, 80);
    XSelectInput(x_, DefaultRootWindow(x_), SubstructureNotifyMask), XSync(x_, False);
    StartGame("dummy");
    const std::string window = FindWindow("Dreel", 60000), w = Id(window);
    ASSERT_FALSE(w.empty()) << Stderr();
    EXPECT_NE(window.find(" 800x600+"), std::string::npos) << window;

    // Quickly, while the enemies are far: the player's ball, its aim marker 50 pixels ahead.
    Found ball;
    for (int i = 0; i < 100 && !ball.Shown(); ++i) ball = FindCell(Screenshot(w), sheet, 0, 0);
    ASSERT_TRUE(ball.Shown()) << "the player's ball is not on the screen";
    // Shown once: a window replaced once shown (SDL does so to try its GL renderer in a window
    // not made for GL) flickers, and its id changes under whoever has found it.
    int shown = 0;
    for (XEvent e; XCheckTypedEvent(x_, MapNotify, &e);) ++shown;
    EXPECT_EQ(shown, 1) << "the window was replaced after it showed";
    Type(w, {"keydown", "d", "sleep", "0.5", "keyup", "d"});
    const Picture moved = Screenshot(w);
    const Found right = FindCell(moved, sheet, 0, 0), aim = FindCell(moved, sheet, 64, 64);
    ASSERT_TRUE(right.Shown() && aim.Shown());
    EXPECT_GT(right.x, ball.x + 20) << "holding D should move the ball right";
    EXPECT_NEAR(right.y, ball.y, 3);
    EXPECT_GT(aim.x, right.x + 30) << "the aim should start to the right";

    // Down, then left: the aim and the cannon turn to the lower left.
    Xdo({"mousemove_relative", "--", "0", "120", "sleep", "0.2"});
    Xdo({"mousemove_relative", "--", "-120", "0", "sleep", "0.3"});
    const Picture turned = Screenshot(w);
    const Found now = FindCell(turned, sheet, 0, 0), turnedAim = FindCell(turned, sheet, 64, 64);
    ASSERT_TRUE(now.Shown() && turnedAim.Shown());
    EXPECT_LT(turnedAim.x, now.x - 20) << "the mouse did not turn the cannon";
    EXPECT_GT(turnedAim.y, now.y) << "the mouse did not turn the cannon";

    // Holding the left button fires: the shot count in the heads-up text changes.
    Xdo({"mousedown", "1", "sleep", "0.4"});
    const Picture firing = Screenshot(w);
    Xdo({"mouseup", "1", "sleep", "1"});  // a second to settle after the screenshots
    ASSERT_EQ(firing.width, 800);
    int changed = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 120; ++x) changed += firing.At(x, y) != turned.At(x, y);
    EXPECT_GT(changed, 5) << "the heads-up text did not change";

    // Ten idle seconds: a stalled loop loses whole seconds; the game needs a twentieth of a
    // core, a spinning loop all the share it gets.
    const size_t reportsFrom = Stderr().size();
    const double cpuBefore = CpuSeconds(game_), idleBefore = CpuSeconds();
    Pause(10000);
    const double cpu = (CpuSeconds(game_) - cpuBefore) / 10.0, spare = (CpuSeconds() - idleBefore) / 10.0;
    std::istringstream reports(Stderr().substr(reportsFrom));
    unsigned frames = 0, lateBlocks = 0, worst = 0;
    for (std::string line; std::getline(reports, line);)
        if (unsigned count = 0, late = 0; std::sscanf(line.c_str(), "frames %u, latest start %u", &count, &late) == 2)
            frames += count, lateBlocks += late > 20, worst = std::max(worst, late);
    std::printf("10 idle seconds: %u frames, %u blocks of 50 with a start over 20 ms late (worst %u ms); CPU %.1f "
                "%% of one core; %.2f cores idle\n", frames, lateBlocks, worst, 100.0 * cpu, spare);
    EXPECT_GE(frames, 400u) << "frames stopped for whole seconds";
    EXPECT_LE(frames, 600u) << "frames ran faster than 50 a second";
    EXPECT_LT(cpu, 0.25) << "the loop waits by spinning";
    // Lateness is judged only with half a core to spare: the game's presentation waits give
    // their time slices away to whoever else wants the processor.
    EXPECT_TRUE(spare < 0.5 || lateBlocks <= 5) << "frames started late again and again";

    // Docks match the window to its desktop entry by its class, and show its icon: the
    // generated art, opaque.
    XClassHint hint{};
    ASSERT_NE(XGetClassHint(x_, Xid(w), &hint), 0) << "the window has no class";
    const std::string windowClass = hint.res_class;
    XFree(hint.res_name), XFree(hint.res_class);
    EXPECT_NE(support::ReadText(DESKTOP_ENTRY).find("\nStartupWMClass=" + windowClass + "\n"), std::string::npos)
        << "the desktop entry does not name the window's class " << windowClass;
    const Picture art = ReadBitmap(support::ReadBytes(WINDOW_ICON)).picture;
    std::vector<uint32_t> icon{static_cast<uint32_t>(art.width), static_cast<uint32_t>(art.height)};
    for (const uint32_t pixel : art.pixels) icon.push_back(0xFF000000 | pixel);
    EXPECT_TRUE(Property(w, "_NET_WM_ICON") == icon) << "the window's icon is missing or not the art";

    Type(w, {"key", "Escape"});
    EXPECT_EQ(WaitExit(game_, 10000), 0) << Stderr();
}

// With a window manager, as on a desktop, at the whole-number scale: the picture grows by
// whole steps with the window, F11 fills the screen and gives the window back, and the last
// choice is the next start's, an unreadable settings file set aside whole before; nothing is
// asked of the manager before it has taken the game's window.
TEST_F(RealWindow, ThePictureGrowsWithTheWindowAndF11FillsTheScreen) {
    const Picture ground = ReadBitmap(support::ReadBytes(support::DataPath("Background.bmp"))).picture;
    const std::string settings = work_ / "config/dreel/settings.txt", garbage("format = 1\n\0\x01\xfe\n", 15);
    ASSERT_TRUE(std::filesystem::create_directories(work_ / "config/dreel") && support::WriteText(settings, garbage));
    ASSERT_TRUE(StartManager()) << "the window manager did not start";
    StartGame("dummy", {"--scale-mode", "integer"});
    const std::string w = ShownWindow("Dreel", true);
    ASSERT_FALSE(w.empty()) << "no window, or the window manager did not take it: " << Stderr();
    EXPECT_NE(Stderr().find("; moved to " + settings + ".unreadable;"), std::string::npos) << Stderr();
    EXPECT_TRUE(support::ReadText(settings + ".unreadable") == garbage) << "the unreadable file was not kept whole";
    // How much of the floor shows at (left, top) at twice its size; sprites cover some of it.
    const auto floorAt2x = [&](const Picture& shot, int left, int top) {
        int same = 0, all = 0;
        for (int y = 0; y < 600; y += 5)
            for (int x = 0; x < 800; x += 5, ++all)
                same += shot.At(left + 2 * x + 1, top + 2 * y + 1) == ground.At(x, y);
        return 100 * same / all;
    };
    const auto f11 = [&] { Type(w, {"key", "F11"}, true); };
    const struct { const char* what; std::function<void()> act; std::string size; int left, top; } steps[] = {
        {"resize", [&] { Xdo({"windowmove", w, "0", "0", "windowsize", w, "1600", "1200"}); }, "1600x1200", 0, 0},
        {"F11", f11, "2560x1440", 480, 120},
        {"F11 again", f11, "1600x1200", 0, 0},
        {"F11 once more", f11, "2560x1440", 480, 120},
    };
    for (const auto& step : steps) {
        Retry(step.act, [&] { return Size() == step.size; });
        Pause(300);  // a frame or two at the new size
        ASSERT_EQ(Size(), step.size) << step.what;
        const Picture shot = Screenshot(w);
        ASSERT_EQ(std::to_string(shot.width) + "x" + std::to_string(shot.height), step.size);
        EXPECT_GT(floorAt2x(shot, step.left, step.top), 80) << step.what << ": not the picture at 2x";
        if (step.left) {
            EXPECT_EQ(shot.At(step.left - 1, 700) | shot.At(shot.width - step.left, 700) | shot.At(1000, step.top - 1) |
                      shot.At(1000, shot.height - step.top), 0u) << "black bars";
        }
    }
    Type(w, {"key", "Escape"}, true);
    EXPECT_EQ(WaitExit(game_, 10000), 0) << Stderr();
    // Full screen as F11 left it; --window for this run only: 3x does not fit the height, 2x does.
    for (const auto& [option, want] : {std::pair{"--scale-mode=integer", "2560x1440"}, {"--window", "1600x1200"}}) {
        StartGame("dummy", {option, "--scale=3"});
        const std::string id = ShownWindow("Dreel", true);
        ASSERT_FALSE(id.empty()) << option << ": " << Stderr();
        EXPECT_TRUE(WaitFor([&] { return Size() == want; }, 2)) << option << " gives " << Size();
        Type(id, {"key", "Escape"}, true);
        EXPECT_EQ(WaitExit(game_, 10000), 0) << Stderr();
    }
    EXPECT_NE(support::ReadText(settings).find("\nfullscreen = yes\n"), std::string::npos) << support::ReadText(settings);
}

// Played in the window with --record and --trace: keys, mouse, bursts of fire, two pauses, a
// death and a restart. The replay tool, headless, turns the recording into the same trace frame
// for frame, and --play shows the same game again, its last frame held until Escape.
TEST_F(RealWindow, ARecordingReplaysHeadlessAndPlaysBackToTheGamesOwnTrace) {
    const std::string recording = work_ / "game.rec", live = work_ / "live.jsonl", watched = work_ / "watched.jsonl";
    StartGame("dummy", {"--record", recording, "--trace", live});
    const std::string w = ShownWindow("Dreel");
    ASSERT_FALSE(w.empty()) << Stderr();
    Type(w, {"keydown", "w", "mousemove_relative", "60", "0", "mousedown", "1", "sleep", "0.5", "mouseup", "1", "keyup",
         "w", "keydown", "a", "mousemove_relative", "--", "0", "-45", "sleep", "0.4", "mousedown", "1", "sleep", "0.6",
         "mouseup", "1", "keyup", "a", "keydown", "s", "keydown", "d", "sleep", "0.5", "keyup", "s", "keyup", "d", "click",
         "4", "click", "3", "mousemove_relative", "--", "-50", "20", "sleep", "0.3"});  // in a frame before any pause
    // P, then another window taking the focus, hold the frames (the trace stops) for three seconds; then
    // 50 a second: a frame clock left behind would catch up for long, at the pacing's 61 presents a second.
    const Window other = XCreateSimpleWindow(x_, DefaultRootWindow(x_), 2000, 1000, 99, 99, 0, 0, 0);
    XStoreName(x_, other, "Other"), XMapWindow(x_, other), XFlush(x_);
    const std::string steps[][3] = {{w, "key", "p"}, {w, "key", "p"}, {ShownWindow("Other"), "sleep", "0"}, {w, "sleep", "0"}};
    const auto rate = [&](int ms) {  // frames a second over the next `ms`, by the trace's lines
        const auto lines = [&] { const std::string t = support::ReadText(live); return std::count(t.begin(), t.end(), '\n'); };
        const auto [from, n] = std::tuple{Clock::now(), lines()};
        return Pause(ms), (lines() - n) / std::chrono::duration<double>(Clock::now() - from).count();
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        Type(steps[i][0], {steps[i][1], steps[i][2]});
        EXPECT_TRUE(WaitFor([&] { return (rate(1000) == 0) == !(i % 2); }, 2)) << "step " << i << ": held or not";
        if (i % 2 == 0) Pause(2000);
        else EXPECT_LT(rate(3000), 56) << "step " << i << ": frames catching up on the pause";
    }
    XDestroyWindow(x_, other);
    // Still until the enemies have burst the ball (in 9 to 21 seconds), then Space to restart.
    const std::regex dead("\"player\": \\[(-?[0-9]+, ){5}1000,");
    for (int i = 0; i < 80 && !std::regex_search(support::ReadText(live), dead); ++i) Pause(500);
    EXPECT_TRUE(std::regex_search(support::ReadText(live), dead)) << "no death in 40 seconds";
    Xdo({"key", "space", "sleep", "0.5", "key", "Escape"});
    ASSERT_EQ(WaitExit(game_, 10000), 0) << Stderr();
    // Movement, fire, the right button, the wheel, W, A, S with D, Space and Escape: all recorded.
    const std::string input = support::ReadText(recording), played = support::ReadText(live);
    for (const char* seen : {"\n-?[1-9][0-9]* ", " [1357] [-0-9,]+\n", " [2367] [-0-9,]+\n", " 1 [0-7] [-0-9,]+\n",
                             "[ ,]17\n", "[ ,]30\n", " 31,32\n", "[ ,]57\n", " 1\n$"})
        EXPECT_TRUE(std::regex_search(input, std::regex(seen))) << "no frame in the recording matches " << seen;
    const support::ProcessResult replay = support::RunProcess({DREEL_REPLAY, "--script", recording, "--trace", "-"});
    EXPECT_EQ(replay.exitCode, 0) << replay.err;
    EXPECT_TRUE(replay.out == played) << "the headless replay differs from the game it recorded";

    StartGame("dummy", {"--play", recording, "--trace", watched});
    const std::string v = ShownWindow("Dreel");
    ASSERT_FALSE(v.empty()) << Stderr();
    for (int i = 0; i < 600 && support::ReadText(watched).size() < played.size(); ++i) Pause(100);
    Pause(500);
    EXPECT_EQ(WaitExit(game_, 0), -1) << "ended with the recording: " << Stderr();
    EXPECT_TRUE(support::ReadText(watched) == played) << "--play showed another game";
    Type(v, {"key", "Escape"});
    EXPECT_EQ(WaitExit(game_, 10000), 0) << Stderr();
    EXPECT_EQ(Stderr().find("other data"), std::string::npos) << Stderr();
}

TEST_F(RealWindow, EndsAsAskedAndWithoutSomeFiles) {
    // Without a 12-point medium font the toolkit shows no error box, only the message.
    const bool boxFont = !support::RunProcess({XLSFONTS, "-fn", "-*-*-medium-r-normal--*-120-*"}).out.empty();
    // Escape, else the close box; missing files stay missing.
    const struct { const char *what, *audio, *window; std::vector<std::string> missing; bool escape; int exitCode; }
    cases[] = {
        {"close box", "dummy", "Dreel", {}, false, 0},
        {"no sound device", "no-such-driver", "Varnok Dreel", {}, false, 1},
        {"missing files", "dummy", "Dreel", {"Shild4.bmp", "bigex.wav"}, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const std::string& name : c.missing) std::filesystem::remove(work_ / name);
        StartGame(c.audio);
        if (c.exitCode != 0 && !boxFont) {
            std::printf("no font for the error box on this display: not looked for\n");
        } else {
            const std::string w = ShownWindow(c.window);
            ASSERT_FALSE(w.empty()) << Stderr();
            EXPECT_EQ(WaitExit(game_, 1000), -1) << "ended by itself: " << Stderr();
            EXPECT_TRUE(c.exitCode == 0 || FindWindow("Dreel", 0).empty()) << "the game window opened all the same";
            if (c.escape) Type(w, {"key", "Escape"});
            else SendClose(w);
        }
        EXPECT_EQ(WaitExit(game_, 10000), c.exitCode) << Stderr();
        EXPECT_EQ(Stderr().find("Varnok Dreel: Sound") != std::string::npos, c.exitCode == 1) << Stderr();
        for (const std::string& name : c.missing)
            EXPECT_NE(Stderr().find("dreel: cannot find '" + name + "' (looked in: " + work_.path.string() + ")\n"),
                      std::string::npos) << Stderr();
        Stop(game_);
    }
}

class FullHdScreen : public RealWindow {
protected:
    static void SetUpTestSuite() { StartDisplay("1920x1080x24"); }
};

// Full screen and a resized window on a 1920 x 1080 screen: the picture's box exactly, both
// ways of presenting. A one-frame recording holds its picture still, the same in every run,
// so the renderer's picture (a target at 2x, drawn down linearly by Mesa's software GL) can
// be compared with our own sharp pass pixel by pixel.
TEST_F(FullHdScreen, ThePictureFillsTheScreenOrKeepsAWholeScaleTheSameBothWays) {
    const Picture ground = ReadBitmap(support::ReadBytes(support::DataPath("Background.bmp"))).picture;
    ASSERT_EQ(std::count(ground.pixels.begin(), ground.pixels.end(), 0u), 0) << "the box would miss black floor";
    const std::string still = work_ / "still.rec";
    ASSERT_TRUE(support::WriteText(still, "# dreel-recording 1 seed=7\n0\n"));
    ASSERT_TRUE(StartManager()) << "the window manager did not start";
    const struct { const char *what, *present; std::vector<std::string> options; std::string size, box; } cases[] = {
        {"fill", "framebuffer", {"--fullscreen", "--play", still}, "1920x1080", "240..1679, 0..1079"},
        {"fill, renderer", "renderer", {"--fullscreen", "--play", still}, "1920x1080", "240..1679, 0..1079"},
        {"integer", "", {"--fullscreen", "--scale-mode", "integer", "--play", still}, "1920x1080", "560..1359, 240..839"},
        {"fill, window resized", "", {"--play", still}, "1000x700", "33..965, 0..699"},
    };
    Picture shots[std::size(cases)];
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.what);
        setenv("DREEL_PRESENT", c.present, 1);
        StartGame("dummy", c.options);
        const std::string w = ShownWindow("Dreel", true);
        ASSERT_FALSE(w.empty()) << Stderr();
        EXPECT_TRUE(Retry([&] { if (c.size == "1000x700") Xdo({"windowsize", w, "1000", "700"}); },
                          [&] { return Size() == c.size; })) << Size();
        // Until two screenshots in a row are alike, the picture in its place.
        std::string box;
        Picture last;
        WaitFor([&] {
            last = std::exchange(shots[i], Screenshot(w));
            return (box = LitBox(shots[i])) == c.box && shots[i].pixels == last.pixels;
        }, 3);
        EXPECT_EQ(box, c.box);
        EXPECT_TRUE(shots[i].pixels == last.pixels) << "the picture did not hold still";
        // Mesa's GL draws the renderer's picture: its driver is in the game's memory; the
        // framebuffer asked for brings in no 3-D driver at all.
        const bool gl = support::ReadText("/proc/" + std::to_string(game_) + "/maps").find("_dri.so") != std::string::npos;
        EXPECT_TRUE(!*c.present || gl == (c.present[0] == 'r')) << "a GL driver loaded: " << gl;
        Type(w, {"key", "Escape"}, true);
        EXPECT_EQ(WaitExit(game_, 10000), 0) << Stderr();
    }
    ASSERT_EQ(shots[0].pixels.size(), shots[1].pixels.size());
    int worst = 0;
    for (size_t i = 0; i < shots[0].pixels.size(); ++i)
        for (int shift = 0; shift < 24; shift += 8)
            worst = std::max(worst, std::abs(int(shots[0].pixels[i] >> shift & 255) - int(shots[1].pixels[i] >> shift & 255)));
    EXPECT_LE(worst, 2) << "the renderer's picture differs from the framebuffer's";
}

}  // namespace
