#include "game/formats/script.h"

#include <charconv>
#include <cstdint>

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// The fields of one line with its comment removed.
std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsSpace(line[i])) ++i;
        size_t start = i;
        while (i < line.size() && !IsSpace(line[i])) ++i;
        if (i > start) fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

// The whole text must be one decimal integer within [low, high].
bool ParseInt(std::string_view text, int64_t low, int64_t high, int64_t* out) {
    if (text.empty()) return false;
    int64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    if (value < low || value > high) return false;
    *out = value;
    return true;
}

bool ParseKeys(std::string_view text, std::vector<int32_t>* keys, std::string* error) {
    if (text == "-") return true;
    size_t start = 0;
    while (true) {
        size_t comma = text.find(',', start);
        std::string_view item = text.substr(start, comma == std::string_view::npos ? std::string_view::npos
                                                                                  : comma - start);
        int64_t code = 0;
        if (!ParseInt(item, 1, 255, &code)) {
            *error = "bad key code '" + Shown(item) + "' in keys field (expected '-' or codes 1..255 separated by commas)";
            return false;
        }
        keys->push_back(static_cast<int32_t>(code));
        if (comma == std::string_view::npos) return true;
        start = comma + 1;
    }
}

// Fills frame from the fields of one line; on failure says why in error.
bool ParseFields(const std::vector<std::string_view>& fields, ScriptFrame* frame, std::string* error) {
    // Movement beyond what a frame can report would overflow the aim's sums.
    static const struct { const char* name; int64_t low, high; } kSigned[] = {
        {"dx", -kMouseMoveLimit, kMouseMoveLimit}, {"dy", -kMouseMoveLimit, kMouseMoveLimit}, {"wheel", INT32_MIN, INT32_MAX}};
    if (fields.size() > 5) {
        *error = "too many fields (" + std::to_string(fields.size()) + "; expected at most 5: dx dy wheel buttons keys)";
        return false;
    }
    int32_t* signedFields[] = {&frame->dx, &frame->dy, &frame->wheel};
    for (size_t f = 0; f < 3 && f < fields.size(); ++f) {
        int64_t value = 0;
        const auto& [name, low, high] = kSigned[f];
        if (!ParseInt(fields[f], low, high, &value)) {
            *error = std::string("bad ") + name + " field '" + Shown(fields[f]) + "' (expected a decimal integer from " +
                     std::to_string(low) + " to " + std::to_string(high) + ")";
            return false;
        }
        *signedFields[f] = static_cast<int32_t>(value);
    }
    if (fields.size() > 3) {
        int64_t value = 0;
        if (!ParseInt(fields[3], 0, 7, &value)) {
            *error = "bad buttons field '" + Shown(fields[3]) + "' (expected a bit mask 0..7)";
            return false;
        }
        frame->buttons = static_cast<uint32_t>(value);
    }
    if (fields.size() > 4) return ParseKeys(fields[4], &frame->keys, error);
    return true;
}

ScriptResult Refused(ScriptResult result, int32_t line, std::string error) {
    result.errorLine = line;
    result.error = std::move(error);
    result.frames.clear();
    return result;
}

}  // namespace

std::string Shown(std::string_view text) {
    constexpr size_t kShown = 24;
    std::string out;
    for (size_t i = 0; i < text.size() && i < kShown; ++i) out += text[i] >= ' ' && text[i] <= '~' ? text[i] : '?';
    if (text.size() > kShown) out += "...";
    return out;
}

ScriptResult ParseScript(std::string_view text) {
    ScriptResult result;
    int32_t lineNumber = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t newline = text.find('\n', pos);
        size_t end = newline == std::string_view::npos ? text.size() : newline;
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (line.size() > kMaxScriptLine)
            return Refused(std::move(result), lineNumber,
                           "line longer than " + std::to_string(kMaxScriptLine) + " characters");

        size_t hash = line.find('#');
        if (hash != std::string_view::npos) line = line.substr(0, hash);
        std::vector<std::string_view> fields = SplitFields(line);
        if (fields.empty()) continue;  // blank or comment only: not a frame

        if (result.frames.size() == kMaxScriptFrames)
            return Refused(std::move(result), lineNumber, "more than " + std::to_string(kMaxScriptFrames) + " frames");
        ScriptFrame frame;
        std::string error;
        if (!ParseFields(fields, &frame, &error)) return Refused(std::move(result), lineNumber, std::move(error));
        result.frames.push_back(std::move(frame));
    }
    result.ok = true;
    return result;
}

InputFrame ToInputFrame(const ScriptFrame& frame) {
    InputFrame input;
    input.dx = frame.dx;
    input.dy = frame.dy;
    input.wheel = frame.wheel;
    for (int b = 0; b < 3; ++b) input.buttons[b] = (frame.buttons >> b) & 1u;
    for (int32_t key : frame.keys) input.keys[key] = 1;
    return input;
}

void AppendScriptLine(std::string* out, const InputFrame& frame) {
    const uint32_t buttons = (frame.buttons[0] ? 1u : 0u) | (frame.buttons[1] ? 2u : 0u) | (frame.buttons[2] ? 4u : 0u);
    *out += std::to_string(frame.dx) + ' ' + std::to_string(frame.dy) + ' ' + std::to_string(frame.wheel) + ' ' +
            std::to_string(buttons) + ' ';
    bool any = false;
    for (int32_t k = 1; k < 256; ++k) {
        if (!frame.keys[k]) continue;
        if (any) out->push_back(',');
        *out += std::to_string(k);
        any = true;
    }
    if (!any) out->push_back('-');
    out->push_back('\n');
}
