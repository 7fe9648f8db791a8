#include "runtime/settings_file.h"

#include <charconv>
#include <cstdio>

#include "runtime/atomic_file.h"
#include "runtime/format.h"

namespace {

SettingsParse Refused(std::string why) {
    SettingsParse parse;
    parse.error = std::move(why);
    return parse;
}

std::string LineText(int line) { return "line " + std::to_string(line) + ": "; }

// The first fault that makes `bytes` other than the text the format allows, or "".
std::string TextFault(std::string_view bytes) {
    int line = 1;
    for (size_t i = 0; i < bytes.size();) {
        const auto at = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
        const unsigned c = at(i);
        if (c == 0) return LineText(line) + "a NUL byte: not a text file";
        if (c < 0x80) {
            const bool lineEnd = c == '\n' || (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n');
            if ((c < 0x20 && c != '\t' && !lineEnd) || c == 0x7f) return LineText(line) + "a control character";
            line += c == '\n';
            ++i;
            continue;
        }
        // The shortest encoding of a scalar value up to U+10FFFF, no surrogates.
        const size_t length = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        const unsigned low = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
        const unsigned high = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
        bool valid = length != 0 && i + length <= bytes.size();
        for (size_t k = 1; valid && k < length; ++k)
            valid = at(i + k) >= (k == 1 ? low : 0x80) && at(i + k) <= (k == 1 ? high : 0xBF);
        if (!valid) return LineText(line) + "not UTF-8 text";
        if (c == 0xC2 && at(i + 1) <= 0x9F) return LineText(line) + "a control character";  // U+0080..U+009F
        i += length;
    }
    return "";
}

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool ValidKey(std::string_view key) {
    if (key.empty() || key[0] < 'a' || key[0] > 'z') return false;
    for (char c : key)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')) return false;
    return true;
}

template <typename Number>
std::optional<Number> ParseWhole(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// Digits with one optional '.', an optional '-' in front, worked out by hand: the C
// library's readers follow the locale, and not every C++ library here has from_chars
// for double. At most 15 significant digits and 22 after the point, so that the
// digits as an integer and the power of ten are both exact doubles, and their quotient
// is the correctly rounded value.
std::optional<SettingValue> ParseDecimal(std::string_view text) {
    const bool negative = text.starts_with('-');
    std::string whole, fraction;
    bool point = false;
    for (char c : text.substr(negative ? 1 : 0)) {
        if (c >= '0' && c <= '9') (point ? fraction : whole) += c;
        else if (c == '.' && !point) point = true;
        else return std::nullopt;
    }
    if (whole.empty() && fraction.empty()) return std::nullopt;
    whole.erase(0, whole.find_first_not_of('0') == std::string::npos ? whole.size() : whole.find_first_not_of('0'));
    fraction.erase(fraction.find_last_not_of('0') + 1);
    const std::string digits = whole + fraction;
    const size_t leading = std::min(digits.find_first_not_of('0'), digits.size());
    if (digits.size() - leading > 15 || fraction.size() > 22) return std::nullopt;
    uint64_t mantissa = 0;
    for (char c : digits) mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
    double scale = 1;
    for (size_t k = 0; k < fraction.size(); ++k) scale *= 10;
    const double value = static_cast<double>(mantissa) / scale;
    std::string normal = negative && mantissa != 0 ? "-" : "";
    normal += whole.empty() ? "0" : whole;
    if (!fraction.empty()) normal.append(".").append(fraction);
    return SettingValue{normal, 0, negative ? -value : value};
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// The two ends of a range "LOW..HIGH".
std::pair<std::string_view, std::string_view> Ends(std::string_view range) {
    const size_t dots = range.find("..");
    if (dots == std::string_view::npos) return {};
    return {range.substr(0, dots), range.substr(dots + 2)};
}

// What a rule accepts, for the player: "a number from 0.25 to 4".
std::string Expected(const SettingRule& rule) {
    const auto [low, high] = Ends(rule.range ? rule.range : "");
    switch (rule.kind) {
        case SettingKind::YesNo: return "yes or no";
        case SettingKind::Whole: return "a whole number from " + std::string(low) + " to " + std::string(high);
        case SettingKind::Decimal: return "a number from " + std::string(low) + " to " + std::string(high);
        case SettingKind::Word: break;
    }
    std::string words;
    for (const std::string& word : SplitList(rule.range, '|')) words += (words.empty() ? "" : ", ") + word;
    return "one of " + words;
}

SettingValue Default(const SettingRule& rule) {
    return CheckSetting(rule, rule.fallback).value_or(SettingValue{rule.fallback, 0, 0});
}

const SettingLine* LineOf(const SettingsText& text, std::string_view key) {
    for (const SettingLine& line : text.lines)
        if (line.key == key) return &line;
    return nullptr;
}

void Tell(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
}

}  // namespace

SettingsParse ParseSettings(std::string_view bytes) {
    if (bytes.size() > kMaxSettingsBytes) return Refused("larger than 64 KiB");
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (std::string fault = TextFault(bytes); !fault.empty()) return Refused(fault);
    SettingsParse parse;
    bool format = false;
    std::vector<std::string> comments;
    std::vector<int> numbers;  // the line number of each key, for the message of a repeat
    int number = 0;
    for (size_t start = 0; start < bytes.size();) {
        const size_t end = std::min(bytes.find('\n', start), bytes.size());
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        ++number;
        if (line.ends_with('\r')) line.remove_suffix(1);
        const std::string_view trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#') {
            if (format) comments.emplace_back(trimmed.empty() ? std::string_view() : line);
            continue;
        }
        const size_t equals = trimmed.find('=');
        if (equals == std::string_view::npos) return Refused(LineText(number) + "not key = value");
        const std::string_view key = Trim(trimmed.substr(0, equals)), value = Trim(trimmed.substr(equals + 1));
        if (!ValidKey(key))
            return Refused(LineText(number) + "\"" + std::string(key) +
                           "\" is not a key (lower-case letters, digits, '-')");
        if (!format) {
            const std::optional<uint32_t> version = ParseWhole<uint32_t>(value);
            if (key != "format") return Refused(LineText(number) + "the file must begin with format = 1");
            if (!version || *version == 0)
                return Refused(LineText(number) + "the format must be a whole number from 1");
            if (*version > kSettingsFormat)
                return Refused("format " + std::to_string(*version) + " is newer than this game reads (" +
                               std::to_string(kSettingsFormat) + ")");
            format = true;
            continue;
        }
        if (key == "format") return Refused(LineText(number) + "format is given twice");
        if (const SettingLine* first = LineOf(parse.text, key))
            return Refused(LineText(number) + std::string(key) + " is given twice (first on line " +
                           std::to_string(numbers[first - parse.text.lines.data()]) + ")");
        parse.text.lines.push_back({std::string(key), std::string(value), std::move(comments)});
        numbers.push_back(number);
        comments.clear();
    }
    if (!format) return Refused("no format line: the file must begin with format = 1");
    parse.text.after = std::move(comments);
    parse.ok = true;
    return parse;
}

std::optional<SettingValue> CheckSetting(const SettingRule& rule, std::string_view text) {
    const auto [low, high] = Ends(rule.range ? rule.range : "");
    switch (rule.kind) {
        case SettingKind::YesNo: {
            const std::string word = Lower(text);
            if (word == "yes" || word == "true" || word == "on" || word == "1") return SettingValue{"yes", 1, 1};
            if (word == "no" || word == "false" || word == "off" || word == "0") return SettingValue{"no", 0, 0};
            return std::nullopt;
        }
        case SettingKind::Whole: {
            const auto value = ParseWhole<int64_t>(text);
            const auto from = ParseWhole<int64_t>(low), to = ParseWhole<int64_t>(high);
            if (!value || !from || !to || *value < *from || *value > *to) return std::nullopt;
            return SettingValue{std::to_string(*value), *value, static_cast<double>(*value)};
        }
        case SettingKind::Decimal: {
            const auto value = ParseDecimal(text), from = ParseDecimal(low), to = ParseDecimal(high);
            if (!value || !from || !to || value->number < from->number || value->number > to->number)
                return std::nullopt;
            return value;
        }
        case SettingKind::Word: {
            const std::vector<std::string> words = SplitList(rule.range ? rule.range : "", '|');
            for (size_t i = 0; i < words.size(); ++i)
                if (Lower(words[i]) == Lower(text))
                    return SettingValue{words[i], static_cast<int64_t>(i), static_cast<double>(i)};
            return std::nullopt;
        }
    }
    return std::nullopt;
}

Settings TypeSettings(SettingsText file, std::span<const SettingRule> rules, const std::string& fileName) {
    Settings settings;
    settings.file = std::move(file);
    for (const SettingRule& rule : rules) {
        const SettingLine* line = LineOf(settings.file, rule.key);
        std::optional<SettingValue> value = line ? CheckSetting(rule, line->value) : std::nullopt;
        if (line && !value) {
            settings.messages.push_back(fileName + ": " + rule.key + " = \"" + line->value + "\" is not " +
                                        Expected(rule) + "; " + Default(rule).text + " is used");
            Tell(settings.messages.back());
        }
        settings.values.push_back(value ? *value : Default(rule));
    }
    return settings;
}

bool ChangeSetting(Settings* settings, std::span<const SettingRule> rules, size_t index, std::string_view text) {
    if (index >= rules.size() || index >= settings->values.size()) return false;
    const std::optional<SettingValue> value = CheckSetting(rules[index], text);
    if (value) settings->values[index] = *value;
    return value.has_value();
}

std::string SettingsFileText(const Settings& settings, std::span<const SettingRule> rules, std::string_view title) {
    std::string out = "# " + std::string(title) + "\nformat = " + std::to_string(kSettingsFormat) + "\n";
    const auto put = [&](const SettingLine* line, std::string_view key, std::string_view value) {
        if (line)
            for (const std::string& comment : line->above) out += comment + "\n";
        out.append(key).append(value.empty() ? " =" : " = ").append(value) += '\n';
    };
    for (size_t i = 0; i < rules.size() && i < settings.values.size(); ++i)
        put(LineOf(settings.file, rules[i].key), rules[i].key, settings.values[i].text);
    for (const SettingLine& line : settings.file.lines) {
        bool known = false;
        for (const SettingRule& rule : rules) known = known || line.key == rule.key;
        if (!known) put(&line, line.key, line.value);
    }
    for (const std::string& comment : settings.file.after) out += comment + "\n";
    return out;
}

Settings LoadSettings(const std::string& path, std::span<const SettingRule> rules) {
    SettingsText text;
    std::string refusal;
    bool mayWrite = true;
    if (!path.empty()) {
        const SmallFile file = ReadSmallFile(path, kMaxSettingsBytes);
        refusal = file.ok || !file.found ? "" : file.error.starts_with("larger") ? "larger than 64 KiB" : file.error;
        if (file.ok) {
            SettingsParse parse = ParseSettings(file.bytes);
            if (parse.ok) text = std::move(parse.text);
            else refusal = parse.error;
        }
    }
    if (!refusal.empty()) {
        const SetAside aside = SetFileAside(path);
        mayWrite = !aside.name.empty();
        refusal = path + ": " + refusal + "; " +
                  (mayWrite ? "moved to " + aside.name : aside.error + ", so it is not written over") +
                  "; the defaults are used";
        Tell(refusal);
    }
    Settings settings = TypeSettings(std::move(text), rules, path);
    if (!refusal.empty()) settings.messages.insert(settings.messages.begin(), refusal);
    settings.mayWrite = mayWrite;
    return settings;
}

std::string SaveSettings(const std::string& path, const Settings& settings, std::span<const SettingRule> rules,
                         std::string_view title) {
    if (path.empty()) return "no folder to save in";
    if (!settings.mayWrite) return "not saved: " + path + " could not be read nor moved aside";
    return WriteFileAtomically(path, SettingsFileText(settings, rules, title));
}
