#include "trace_reader.h"

#include <charconv>
#include <utility>

namespace {

// A JSON value restricted to what the trace holds: integers, arrays and objects.
struct Value {
    enum Kind { Number, Array, Object } kind = Number;
    int64_t number = 0;
    std::vector<Value> items;                             // Array
    std::vector<std::pair<std::string, Value>> members;  // Object, in written order
};

struct Parser {
    std::string_view text;
    size_t at = 0;
    std::string error;

    void SkipSpace() {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    }
    bool Fail(const std::string& why) {
        if (error.empty()) error = why + " at column " + std::to_string(at + 1);
        return false;
    }
    bool Expect(char c) {
        SkipSpace();
        if (at < text.size() && text[at] == c) {
            ++at;
            return true;
        }
        return Fail(std::string("expected '") + c + "'");
    }
    bool Peek(char c) {
        SkipSpace();
        return at < text.size() && text[at] == c;
    }
    bool ParseString(std::string* out) {
        if (!Expect('"')) return false;
        size_t start = at;
        while (at < text.size() && text[at] != '"') {
            if (text[at] == '\\') return Fail("escapes are not expected in the trace");
            ++at;
        }
        if (at >= text.size()) return Fail("unterminated string");
        *out = std::string(text.substr(start, at - start));
        ++at;
        return true;
    }
    bool ParseValue(Value* v) {
        SkipSpace();
        if (Peek('[')) return ParseArray(v);
        if (Peek('{')) return ParseObject(v);
        v->kind = Value::Number;
        auto [end, ec] = std::from_chars(text.data() + at, text.data() + text.size(), v->number);
        if (ec != std::errc()) return Fail("expected a number, an array or an object");
        at = static_cast<size_t>(end - text.data());
        return true;
    }
    bool ParseArray(Value* v) {
        v->kind = Value::Array;
        if (!Expect('[')) return false;
        if (Peek(']')) return Expect(']');
        do {
            v->items.emplace_back();
            if (!ParseValue(&v->items.back())) return false;
        } while (Peek(',') && Expect(','));
        return Expect(']');
    }
    bool ParseObject(Value* v) {
        v->kind = Value::Object;
        if (!Expect('{')) return false;
        if (Peek('}')) return Expect('}');
        do {
            std::string key;
            if (!ParseString(&key) || !Expect(':')) return false;
            v->members.emplace_back(key, Value{});
            if (!ParseValue(&v->members.back().second)) return false;
        } while (Peek(',') && Expect(','));
        return Expect('}');
    }
};

bool ToInt(const Value& v, int64_t* out) {
    if (v.kind != Value::Number) return false;
    *out = v.number;
    return true;
}

bool ToInts(const Value& v, std::vector<int64_t>* out) {
    if (v.kind != Value::Array) return false;
    for (const Value& item : v.items) {
        int64_t n = 0;
        if (!ToInt(item, &n)) return false;
        out->push_back(n);
    }
    return true;
}

template <size_t N>
bool ToRecords(const Value& v, std::vector<std::array<int64_t, N>>* out) {
    if (v.kind != Value::Array) return false;
    for (const Value& item : v.items) {
        if (item.kind != Value::Array || item.items.size() != N) return false;
        std::array<int64_t, N> rec{};
        for (size_t i = 0; i < N; ++i)
            if (!ToInt(item.items[i], &rec[i])) return false;
        out->push_back(rec);
    }
    return true;
}

bool ToFrame(const Value& v, TraceFrame* f, std::string* error) {
    static const char* const kKeys[] = {"frame", "player", "kills", "shotsFired", "explosion", "enemies",
                                        "shots", "stains", "smoke", "puffs", "flashes", "sounds"};
    constexpr size_t kKeyCount = sizeof kKeys / sizeof kKeys[0];
    if (v.kind != Value::Object || v.members.size() != kKeyCount) {
        *error = "expected an object with " + std::to_string(kKeyCount) + " keys";
        return false;
    }
    for (size_t i = 0; i < kKeyCount; ++i) {
        if (v.members[i].first != kKeys[i]) {
            *error = "key " + std::to_string(i + 1) + " is '" + v.members[i].first + "', expected '" + kKeys[i] + "'";
            return false;
        }
    }
    auto m = [&](size_t i) -> const Value& { return v.members[i].second; };
    std::vector<int64_t> player;
    bool ok = ToInt(m(0), &f->frame) && ToInts(m(1), &player) && player.size() == 12 &&
              ToInt(m(2), &f->kills) && ToInt(m(3), &f->shotsFired) && ToInt(m(4), &f->explosion) &&
              ToRecords<5>(m(5), &f->enemies) && ToRecords<5>(m(6), &f->shots) && ToRecords<2>(m(7), &f->stains) &&
              ToRecords<5>(m(8), &f->smoke) && ToRecords<5>(m(9), &f->puffs) && ToRecords<2>(m(10), &f->flashes) &&
              ToInts(m(11), &f->sounds);
    if (!ok) {
        *error = "a value has the wrong shape";
        return false;
    }
    for (size_t i = 0; i < 12; ++i) f->player[i] = player[i];
    return true;
}

}  // namespace

TraceReadResult ReadTrace(std::string_view text) {
    TraceReadResult result;
    size_t pos = 0;
    int lineNumber = 0;
    while (pos < text.size()) {
        size_t newline = text.find('\n', pos);
        ++lineNumber;
        if (newline == std::string_view::npos) {
            result.error = "line " + std::to_string(lineNumber) + ": no newline at the end";
            return result;
        }
        Parser parser;
        parser.text = text.substr(pos, newline - pos);
        pos = newline + 1;
        Value v;
        TraceFrame frame;
        std::string why;
        if (!parser.ParseObject(&v)) {
            why = parser.error;
        } else if (parser.SkipSpace(), parser.at != parser.text.size()) {
            why = "text after the object";
        } else if (ToFrame(v, &frame, &why)) {
            result.frames.push_back(std::move(frame));
            continue;
        }
        result.error = "line " + std::to_string(lineNumber) + ": " + why;
        return result;
    }
    result.ok = true;
    return result;
}
