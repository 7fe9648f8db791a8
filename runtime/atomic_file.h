// Small files the game keeps for the player (settings, best results), read with a cap and
// written so that a crash, a kill or a full disk leaves either the old file or the new
// one, whole: the text goes to a temporary file beside the target, is synced, and then
// renamed over it (on Windows with write-through); on Linux and other Unix the folder is
// synced after the rename, and in the browser the page's persistent store is saved. A
// file the game cannot use is set aside under a free name, never deleted. No call throws
// or aborts; failures come back as one-line reasons. Limits: whole files in memory, so
// small ones. Depends on the C++ library, POSIX or Windows' file calls, runtime/paths.h,
// and emscripten's FS in the browser.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct SmallFile {
    bool found = false;  // something is at the path
    bool ok = false;     // `bytes` is the whole file
    std::string bytes;   // what was read: at most the cap, or one byte more when larger
    std::string error;   // why not ok, one line; empty when nothing is there
};

// Reads the regular file at `path` (UTF-8) if it holds at most `cap` bytes. Anything else
// (a folder, a FIFO, a device, a larger file) is refused, reading no more than cap + 1.
SmallFile ReadSmallFile(const std::string& path, size_t cap);

// The steps of a write, in order; a step's fault leaves what the real failure would.
enum class WriteStep { Create, Write, Sync, Close, Rename };

// For tests: `failAfter` is asked after each step that succeeded and makes the write fail
// there (as a full disk or a kill would) when it returns true. Passed with each call, so
// nothing outlives a test.
struct WriteFaults {
    bool (*failAfter)(WriteStep step, void* context) = nullptr;  // null: no faults
    void* context = nullptr;                                      // handed to failAfter
};

// Writes `text` as the whole file at `path` through a temporary file in the same folder
// (`path`.tmp-<process>-<n>), unless the file already holds exactly that. On failure the
// temporary file is removed and the old file left as it was. Returns an empty text on
// success, else a one-line reason naming the file.
std::string WriteFileAtomically(const std::string& path, std::string_view text, const WriteFaults& faults = {});

struct SetAside {
    std::string name;   // where the file went, for the player's message; empty on failure
    std::string error;  // why it could not be moved, one line
};

// Renames the file at `path` beside itself to the first free name of `path`.unreadable,
// `path`.unreadable-2, -3, ..., never replacing anything that is there.
SetAside SetFileAside(const std::string& path);
