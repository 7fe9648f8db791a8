// The release game in a real X window on a virtual display, driven from outside as a
// person would: keys, mouse, the close box, broken data, a missing sound device.
// Tools: Xvfb, xdotool (find the window, keys, mouse), ImageMagick's import
// (screenshots), and Xlib for the window's size and the close request.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "media/bmp_reader.h"
#include "media/byte_reader.h"

// Xlib defines macros such as None and Bool: it comes after everything else.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const char* kDisplay = ":57";

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Runs a command with the shell and returns its standard output.
std::string Run(const std::string& command) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return out;
    char buf[512];
    while (fgets(buf, sizeof buf, p)) out += buf;
    pclose(p);
    return out;
}

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env,
            const std::string& cwd, const std::string& errFile) {
    // Through the shell so that the folder and the redirection are simple to express.
    std::string cmd = "cd '" + cwd + "' && exec env";
    for (const auto& e : env) cmd += " " + e;
    for (const auto& a : argv) cmd += " '" + a + "'";
    if (!errFile.empty()) cmd += " 2>'" + errFile + "'";
    std::vector<std::string> args = {"/usr/bin/env", "sh", "-c", cmd};
    std::vector<char*> raw;
    for (auto& a : args) raw.push_back(a.data());
    raw.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, raw[0], nullptr, nullptr, raw.data(), environ) != 0) return -1;
    return pid;
}

// Waits up to ms for the process to end; returns its exit code, or -1 if it is still running.
int WaitExit(pid_t pid, int ms) {
    auto end = Clock::now() + std::chrono::milliseconds(ms);
    do {
        int status = 0;
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        Pause(10);
    } while (Clock::now() < end);
    return -1;
}

void Kill(pid_t pid) {
    if (pid > 0 && kill(pid, SIGKILL) == 0) waitpid(pid, nullptr, 0);
}

std::string ReadText(const std::string& path) {
    std::ifstream f(path);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// CPU time (user + system) of a process, in clock ticks.
long CpuTicks(pid_t pid) {
    std::string stat = ReadText("/proc/" + std::to_string(pid) + "/stat");
    auto close = stat.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream in(stat.substr(close + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15; ++i) {
        in >> field;
        if (i == 14) utime = std::atol(field.c_str());
        if (i == 15) stime = std::atol(field.c_str());
    }
    return utime + stime;
}

std::string FindWindow(const std::string& title, int timeoutMs) {
    auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < end) {
        std::string out = Run(std::string("DISPLAY=") + kDisplay + " xdotool search --onlyvisible --name '^" +
                              title + "$' 2>/dev/null");
        if (!out.empty()) return out.substr(0, out.find('\n'));
        Pause(50);
    }
    return {};
}

void Xdo(const std::string& args) {
    Run(std::string("DISPLAY=") + kDisplay + " xdotool " + args + " >/dev/null 2>&1");
}

Picture Screenshot(const std::string& wid, const std::string& dir, const std::string& name) {
    std::string path = dir + "/" + name + ".bmp";
    Run(std::string("DISPLAY=") + kDisplay + " import -window " + wid + " -depth 8 -type TrueColor BMP3:'" + path + "' 2>&1");
    auto bytes = ReadWholeFile(path.c_str());
    if (!bytes) return {};
    BitmapResult r = ReadBitmap(*bytes);
    return r.ok ? r.picture : Picture{};
}

// A window's title as raw bytes: the toolkit may store it as UTF-8, which XFetchName
// refuses; our titles are plain ASCII either way.
std::string WindowTitle(Display* d, Window w) {
    XTextProperty text{};
    if (!XGetWMName(d, w, &text) || !text.value) return {};
    std::string title(reinterpret_cast<const char*>(text.value), text.nitems);
    XFree(text.value);
    return title;
}

struct WindowFacts {
    int width = 0, height = 0;
    std::string title;
};

WindowFacts InspectWindow(const std::string& wid) {
    WindowFacts facts;
    Display* d = XOpenDisplay(kDisplay);
    if (!d) return facts;
    Window w = std::strtoul(wid.c_str(), nullptr, 10);
    XWindowAttributes attr{};
    if (XGetWindowAttributes(d, w, &attr)) {
        facts.width = attr.width;
        facts.height = attr.height;
    }
    facts.title = WindowTitle(d, w);
    XCloseDisplay(d);
    return facts;
}

// A top-level window by its exact title, through Xlib: the error box of the toolkit is
// not always found by xdotool. 0 when there is none.
unsigned long FindWindowX11(const std::string& title, int timeoutMs) {
    auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        Display* d = XOpenDisplay(kDisplay);
        if (!d) return 0;
        Window root = DefaultRootWindow(d), parent = 0, *children = nullptr;
        unsigned int count = 0;
        unsigned long found = 0;
        if (XQueryTree(d, root, &root, &parent, &children, &count)) {
            for (unsigned int i = 0; i < count && !found; ++i) {
                if (WindowTitle(d, children[i]) == title) found = children[i];
            }
            if (children) XFree(children);
        }
        XCloseDisplay(d);
        if (found) return found;
        Pause(50);
    } while (Clock::now() < end);
    return 0;
}

