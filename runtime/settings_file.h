// The text format of the files the game keeps for the player (settings.txt, records.txt),
// made to be read and edited by a person:
//
//   # Dreel settings
//   format = 1
//
//   # The mouse's turning speed, 0.25 to 4.
//   mouse-sensitivity = 1.5
//   sound = yes
//
// UTF-8 text (a leading byte-order mark is skipped), lines ending in LF or CR LF, at most
// 64 KiB. Blank lines and lines whose first non-blank character is '#' are comments; a
// '#' after a value is part of the value. The first line that is not a comment must be
// `format = N`, N a whole number from 1; a file of a later format than kSettingsFormat
// is refused, its lines may mean something else. Every other line is `key = value`:
// the key lower-case letters, digits and '-', starting with a letter, given once; the
// value is the rest of the line after the first '=', with the spaces and tabs around
// the key and the value dropped. Anything else (a NUL byte, invalid UTF-8, a control
// character other than tab or a CR before LF, a line that is not `key = value`, a key
// given twice) refuses the whole file with a one-line reason: the game then sets it
// aside whole (atomic_file.h) and starts from the defaults, so nothing is lost and no
// value is ever taken from a file half understood.
//
// Comments and blank lines between `format` and the keys are kept with the key below
// them (or at the end), and written back; the lines before `format` are the file's
// title, which the writer writes afresh. Keys the game does not know are kept and
// written back unchanged, after the known ones.
//
// On top of the text, a typed layer: a table of the keys the game knows (SettingRule)
// gives each one's value, the file's when the rule accepts it, else the default with
// one line on standard error. Depends on the C++ library and runtime/atomic_file.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The format written, and the latest read.
inline constexpr uint32_t kSettingsFormat = 1;
// Larger files are refused unread: a settings file is a few hundred bytes.
inline constexpr size_t kMaxSettingsBytes = size_t{64} << 10;

struct SettingLine {
    std::string key;                 // as in the file
    std::string value;               // trimmed, as in the file
    std::vector<std::string> above;  // the comment and blank lines just above it, as written
};

struct SettingsText {
    std::vector<SettingLine> lines;  // in the file's order
    std::vector<std::string> after;  // comment and blank lines after the last key
};

struct SettingsParse {
    bool ok = false;
    SettingsText text;  // empty unless ok
    std::string error;  // one line, "line N: ..." where a line is at fault
};

// Reads the bytes of a whole file (more than kMaxSettingsBytes are refused).
SettingsParse ParseSettings(std::string_view bytes);

enum class SettingKind {
    YesNo,    // yes or no; true/false, on/off and 1/0 are read too, any case
    Whole,    // a whole number in `range` "LOW..HIGH", 64-bit
    Decimal,  // a decimal number in `range`: digits with one optional '.', no exponent,
              // at most 15 significant digits; read the same in every locale
    Word,     // one of the words in `range`, "word|word|...", any case
};

struct SettingRule {
    const char* key;       // lower-case letters, digits and '-'
    const char* fallback;  // the default, written as the file would: "1.5", "yes", "fill"
    SettingKind kind;
    const char* range;     // see SettingKind; ignored for YesNo
};

struct SettingValue {
    std::string text;  // normalised: "yes"/"no", no leading zeros or '+', the word as listed
    int64_t whole;     // YesNo: 1 or 0; Whole: the number; Word: its index in the list; Decimal: 0
    double number;     // Decimal: the number (the nearest double); the others: `whole`
};

// The value of `text` under `rule`, or nullopt when the rule refuses it.
std::optional<SettingValue> CheckSetting(const SettingRule& rule, std::string_view text);

struct Settings {
    SettingsText file;                  // as read: unknown keys and comments go back with it
    std::vector<SettingValue> values;   // one per rule, in the table's order
    std::vector<std::string> messages;  // one line per value not taken from the file, as printed
    bool mayWrite = true;               // false when a refused file could not be set aside
};

// The rules' values from `file`: the file's when valid, else the default, with one
// line naming the key, the bad value and `fileName` printed on standard error and kept
// in `messages`. A key missing from the file takes its default quietly.
Settings TypeSettings(SettingsText file, std::span<const SettingRule> rules, const std::string& fileName);

// Changes rule `index`'s value; false (nothing changed) when the rule refuses `text`.
bool ChangeSetting(Settings* settings, std::span<const SettingRule> rules, size_t index, std::string_view text);

// The file's text: "# `title`", the format line, then the known keys with their values
// in the table's order, then the unknown keys in their order, comments kept above them.
std::string SettingsFileText(const Settings& settings, std::span<const SettingRule> rules, std::string_view title);

// The file at `path` typed by `rules`. A missing file (or an empty path) gives the
// defaults quietly; one that cannot be read or is refused is set aside beside itself and
// gives the defaults, with a line on standard error saying why and where it went.
Settings LoadSettings(const std::string& path, std::span<const SettingRule> rules);
// Writes the settings atomically when their text differs from the file's. Returns an
// empty text on success, else a one-line reason (also when `mayWrite` is false).
std::string SaveSettings(const std::string& path, const Settings& settings, std::span<const SettingRule> rules,
                         std::string_view title);
