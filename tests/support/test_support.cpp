#include "test_support.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>

extern char** environ;

namespace support {

namespace fs = std::filesystem;

std::string TempPath(const std::string& name) {
    static std::atomic<int> counter{0};
    return (fs::temp_directory_path() /
            ("dreel_" + std::to_string(getpid()) + "_" + std::to_string(counter++) + "_" + name))
        .string();
}

TempFolder::TempFolder() : path(TempPath("folder")) { fs::create_directories(path); }

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ReadText(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

bool WriteBytes(const std::string& path, std::span<const uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

bool WriteText(const std::string& path, const std::string& text) {
    return WriteBytes(path, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

std::vector<uint8_t> BitmapBytes(int32_t width, int32_t height, int bitsPerPixel,
                                 const std::vector<uint32_t>& palette,
                                 const std::function<uint32_t(int32_t, int32_t)>& value) {
    const size_t stride = (static_cast<size_t>(width) * bitsPerPixel / 8 + 3) / 4 * 4;
    const size_t dataOffset = 54 + 4 * palette.size();
    std::vector<uint8_t> b(dataOffset + stride * static_cast<size_t>(height), 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    b[0] = 'B', b[1] = 'M', b[26] = 1, b[28] = static_cast<uint8_t>(bitsPerPixel);
    put32(2, static_cast<uint32_t>(b.size()));
    put32(10, static_cast<uint32_t>(dataOffset));
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    put32(34, static_cast<uint32_t>(stride * static_cast<size_t>(height)));
    for (size_t i = 0; i < palette.size(); ++i) put32(54 + 4 * i, palette[i] & 0xFFFFFFu);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = b.data() + dataOffset + stride * static_cast<size_t>(height - 1 - y) +
                         static_cast<size_t>(x) * bitsPerPixel / 8;
            const uint32_t v = value(x, y);
            p[0] = static_cast<uint8_t>(v);
            if (bitsPerPixel == 24) p[1] = static_cast<uint8_t>(v >> 8), p[2] = static_cast<uint8_t>(v >> 16);
        }
    return b;
}

std::vector<uint8_t> BitmapBytes(int32_t width, int32_t height, const std::vector<uint32_t>& rgb) {
    return BitmapBytes(width, height, 24, {}, [&](int32_t x, int32_t y) {
        return rgb[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    });
}

std::string WriteBitmap(int32_t width, int32_t height, const std::vector<uint32_t>& rgb) {
    std::string path = TempPath("picture.bmp");
    WriteBytes(path, BitmapBytes(width, height, rgb));
    return path;
}

namespace {

// Reads both pipes until they close or the time is up; feeds standard input first.
void Pump(int outFd, int errFd, int inFd, const std::string& input, int timeoutMs, ProcessResult* r) {
    size_t written = 0;
    if (inFd >= 0 && input.empty()) close(inFd), inFd = -1;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (outFd >= 0 || errFd >= 0) {
        pollfd fds[3] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}, {inFd, POLLOUT, 0}};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            r->timedOut = true;
            break;
        }
        if (poll(fds, 3, static_cast<int>(left.count())) < 0) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            char buffer[65536];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                (i == 0 ? r->out : r->err).append(buffer, static_cast<size_t>(n));
            } else {
                close(fds[i].fd);
                (i == 0 ? outFd : errFd) = -1;
            }
        }
        if (inFd >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
            const ssize_t n = write(inFd, input.data() + written, input.size() - written);
            if (n > 0) written += static_cast<size_t>(n);
            if (n <= 0 || written == input.size()) close(inFd), inFd = -1;
        }
    }
    for (int fd : {outFd, errFd, inFd})
        if (fd >= 0) close(fd);
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const RunOptions& options) {
    ProcessResult r;
    int outPipe[2], errPipe[2], inPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) || pipe2(errPipe, O_CLOEXEC) || pipe2(inPipe, O_CLOEXEC)) return r;
    signal(SIGPIPE, SIG_IGN);  // a child that stops reading must not end us

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    if (!options.cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, options.cwd.c_str());

    // The caller's entries replace ours of the same name: the first match is the one read.
    std::vector<std::string> envStrings = options.env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('=') + 1);
        bool replaced = false;
        for (const auto& given : options.env) replaced = replaced || given.rfind(name, 0) == 0;
        if (!replaced) envStrings.push_back(entry);
    }
    std::vector<char*> envp, args;
    for (auto& e : envStrings) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> argStrings = argv;
    for (auto& a : argStrings) args.push_back(a.data());
    args.push_back(nullptr);

    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]), close(errPipe[1]), close(inPipe[0]);
    if (spawned != 0) {
        close(outPipe[0]), close(errPipe[0]), close(inPipe[1]);
        r.err = "cannot start " + argv[0];
        return r;
    }
    Pump(outPipe[0], errPipe[0], inPipe[1], options.stdinText, options.timeoutMs, &r);
    if (r.timedOut) kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return r;
}

const std::vector<std::string>& GameDataNames() {
    static const std::vector<std::string> names = {
        "Background.bmp", "kugeln.bmp", "shoot.bmp",  "rauch.bmp",  "Fleck.bmp",  "kanone2.bmp",
        "Shild1.bmp",     "Shild2.bmp", "Shild3.bmp", "Shild4.bmp", "Shild5.bmp", "Shild6.bmp",
        "Shild7.bmp",     "Shotl.wav",  "Shotr.wav",  "flash.wav",  "bigex.wav",  "Ex1.wav",
        "Ex2.wav",        "Ex3.wav",    "Ex4.wav",    "Ex5.wav"};
    return names;
}

std::string DataDir() { return DREEL_DATA_DIR; }
std::string DataPath(const std::string& name) { return (fs::path(DREEL_DATA_DIR) / name).string(); }

void UseDummyDrivers() {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
}

}  // namespace support