// What the close box does: the window manager's polite request to close.
void SendCloseRequest(const std::string& wid) {
    Display* d = XOpenDisplay(kDisplay);
    if (!d) return;
    Window w = std::strtoul(wid.c_str(), nullptr, 10);
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &ev);
    XFlush(d);
    XCloseDisplay(d);
}

// The player's ball: the best match of the sheet's first cell (its non-black pixels).
struct Found {
    int x = -1, y = -1, score = 0, total = 0;
};
Found FindBall(const Picture& screen, const Picture& sheet) {
    std::vector<std::pair<int, int>> mask;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (sheet.At(x, y) != 0) mask.push_back({x, y});
    Found best;
    best.total = static_cast<int>(mask.size());
    for (int y = 0; y + 16 <= screen.height; ++y)
        for (int x = 0; x + 16 <= screen.width; ++x) {
            int score = 0;
            for (auto [mx, my] : mask) score += screen.At(x + mx, y + my) == sheet.At(mx, my);
            if (score > best.score) best = {x, y, score, best.total};
        }
    return best;
}

int DifferingPixels(const Picture& a, const Picture& b, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = std::max(0, y0); y < std::min(a.height, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(a.width, x1); ++x) n += a.At(x, y) != b.At(x, y);
    return n;
}

class RealWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        xvfb_ = Spawn({"Xvfb", kDisplay, "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"}, {}, "/", "/dev/null");
        for (int i = 0; i < 100 && !fs::exists(std::string("/tmp/.X11-unix/X") + (kDisplay + 1)); ++i) Pause(50);
        Pause(200);
    }
    static void TearDownTestSuite() { Kill(xvfb_); }

    void SetUp() override {
        ASSERT_TRUE(fs::exists(std::string("/tmp/.X11-unix/X") + (kDisplay + 1))) << "Xvfb did not start";
        work_ = fs::temp_directory_path() / ("dreel-e2e-" + std::to_string(getpid()) + "-" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(work_);
        fs::create_directories(work_ / "data");
        for (const auto& entry : fs::directory_iterator(DREEL_DATA_DIR))
            fs::copy_file(entry.path(), work_ / "data" / entry.path().filename());
    }
    void TearDown() override {
        Kill(game_);
        fs::remove_all(work_);
    }

    pid_t StartGame(const std::string& audio = "dummy") {
        game_ = Spawn({DREEL_GAME_BINARY}, {"DISPLAY=" + std::string(kDisplay), "SDL_VIDEODRIVER=x11",
                                            "SDL_AUDIODRIVER=" + audio, "DREEL_FRAME_STATS=1"},
                      (work_ / "data").string(), (work_ / "stderr.txt").string());
        return game_;
    }
    std::string Stderr() { return ReadText((work_ / "stderr.txt").string()); }

    static pid_t xvfb_;
    fs::path work_;
    pid_t game_ = -1;
};
pid_t RealWindow::xvfb_ = -1;

