#include "runtime/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "runtime/paths.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace {

std::string ErrnoText() { return std::strerror(errno); }

// The calls that differ: each returns success and leaves a reason in `why` otherwise.
#ifdef _WIN32

using FileStatus = struct _stat64;
// A large count in pieces the int-sized calls take.
constexpr size_t kPiece = size_t{1} << 30;

std::string WindowsErrorText(DWORD code) {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = text ? Utf8OfPath(std::filesystem::path(text)) : "Windows error " + std::to_string(code);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message;
}

// A folder cannot be opened there: it is told apart as on the other systems.
int OpenForReading(const std::string& path) {
    FileStatus info{};
    if (_wstat64(PathOfUtf8(path).c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        errno = EISDIR;
        return -1;
    }
    return _wopen(PathOfUtf8(path).c_str(), _O_RDONLY | _O_BINARY);
}
int CreateNew(const std::string& path) {
    return _wopen(PathOfUtf8(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int StatusOf(int fd, FileStatus* info) { return _fstat64(fd, info); }
long ReadSome(int fd, char* to, size_t count) { return _read(fd, to, static_cast<unsigned>(std::min(count, kPiece))); }
long WriteSome(int fd, const char* from, size_t count) {
    return _write(fd, from, static_cast<unsigned>(std::min(count, kPiece)));
}
int CloseFile(int fd) { return _close(fd); }
void RemoveFile(const std::string& path) { _wremove(PathOfUtf8(path).c_str()); }
unsigned long ProcessId() { return GetCurrentProcessId(); }

bool SyncFile(int fd, std::string* why) {
    if (FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(fd)))) return true;
    *why = WindowsErrorText(GetLastError());
    return false;
}

bool ReplaceWith(const std::string& from, const std::string& to, std::string* why) {
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (MoveFileExW(PathOfUtf8(from).c_str(), PathOfUtf8(to).c_str(), flags)) return true;
    *why = WindowsErrorText(GetLastError());
    return false;
}

// 1 moved, 0 the name is taken, -1 failed. Without REPLACE_EXISTING the move never replaces.
int MoveToFreeName(const std::string& from, const std::string& to, std::string* why) {
    if (MoveFileExW(PathOfUtf8(from).c_str(), PathOfUtf8(to).c_str(), MOVEFILE_WRITE_THROUGH)) return 1;
    const DWORD code = GetLastError();
    if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS) return 0;
    *why = WindowsErrorText(code);
    return -1;
}

void SyncFolderOf(const std::string&) {}  // the write-through rename has done it

#else

using FileStatus = struct stat;

// Non-blocking, so a FIFO under the name cannot hang the open; it is refused unread.
int OpenForReading(const std::string& path) { return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); }
int CreateNew(const std::string& path) { return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600); }
int StatusOf(int fd, FileStatus* info) { return ::fstat(fd, info); }
long ReadSome(int fd, char* to, size_t count) { return ::read(fd, to, count); }
long WriteSome(int fd, const char* from, size_t count) { return ::write(fd, from, count); }
int CloseFile(int fd) { return ::close(fd); }
void RemoveFile(const std::string& path) { ::unlink(path.c_str()); }
unsigned long ProcessId() { return static_cast<unsigned long>(::getpid()); }

// In the browser fsync saves the whole store and the game sleeps until IndexedDB answers,
// then goes on inside its callback (where a game ending there never exits): PersistStore
// saves the store after the rename instead, without waiting.
bool SyncFile(int fd, std::string* why) {
#ifdef __EMSCRIPTEN__
    (void)fd, (void)why;
    return true;
#else
    if (::fsync(fd) == 0) return true;
    *why = ErrnoText();
    return false;
#endif
}

bool ReplaceWith(const std::string& from, const std::string& to, std::string* why) {
    if (::rename(from.c_str(), to.c_str()) == 0) return true;
    *why = ErrnoText();
    return false;
}

// 1 moved, 0 the name is taken, -1 failed. A hard link fails rather than replace; where
// the file system has none (and for a folder), the name is checked and then renamed to,
// which only another writer in that moment could race, and the game is the only one.
int MoveToFreeName(const std::string& from, const std::string& to, std::string* why) {
    if (::link(from.c_str(), to.c_str()) == 0) {
        if (::unlink(from.c_str()) == 0) return 1;
        *why = ErrnoText();  // both names hold it: nothing lost
        return -1;
    }
    if (errno == EEXIST) return 0;
    struct stat info{};
    if (::lstat(to.c_str(), &info) == 0) return 0;
    if (::rename(from.c_str(), to.c_str()) == 0) return 1;
    *why = ErrnoText();
    return -1;
}

