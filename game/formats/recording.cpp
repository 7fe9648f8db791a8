#include "game/formats/recording.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "runtime/paths.h"

namespace {

constexpr std::string_view kMagic = "# dreel-recording ";
constexpr std::string_view kDataPrefix = "# data fnv1a64=";

// The whole text must be an unsigned decimal number no larger than `high`.
bool ParseUnsigned(std::string_view text, uint64_t high, uint64_t* out, int base = 10) {
    if (text.empty() || text[0] == '-' || text[0] == '+') return false;
    uint64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size() || value > high) return false;
    *out = value;
    return true;
}

std::string_view LineAt(std::string_view text, size_t pos) {
    const size_t end = text.find('\n', pos);
    std::string_view line = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    if (line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

// "VERSION seed=N" after the magic words; the version first, so that a later format is
// named as such whatever else its line holds.
std::string ParseFirstLine(std::string_view rest, RecordingHeader* header) {
    const size_t space = rest.find(' ');
    const std::string_view version = rest.substr(0, space);
    uint64_t number = 0;
    if (!ParseUnsigned(version, UINT32_MAX, &number) || number == 0)
        return "bad recording header: format version '" + Shown(version) + "'";
    if (number > kRecordingVersion)
        return "recording format " + std::to_string(number) + " is newer than this program reads (" +
               std::to_string(kRecordingVersion) + "); a later version of Dreel plays it";
    const std::string_view seed = space == std::string_view::npos ? "" : rest.substr(space + 1);
    if (!seed.starts_with("seed=") || !ParseUnsigned(seed.substr(5), UINT32_MAX, &number))
        return "bad recording header: expected 'seed=N' (N unsigned 32-bit), not '" + Shown(seed) + "'";
    header->seed = static_cast<uint32_t>(number);
    header->present = true;
    return "";
}

// The data digest among the comment lines that follow the first.
void ParseMoreHeader(std::string_view text, RecordingHeader* header) {
    for (size_t pos = text.find('\n'); pos != std::string_view::npos; pos = text.find('\n', pos)) {
        const std::string_view line = LineAt(text, ++pos);
        if (!line.starts_with('#')) return;
        uint64_t digest = 0;
        if (line.starts_with(kDataPrefix) && ParseUnsigned(line.substr(kDataPrefix.size()), UINT64_MAX, &digest, 16))
            header->dataDigest = digest;
    }
}

}  // namespace

std::string RecordingHeaderText(uint32_t seed, const std::string& gameVersion, const std::string& recordedAt,
                                uint64_t dataDigest) {
    char digest[17];
    std::snprintf(digest, sizeof digest, "%016llx", static_cast<unsigned long long>(dataDigest));
    std::string text = std::string(kMagic) + std::to_string(kRecordingVersion) + " seed=" + std::to_string(seed) + "\n";
    text += "# game " + gameVersion + "\n";
    if (!recordedAt.empty()) text += "# recorded " + recordedAt + "\n";
    return text + std::string(kDataPrefix) + digest + "\n";
}

RecordingRead ParseRecording(std::string_view text) {
    RecordingRead read;
    const std::string_view first = LineAt(text, 0);
    if (first.starts_with(kMagic) || first == kMagic.substr(0, kMagic.size() - 1)) {
        read.error = ParseFirstLine(first.substr(std::min(first.size(), kMagic.size())), &read.header);
        if (!read.error.empty()) return read.errorLine = 1, read;
        ParseMoreHeader(text, &read.header);
        if (!text.ends_with('\n')) {
            read.errorLine = static_cast<int32_t>(std::count(text.begin(), text.end(), '\n')) + 1;
            read.error = "the recording ends in the middle of this line: it was cut short";
            return read;
        }
    }
    ScriptResult script = ParseScript(text);
    read.errorLine = script.errorLine;
    read.error = std::move(script.error);
    read.frames = std::move(script.frames);
    read.ok = script.ok;
    return read;
}

namespace {

// Up to kMaxScriptBytes + 1 bytes, so that a larger stream is seen to be too large.
bool ReadCapped(std::FILE* file, std::string* text) {
    char buffer[65536];
    size_t n;
    while (text->size() <= kMaxScriptBytes && (n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text->append(buffer, std::min(n, kMaxScriptBytes + 1 - text->size()));
    return std::ferror(file) == 0;
}

std::string TooLarge() {
    return "larger than " + std::to_string(kMaxScriptBytes >> 20) + " MiB: not a recording";
}

}  // namespace

bool ReadScriptFile(const std::string& path, std::string* text, std::string* error) {
    text->clear();
    if (path == "-") {
        if (!ReadCapped(stdin, text)) return *error = "cannot read standard input", false;
        if (text->size() > kMaxScriptBytes) return *error = TooLarge(), false;
        return true;
    }
    std::FILE* file = OpenFile(path, "rb");
    if (!file) return *error = std::string("cannot read it: ") + std::strerror(errno), false;
    struct stat info{};
    bool ok = fstat(fileno(file), &info) == 0;
    if (ok && S_ISDIR(info.st_mode)) {
        *error = "cannot read it: it is a folder";
        ok = false;
    } else if (ok && S_ISREG(info.st_mode) && static_cast<uint64_t>(info.st_size) > kMaxScriptBytes) {
        *error = TooLarge();  // refused unread
        ok = false;
    } else if (!ReadCapped(file, text)) {
        *error = "cannot read it";
        ok = false;
    } else if (text->size() > kMaxScriptBytes) {
        *error = TooLarge();
        ok = false;
    }
    std::fclose(file);
    return ok;
}