TEST_F(RealWindow, PlaysLikeAPerson) {
    auto sheetBytes = ReadWholeFile((work_ / "data" / "kugeln.bmp").c_str());
    ASSERT_TRUE(sheetBytes);
    BitmapResult sheet = ReadBitmap(*sheetBytes);
    ASSERT_TRUE(sheet.ok);

    StartGame();
    std::string wid = FindWindow("Dreel", 10000);
    ASSERT_FALSE(wid.empty()) << Stderr();
    WindowFacts facts = InspectWindow(wid);
    EXPECT_EQ(facts.title, "Dreel");
    EXPECT_EQ(facts.width, 800);
    EXPECT_EQ(facts.height, 600);
    Xdo("windowfocus --sync " + wid);
    Pause(500);

    // Holding D moves the ball to the right.
    Picture before = Screenshot(wid, work_.string(), "before");
    ASSERT_EQ(before.width, 800);
    Found start = FindBall(before, sheet.picture);
    ASSERT_GT(start.score * 2, start.total) << "the player's ball is not on the screen";
    Xdo("keydown d");
    Pause(500);
    Xdo("keyup d");
    Pause(1000);  // let it coast to a stop
    Picture moved = Screenshot(wid, work_.string(), "moved");
    Found after = FindBall(moved, sheet.picture);
    ASSERT_GT(after.score * 2, after.total);
    EXPECT_GT(after.x, start.x + 20) << "holding D should move the ball right";
    EXPECT_NEAR(after.y, start.y, 3);

    // Moving the mouse turns the cannon: the picture around the ball changes while the
    // ball stays where it is.
    Xdo("mousemove_relative --sync -- 0 120");
    Pause(300);
    Xdo("mousemove_relative --sync -- -120 0");
    Pause(400);
    Picture turned = Screenshot(wid, work_.string(), "turned");
    Found still = FindBall(turned, sheet.picture);
    EXPECT_NEAR(still.x, after.x, 2);
    EXPECT_GT(DifferingPixels(moved, turned, after.x - 8, after.y - 8, after.x + 24, after.y + 24), 20)
        << "the cannon did not turn";

    // Holding the left button fires: the heads-up text changes and shots fly.
    Picture idle = Screenshot(wid, work_.string(), "idle");
    Xdo("mousedown 1");
    Pause(400);
    Picture firing = Screenshot(wid, work_.string(), "firing");
    Xdo("mouseup 1");
    EXPECT_GT(DifferingPixels(idle, firing, 0, 0, 120, 20), 5) << "the heads-up text did not change";

    // Ten seconds of play without input: little CPU, no late frame.
    size_t reportsBefore = Stderr().size();
    long t0 = CpuTicks(game_);
    auto w0 = Clock::now();
    Pause(10000);
    long t1 = CpuTicks(game_);
    double wall = std::chrono::duration<double>(Clock::now() - w0).count();
    double cpu = static_cast<double>(t1 - t0) / static_cast<double>(sysconf(_SC_CLK_TCK));
    std::printf("CPU use over %.1f s: %.1f %% of one core\n", wall, 100.0 * cpu / wall);
    EXPECT_LT(cpu / wall, 0.10);
    // The game reports every 50 frames how late the latest frame started. The first
    // report of the window may cover frames from before it (screenshots pause the
    // display server): skip it.
    std::istringstream reports(Stderr().substr(reportsBefore));
    std::string line;
    int blocks = 0;
    unsigned worst = 0;
    for (bool first = true; std::getline(reports, line); first = false) {
        unsigned frames = 0, late = 0;
        if (std::sscanf(line.c_str(), "frames %u, latest start %u", &frames, &late) != 2 || first) continue;
        ++blocks;
        worst = std::max(worst, late);
    }
    std::printf("%d reports of 50 frames, latest start %u ms after due\n", blocks, worst);
    EXPECT_GE(blocks, 8);
    EXPECT_LE(worst, 20u) << "a frame started more than one frame interval late";

    // Escape ends the program within a second.
    Xdo("windowfocus --sync " + wid);
    Xdo("key Escape");
    int code = WaitExit(game_, 1000);
    game_ = -1;
    EXPECT_EQ(code, 0) << Stderr();
}

TEST_F(RealWindow, CloseBoxEndsWithZero) {
    StartGame();
    std::string wid = FindWindow("Dreel", 10000);
    ASSERT_FALSE(wid.empty()) << Stderr();
    Pause(300);
    SendCloseRequest(wid);
    int code = WaitExit(game_, 2000);
    game_ = -1;
    EXPECT_EQ(code, 0) << Stderr();
}

TEST_F(RealWindow, RunsWithMissingFiles) {
    fs::remove(work_ / "data" / "Shild4.bmp");
    fs::remove(work_ / "data" / "bigex.wav");
    StartGame();
    std::string wid = FindWindow("Dreel", 10000);
    ASSERT_FALSE(wid.empty()) << Stderr();
    Pause(1500);
    EXPECT_EQ(WaitExit(game_, 0), -1) << "the game ended by itself: " << Stderr();
    Xdo("windowfocus --sync " + wid);
    Xdo("windowfocus --sync " + wid);
    Xdo("key Escape");
    int code = WaitExit(game_, 1000);
    game_ = -1;
    EXPECT_EQ(code, 0) << Stderr();
}

TEST_F(RealWindow, NoSoundDeviceReportsSoundAndExitsWithOne) {
    StartGame("no-such-driver");
    // The box may appear on the display: answer it as a person would.
    unsigned long box = FindWindowX11("Varnok Dreel", 3000);
    if (box != 0) SendCloseRequest(std::to_string(box));
    int code = WaitExit(game_, 5000);
    game_ = -1;
    EXPECT_EQ(code, 1);
    EXPECT_NE(Stderr().find("Sound"), std::string::npos) << Stderr();
    EXPECT_TRUE(FindWindow("Dreel", 200).empty()) << "the game window was opened";
}

}  // namespace
