// The generator as a program: exactly the game's files, the same bytes every run, and a
// failure that shows when it cannot write.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "test_support.h"

namespace {

namespace fs = std::filesystem;

support::ProcessResult RunGenerator(std::vector<std::string> args) {
    args.insert(args.begin(), DREEL_DATAGEN);
    return support::RunProcess(args);
}

TEST(Generator, WritesExactlyTheGamesFilesWithTheSameBytesEveryRun) {
    const support::TempFolder first, second;
    const std::string nested = second / "a/b", sheet = second / "sheet.png";
    ASSERT_EQ(RunGenerator({first.path.string()}).exitCode, 0);
    // Into a folder that does not exist yet, with the contact sheet in the same run.
    ASSERT_EQ(RunGenerator({nested, "--contact-sheet", sheet}).exitCode, 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(first.path), {}), 22) << "only the game's files";
    for (const std::string& name : support::GameDataNames()) {
        const std::vector<uint8_t> bytes = support::ReadBytes(first / name);
        EXPECT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(bytes, support::ReadBytes(nested + "/" + name)) << name << " differs between two runs";
        EXPECT_EQ(bytes, support::ReadBytes(support::DataPath(name))) << name << " of the build differs";
    }
    EXPECT_EQ(support::ReadText(sheet).substr(0, 4), "\x89PNG");
}

TEST(Generator, FailsVisiblyWhenItCannotWrite) {
    const support::TempFolder folder;
    ASSERT_TRUE(support::WriteText(folder / "file", "x"));
    fs::create_directories(folder / "last/Ex5.wav");  // the last file cannot be written
    const struct { std::vector<std::string> args; int exitCode; const char* message; } cases[] = {
        {{folder / "file"}, 1, "cannot create"}, {{folder / "last"}, 1, "cannot write"},
        {{"--contact-sheet", folder / "file/sheet.png"}, 1, "dreel-datagen: "},
        {{"--icons", folder / "file/icons"}, 1, "cannot create"},
        {{}, 2, "usage: dreel-datagen"}, {{"--no-such-option"}, 2, "usage: dreel-datagen"}};
    for (const auto& c : cases) {
        const support::ProcessResult r = RunGenerator(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
}

}  // namespace
