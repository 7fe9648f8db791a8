// The player's files: where they go, how they read (every kind of fault, a file cut at
// every byte), how they are written back, written through faults and set aside, and the
// records' counting and text.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/atomic_file.h"
#include "runtime/records.h"
#include "runtime/settings_file.h"
#include "runtime/user_folders.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

constexpr SettingRule kRules[] = {
    {"sound", "yes", SettingKind::YesNo, nullptr},
    {"volume", "80", SettingKind::Whole, "0..100"},
    {"mouse-sensitivity", "1", SettingKind::Decimal, "0.25..4"},
    {"scale-mode", "fill", SettingKind::Word, "fill|integer"},
};

// The values' texts, or "refused: " and the reason; standard error goes to `err`.
std::string Read(const std::string& bytes, std::string* err = nullptr, Settings* out = nullptr) {
    const SettingsParse parse = ParseSettings(bytes);
    if (!parse.ok) return "refused: " + parse.error;
    testing::internal::CaptureStderr();
    Settings settings = TypeSettings(parse.text, kRules, "s.txt");
    const std::string printed = testing::internal::GetCapturedStderr();
    if (err) *err = printed;
    std::string values;
    for (const SettingValue& v : settings.values) values += (values.empty() ? "" : " ") + v.text;
    if (out) *out = std::move(settings);
    return values;
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(UserFolders, EveryCaseOfTheEnvironment) {
    struct Case { FolderRule rule; UserEnvironment env; const char* settings; const char* state; };
    const Case cases[] = {
        {FolderRule::Xdg, {"/home/a", "", "", ""}, "/home/a/.config/dreel/", "/home/a/.local/state/dreel/"},
        {FolderRule::Xdg, {"/home/a/", "/c", "/s/", ""}, "/c/dreel/", "/s/dreel/"},
        {FolderRule::Xdg, {"/home/a", "c", "~/s", ""}, "/home/a/.config/dreel/", "/home/a/.local/state/dreel/"},
        {FolderRule::Xdg, {"", "/c", "", "C:\\x"}, "/c/dreel/", ""},
        {FolderRule::Xdg, {"home", "", "", ""}, "", ""},
        {FolderRule::Xdg, {"/", "", "", ""}, "/.config/dreel/", "/.local/state/dreel/"},
        {FolderRule::Xdg, {}, "", ""},
        {FolderRule::Windows, {"/home/a", "/c", "/s", "C:\\Users\\\xC5\x81\\AppData\\Roaming"},
         "C:\\Users\\\xC5\x81\\AppData\\Roaming\\Dreel\\", "C:\\Users\\\xC5\x81\\AppData\\Roaming\\Dreel\\"},
        {FolderRule::Windows, {"", "", "", "D:/r\\"}, "D:/r\\Dreel\\", "D:/r\\Dreel\\"},
        {FolderRule::Windows, {"", "", "", "\\\\srv\\u"}, "\\\\srv\\u\\Dreel\\", "\\\\srv\\u\\Dreel\\"},
        {FolderRule::Windows, {"/home/a", "", "", "Roaming"}, "", ""},
        {FolderRule::Windows, {}, "", ""},
        {FolderRule::Web, {}, "/dreel-store/", "/dreel-store/"},
    };
    for (const Case& c : cases) {
        const UserFolders f = UserFoldersOf(c.rule, c.env);
        EXPECT_EQ(f.settings + " | " + f.state, std::string(c.settings) + " | " + c.state) << c.env.home << c.env.appData;
    }
    EXPECT_EQ(UserFilePath("/c/dreel/", kSettingsFileName) + UserFilePath("", kRecordsFileName), "/c/dreel/settings.txt");
}

TEST(UserFolders, CreatedWithParentsPrivateAndRefusedOverAFile) {
    support::TempFolder temp;
    const std::string folder = temp / "a/b/dreel/";
    EXPECT_EQ(CreateUserFolder(folder) + CreateUserFolder(folder), "");
    EXPECT_TRUE(fs::is_directory(folder));
#ifndef _WIN32
    EXPECT_EQ(fs::status(temp / "a").permissions() & fs::perms::all, fs::perms::owner_all);
#endif
    support::WriteText(temp / "f", "");
    EXPECT_NE(CreateUserFolder(temp / "f/dreel/"), "");
}

// Files as bytes: the values read (sound, volume, mouse-sensitivity, scale-mode) or the
// refusal, and what standard error says of bad values.
TEST(SettingsFile, ReadsEveryKindOfFile) {
    struct Case { std::string bytes, values, err; };
    const std::string bad = "s.txt: sound = \"maybe\" is not yes or no; yes is used\n"
                            "s.txt: volume = \"101\" is not a whole number from 0 to 100; 80 is used\n"
                            "s.txt: mouse-sensitivity = \"1e0\" is not a number from 0.25 to 4; 1 is used\n"
                            "s.txt: scale-mode = \"huge\" is not one of fill, integer; fill is used\n";
    const std::string sens = "s.txt: mouse-sensitivity = \"";
    const Case cases[] = {
        {"# Dreel settings\nformat = 1\nsound = no\nvolume = 7\nmouse-sensitivity = 0.5\nscale-mode = integer\n",
         "no 7 0.5 integer", ""},
        {"\xEF\xBB\xBF# t\r\n\r\nformat=1\r\n  sound\t=  TRUE \r\nvolume = 007\nmouse-sensitivity = 02.50\nscale-mode = Integer",
         "yes 7 2.5 integer", ""},
        {"format = 1\nsound = off\nvolume = -0\nmouse-sensitivity = 4.000\nextra = \xC5\x81\xC3\xB3\xE2\x82\xAC\xF0\x9F\x8E\xAE\n",
         "no 0 4 fill", ""},
        {"format = 1\nmouse-sensitivity = .25\nvolume = 100\n", "yes 100 0.25 fill", ""},
        {"format = 1\n", "yes 80 1 fill", ""},
        {"format = 1\nsound = maybe\nvolume = 101\nmouse-sensitivity = 1e0\nscale-mode = huge\n", "yes 80 1 fill", bad},
        {"format = 1\nmouse-sensitivity = 0.2499999\nvolume = 99999999999999999999\n", "yes 80 1 fill",
         "s.txt: volume = \"99999999999999999999\" is not a whole number from 0 to 100; 80 is used\n" + sens +
             "0.2499999\" is not a number from 0.25 to 4; 1 is used\n"},
        {"format = 1\nmouse-sensitivity = inf\n", "yes 80 1 fill", sens + "inf\" is not a number from 0.25 to 4; 1 is used\n"},
        {"format = 1\nmouse-sensitivity = 1.2.3\n", "yes 80 1 fill", sens + "1.2.3\" is not a number from 0.25 to 4; 1 is used\n"},
        {"format = 1\nmouse-sensitivity = 1.0000000000000001\n", "yes 80 1 fill",
         sens + "1.0000000000000001\" is not a number from 0.25 to 4; 1 is used\n"},
        {"format = 1\nmouse-sensitivity =\n", "yes 80 1 fill", sens + "\" is not a number from 0.25 to 4; 1 is used\n"},
        {"format = 2\nsound = no\n", "refused: format 2 is newer than this game reads (1)", ""},
        {"format = 0\n", "refused: line 1: the format must be a whole number from 1", ""},
        {"sound = no\nformat = 1\n", "refused: line 1: the file must begin with format = 1", ""},
        {"# nothing\n\n", "refused: no format line: the file must begin with format = 1", ""},
        {"format = 1\nsound\n", "refused: line 2: not key = value", ""},
        {"format = 1\nSound = no\n", "refused: line 2: \"Sound\" is not a key (lower-case letters, digits, '-')", ""},
        {"format = 1\n\nsound = no\nsound = yes\n", "refused: line 4: sound is given twice (first on line 3)", ""},
        {"format = 1\nformat = 1\n", "refused: line 2: format is given twice", ""},
        {std::string("format = 1\n\0", 12), "refused: line 2: a NUL byte: not a text file", ""},
        {"format = 1\nsound = \x07yes\n", "refused: line 2: a control character", ""},
        {"format = 1\nsound = a\rb\n", "refused: line 2: a control character", ""},
        {"format = 1\nx = \xC2\x85\n", "refused: line 2: a control character", ""},
        {"\x89PNG\r\n\x1a\n\xff\xd8", "refused: line 1: not UTF-8 text", ""},
        {"format = 1\nx = \xC0\xAF\n", "refused: line 2: not UTF-8 text", ""},
        {"format = 1\nx = \xED\xA0\x80\n", "refused: line 2: not UTF-8 text", ""},
        {"format = 1\nx = \xF4\x90\x80\x80\n", "refused: line 2: not UTF-8 text", ""},
        {"format = 1\nx = \xE2\x82", "refused: line 2: not UTF-8 text", ""},
        {"format = 1\n#" + std::string(65523, 'x') + "\n", "yes 80 1 fill", ""},
        {"format = 1\n#" + std::string(65524, 'x') + "\n", "refused: larger than 64 KiB", ""},
    };
    for (const Case& c : cases) {
        std::string err;
        EXPECT_EQ(Read(c.bytes, &err), c.values) << c.bytes.substr(0, 80);
        EXPECT_EQ(err, c.err) << c.bytes.substr(0, 80);
    }
}

// Cut anywhere, a file gives each key its whole value, a value it begins with, or the default.
TEST(SettingsFile, CutShortAtEveryByte) {
    const std::string full = "# Dreel settings\nformat = 1\nsound = no\nvolume = 42\nmouse-sensitivity = 2.75\n"
                             "# comment\nscale-mode = integer\nextra = kept\n";
    const char* const values[] = {"no", "42", "2.75", "integer"};
    for (size_t n = 0; n <= full.size(); ++n) {
        const std::string cut = full.substr(0, n);
        Settings read;
        const bool ok = !Read(cut, nullptr, &read).starts_with("refused");
        EXPECT_TRUE(n < 27 || n == full.size() ? ok == (n == full.size()) : true) << n;  // 27: "format = 1" read
        for (size_t i = 0; ok && i < std::size(kRules); ++i) {
            const std::string& v = read.values[i].text;
            const bool whole = cut.find(std::string(kRules[i].key) + " = " + values[i] + "\n") != std::string::npos;
            EXPECT_TRUE(whole ? v == values[i] : v == kRules[i].fallback || std::string(values[i]).starts_with(v))
                << n << " " << v;
        }
    }
}

// Known keys in the table's order, then the unknown ones in theirs, each with its comments.
TEST(SettingsFile, WritesKnownKeysThenUnknownOnesWithTheirComments) {
    Settings s;
    Read("# mine\nformat = 1\n\n# loud\nvolume = 50\nzeta = 1\n# about alpha\n  alpha = x = y \nsound = no\n# end\n",
         nullptr, &s);
    EXPECT_TRUE(ChangeSetting(&s, kRules, 3, "INTEGER"));
    EXPECT_FALSE(ChangeSetting(&s, kRules, 1, "500"));
    const std::string written = SettingsFileText(s, kRules, "Dreel settings");
    EXPECT_EQ(written, "# Dreel settings\nformat = 1\nsound = no\n\n# loud\nvolume = 50\nmouse-sensitivity = 1\n"
                       "scale-mode = integer\nzeta = 1\n# about alpha\nalpha = x = y\n# end\n");
    Read(written, nullptr, &s);
    EXPECT_EQ(SettingsFileText(s, kRules, "Dreel settings"), written);
}

// A fault after each step leaves the old file or the new one, whole, and nothing else.
TEST(AtomicFile, AFaultAfterEachStepLeavesOneWholeFile) {
    struct Fault { WriteStep step; int calls; };
    const auto failAt = +[](WriteStep step, void* context) {
        auto* fault = static_cast<Fault*>(context);
        ++fault->calls;
        return step == fault->step;
    };
    const std::pair<WriteStep, const char*> cases[] = {{WriteStep::Create, "old"}, {WriteStep::Write, "old"},
        {WriteStep::Sync, "old"}, {WriteStep::Close, "old"}, {WriteStep::Rename, "new\n"}};
    for (const auto& [step, left] : cases) {
        support::TempFolder temp;
        support::WriteText(temp / "settings.txt", "old");
        Fault fault{step, 0};
        EXPECT_NE(WriteFileAtomically(temp / "settings.txt", "new\n", {failAt, &fault}), "");
        EXPECT_EQ(support::ReadText(temp / "settings.txt"), left);
        EXPECT_EQ(Names(temp.path), std::vector<std::string>{"settings.txt"});
        fault = {WriteStep(-1), 0};
        EXPECT_EQ(WriteFileAtomically(temp / "settings.txt", "new\n", {failAt, &fault}), "");
        EXPECT_EQ(support::ReadText(temp / "settings.txt") + std::to_string(fault.calls),
                  step == WriteStep::Rename ? "new\n0" : "new\n5");  // unchanged: not written again
        EXPECT_EQ(Names(temp.path), std::vector<std::string>{"settings.txt"});
    }
    support::TempFolder temp;
    EXPECT_NE(WriteFileAtomically(temp / "none/settings.txt", "x"), "");
    EXPECT_TRUE(Names(temp.path).empty());
}

// Set aside under the first free name, nothing replaced; a refused file is set aside on loading.
TEST(AtomicFile, SetAsideNeverReplacesAndLoadingSetsARefusedFileAside) {
    support::TempFolder temp;
    const std::string path = temp / "settings.txt";
    support::WriteText(path + ".unreadable", "first"), support::WriteText(path + ".unreadable-3", "third");
    for (const char* expected : {".unreadable-2", ".unreadable-4"}) {
        support::WriteText(path, expected);
        EXPECT_EQ(SetFileAside(path).name, path + expected);
        EXPECT_EQ(support::ReadText(path + expected), expected);
    }
    EXPECT_EQ(support::ReadText(path + ".unreadable") + support::ReadText(path + ".unreadable-3"), "firstthird");
    EXPECT_NE(SetFileAside(path).error, "");

    support::WriteText(path, "format = 9\nsound = no\n");
    testing::internal::CaptureStderr();
    Settings s = LoadSettings(path, kRules);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), path + ": format 9 is newer than this game reads (1); moved to " +
                                                          path + ".unreadable-5; the defaults are used\n");
    EXPECT_EQ(support::ReadText(path + ".unreadable-5"), "format = 9\nsound = no\n");
    EXPECT_EQ(SaveSettings(path, s, kRules, "Dreel settings"), "");
    EXPECT_EQ(support::ReadText(path),
              "# Dreel settings\nformat = 1\nsound = yes\nvolume = 80\nmouse-sensitivity = 1\nscale-mode = fill\n");
    fs::remove(path), fs::create_directory(path);
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadSettings(path, kRules).messages.at(0), path + ": not a regular file; moved to " + path +
                                                             ".unreadable-6; the defaults are used");
    EXPECT_TRUE(fs::is_directory(path + ".unreadable-6") && testing::internal::GetCapturedStderr() != "");
}

