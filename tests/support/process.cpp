// Child processes for the suites (see test_support.h): POSIX spawn and pipes.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "test_support.h"

extern char** environ;

namespace support {

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

}  // namespace support
