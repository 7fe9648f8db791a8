// Whole-file reading for the readers (see byte_reader.h). Depends on the POSIX file
// calls, which Windows' C library has too (there in their wide forms, for UTF-8 names),
// and runtime/paths.h.
#include "media/byte_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "runtime/paths.h"

namespace {

#ifdef _WIN32
// Binary, or the C library would turn CR LF into LF; no FIFOs there to guard against.
constexpr int kOpenFlags = O_RDONLY | O_BINARY;
using FileStatus = struct _stat64;
int StatusOf(const char* path, FileStatus* info) { return _wstat64(PathOfUtf8(path).c_str(), info); }
int StatusOf(int fd, FileStatus* info) { return _fstat64(fd, info); }
int OpenForReading(const char* path) { return _wopen(PathOfUtf8(path).c_str(), kOpenFlags); }
#else
// Non-blocking, so a FIFO swapped in after the check cannot hang the open.
constexpr int kOpenFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
using FileStatus = struct stat;
int StatusOf(const char* path, FileStatus* info) { return ::stat(path, info); }
int StatusOf(int fd, FileStatus* info) { return ::fstat(fd, info); }
int OpenForReading(const char* path) { return ::open(path, kOpenFlags); }
#endif

FileRead Failed(const char* why, bool missing = false) {
    FileRead r;
    r.missing = missing;
    r.why = why;
    return r;
}

// A FIFO would block the open or the read for ever, and a device may never end.
const char* RefusalOf(const FileStatus& info) {
    if (!S_ISREG(info.st_mode)) return "not a regular file";
    if (static_cast<unsigned long long>(info.st_size) > kMaxFileBytes) return "larger than 64 MiB";
    return nullptr;
}

}  // namespace

FileRead ReadWholeFile(const char* path) {
    FileStatus info{};
    if (StatusOf(path, &info) != 0) return Failed(std::strerror(errno), errno == ENOENT || errno == ENOTDIR);
    if (const char* refusal = RefusalOf(info)) return Failed(refusal);
    const int fd = OpenForReading(path);
    if (fd < 0) return Failed(std::strerror(errno), errno == ENOENT);
    FileRead result;
    if (StatusOf(fd, &info) != 0) {
        result = Failed(std::strerror(errno));
    } else if (const char* refusal = RefusalOf(info)) {
        result = Failed(refusal);
    } else {
        // The size is only a hint: the file may grow or shrink while it is read, so read
        // to the real end, but never past the cap.
        FileBytes data(static_cast<size_t>(info.st_size) + 1);
        size_t used = 0;
        for (;;) {
            if (used == data.size()) {
                if (data.size() > kMaxFileBytes) break;
                data.resize(std::min(data.size() * 2, kMaxFileBytes + 1));
            }
            const ssize_t n = ::read(fd, data.data() + used, data.size() - used);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                result = Failed(std::strerror(errno));
                break;
            }
            if (n == 0) break;
            used += static_cast<size_t>(n);
        }
        if (used > kMaxFileBytes) {
            result = Failed("larger than 64 MiB");
        } else if (*result.why == '\0') {
            data.resize(used);
            result.bytes = std::move(data);
        }
    }
    ::close(fd);
    return result;
}