// The rename is an entry of the folder: synced, it survives a power cut. Some file
// systems refuse to sync a folder; the file is in place all the same.
void SyncFolderOf(const std::string& path) {
#ifndef __EMSCRIPTEN__
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
#else
    (void)path;
#endif
}

#endif

// In the browser the files live in memory until the page's store (IndexedDB, mounted by
// the page) is saved. Saves overlap as writes come; one more runs after the current one.
void PersistStore() {
#ifdef __EMSCRIPTEN__
    EM_ASM({
        if (typeof FS === 'undefined' || !FS.syncfs) return;
        var store = Module.dreelStore || (Module.dreelStore = {busy: false, again: false});
        if (store.busy) { store.again = true; return; }
        store.busy = true;
        var save = function() {
            FS.syncfs(false, function(error) {
                if (error) console.warn('Dreel: the browser store could not be saved: ' + error);
                if (store.again) { store.again = false; save(); } else store.busy = false;
            });
        };
        save();
    });
#endif
}

bool WriteAll(int fd, std::string_view text, std::string* why) {
    for (size_t done = 0; done < text.size();) {
        const long n = WriteSome(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            *why = n < 0 ? ErrnoText() : "nothing written";
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

SmallFile ReadSmallFile(const std::string& path, size_t cap) {
    SmallFile file;
    const int fd = OpenForReading(path);
    if (fd < 0) {
        file.found = errno != ENOENT && errno != ENOTDIR;
        if (file.found) file.error = errno == EISDIR ? "not a regular file" : ErrnoText();
        return file;
    }
    file.found = true;
    cap = std::min(cap, SIZE_MAX - 1);  // cap + 1 must not wrap
    FileStatus info{};
    if (StatusOf(fd, &info) != 0) {
        file.error = ErrnoText();
    } else if (!S_ISREG(info.st_mode)) {
        file.error = "not a regular file";
    } else {
        // The size is a hint (the file may change while read): read to the real end or
        // one byte past the cap, whichever comes first.
        file.bytes.resize(std::min(cap + 1, static_cast<size_t>(std::max<long long>(info.st_size, 0)) + 1));
        size_t used = 0;
        for (;;) {
            if (used == file.bytes.size()) {
                if (used > cap) break;
                file.bytes.resize(std::min(used * 2, cap + 1));
            }
            const long n = ReadSome(fd, file.bytes.data() + used, file.bytes.size() - used);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) file.error = ErrnoText();
            if (n <= 0) break;
            used += static_cast<size_t>(n);
        }
        file.bytes.resize(used);
        if (file.error.empty() && used > cap) file.error = "larger than " + std::to_string(cap) + " bytes";
        file.ok = file.error.empty();
    }
    CloseFile(fd);
    return file;
}

std::string WriteFileAtomically(const std::string& path, std::string_view text, const WriteFaults& faults) {
    const SmallFile current = ReadSmallFile(path, text.size());
    if (current.ok && current.bytes == text) return "";
    static std::atomic<unsigned> counter{0};
    const std::string temporary = path + ".tmp-" + std::to_string(ProcessId()) + "-" + std::to_string(counter++);
    std::string why;
    // A step that did its work, unless a test's fault strikes after it.
    const auto done = [&](WriteStep step, bool worked) {
        if (worked && faults.failAfter && faults.failAfter(step, faults.context)) {
            why = "a fault injected by a test";
            return false;
        }
        return worked;
    };
    const int fd = CreateNew(temporary);
    if (fd < 0) why = ErrnoText();
    bool ok = done(WriteStep::Create, fd >= 0);
    if (fd >= 0) {
        ok = ok && done(WriteStep::Write, WriteAll(fd, text, &why)) && done(WriteStep::Sync, SyncFile(fd, &why));
        const bool closed = CloseFile(fd) == 0;
        if (ok && !closed) why = ErrnoText();
        ok = ok && done(WriteStep::Close, closed) && done(WriteStep::Rename, ReplaceWith(temporary, path, &why));
        if (!ok) RemoveFile(temporary);
    }
    if (!ok) return "cannot write " + path + ": " + why;
    SyncFolderOf(path);
    PersistStore();
    return "";
}

SetAside SetFileAside(const std::string& path) {
    std::string why;
    for (int n = 1; n <= 1000; ++n) {
        std::string name = path + ".unreadable";
        if (n > 1) name.append("-").append(std::to_string(n));
        const int moved = MoveToFreeName(path, name, &why);
        if (moved > 0) {
            SyncFolderOf(path);
            PersistStore();
            return {name, ""};
        }
        if (moved < 0) return {"", "cannot move " + path + " aside: " + why};
    }
    return {"", "cannot move " + path + " aside: every name up to .unreadable-1000 is taken"};
}