TEST(Records, LivesBestLifeSaturationAndText) {
    constexpr int64_t kMax = INT64_MAX;
    struct Case { Records start; std::vector<std::array<int64_t, 3>> lives; const char* text; };
    const Case cases[] = {
        {{}, {}, "No lives played yet.\n"},
        {{}, {{23, 41, 75}, {5, 10, 3000}, {23, 40, 600}, {23, 45, 0}},
         "Best life: 23 kills, 40 shots, 0.58 hits per shot\nAll lives: 4 lives, 74 kills, 136 shots, 1 h 01 min played\n"},
        {{}, {{1, 1, 59}}, "Best life: 1 kill, 1 shot, 1.00 hits per shot\nAll lives: 1 life, 1 kill, 1 shot, 59 s played\n"},
        {{}, {{0, 0, 725}, {0, 3, 1}},
         "Best life: 0 kills, 0 shots, - hits per shot\nAll lives: 2 lives, 0 kills, 3 shots, 12 min 06 s played\n"},
        {{}, {{2, 3, -5}, {-1, -7, 60}}, "Best life: 2 kills, 3 shots, 0.67 hits per shot\n"
                                         "All lives: 2 lives, 2 kills, 3 shots, 1 min 00 s played\n"},
        {{kMax - 1, kMax - 5, 7, kMax, 1, 7}, {{kMax, kMax, kMax}, {9, 9, 9}},
         "Best life: 9223372036854775807 kills, 9223372036854775807 shots, 1.00 hits per shot\nAll lives: "
         "9223372036854775807 lives, 9223372036854775807 kills, 9223372036854775807 shots, 2562047788015215 h 30 min played\n"},
        {{}, {{kMax, 3, 0}, {kMax, 2, 0}}, "Best life: 9223372036854775807 kills, 2 shots, 4611686018427387903.50 hits per "
                                            "shot\nAll lives: 2 lives, 9223372036854775807 kills, 5 shots, 0 s played\n"},
    };
    for (const Case& c : cases) {
        Records r = c.start;
        for (const auto& [kills, shots, seconds] : c.lives) AddLife(&r, kills, shots, seconds);
        EXPECT_EQ(RecordsText(r), c.text);
    }
    // A bad value reads as 0 and is named; the good ones stay, and all are written back.
    Settings s;
    const std::string file =
        "format = 1\nlives = 3\nkills = -4\nshots = x\nseconds = 99999999999999999999\nbest-kills = 2\nbest-shots = 5\n";
    testing::internal::CaptureStderr();
    s = TypeSettings(ParseSettings(file).text, RecordRules(), "r.txt");
    testing::internal::GetCapturedStderr();
    Records r = RecordsOf(s);
    EXPECT_EQ(s.messages.size(), 3u);
    EXPECT_EQ(s.messages[1], "r.txt: shots = \"x\" is not a whole number from 0 to 9223372036854775807; 0 is used");
    AddLife(&r, 1, 1, 1);
    PutRecords(&s, r);
    EXPECT_EQ(SettingsFileText(s, RecordRules(), kRecordsTitle),
              "# Dreel records\nformat = 1\nlives = 4\nkills = 1\nshots = 1\nseconds = 1\nbest-kills = 2\nbest-shots = 5\n");
}
