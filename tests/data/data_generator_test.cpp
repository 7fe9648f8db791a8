// The generator as a program: it writes exactly the game's 22 files, writes the same
// bytes every time (the build's data folder included), reports failures, and draws the
// contact sheet.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "data_test_support.h"

namespace {

namespace fs = std::filesystem;

// Runs the generator with the given arguments, each quoted; returns its exit status.
int RunGenerator(const std::vector<std::string>& arguments) {
    std::string command;
    command += '"';
    command += DREEL_DATAGEN;
    command += '"';
    for (const std::string& a : arguments) {
        command += " \"";
        command += a;
        command += '"';
    }
    command += " 2>/dev/null";
    return std::system(command.c_str());
}

// A fresh, empty folder under the system's temporary folder, removed afterwards.
struct TempFolder {
    fs::path path;
    explicit TempFolder(const std::string& name) : path(fs::temp_directory_path() / name) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempFolder() { fs::remove_all(path); }
};

std::set<std::string> FileNames(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

}  // namespace

TEST(Generator, WritesExactlyTheGamesFilesAndTheSameBytesEveryTime) {
    const TempFolder first("dreel_datagen_first");
    const TempFolder second("dreel_datagen_second");
    ASSERT_EQ(RunGenerator({first.path.string()}), 0);
    ASSERT_EQ(RunGenerator({second.path.string()}), 0);

    const std::set<std::string> expected(GameDataNames().begin(), GameDataNames().end());
    EXPECT_EQ(expected.size(), 22u);
    EXPECT_EQ(FileNames(first.path), expected);
    for (const std::string& name : GameDataNames()) {
        const std::vector<uint8_t> a = ReadWholeFile(first.path / name);
        EXPECT_FALSE(a.empty()) << name;
        EXPECT_EQ(a, ReadWholeFile(second.path / name)) << name << " differs between two runs";
        EXPECT_EQ(a, ReadWholeFile(DataPath(name))) << name << " in the build's data folder is not the generator's";
    }
}

TEST(Generator, CreatesAMissingOutputFolder) {
    const TempFolder root("dreel_datagen_nested");
    const fs::path nested = root.path / "a" / "b";
    ASSERT_EQ(RunGenerator({nested.string()}), 0);
    EXPECT_TRUE(fs::exists(nested / "kugeln.bmp"));
    EXPECT_TRUE(fs::exists(nested / "Ex5.wav"));
}

TEST(Generator, FailsVisiblyWhenItCannotWrite) {
    const TempFolder root("dreel_datagen_blocked");
    // A plain file where the output folder should go.
    const fs::path blocker = root.path / "not_a_folder";
    { std::ofstream(blocker) << "x"; }
    EXPECT_NE(RunGenerator({blocker.string()}), 0);
    EXPECT_NE(RunGenerator({"--contact-sheet", (blocker / "sheet.png").string()}), 0);
    EXPECT_NE(RunGenerator({}), 0) << "nothing asked for is a usage error";
    EXPECT_NE(RunGenerator({"--no-such-option"}), 0);
}

TEST(Generator, WritesAContactSheetPng) {
    const TempFolder root("dreel_datagen_sheet");
    const fs::path sheet = root.path / "sheet.png";
    ASSERT_EQ(RunGenerator({"--contact-sheet", sheet.string()}), 0);
    const std::vector<uint8_t> png = ReadWholeFile(sheet);
    ASSERT_GT(png.size(), 33u);
    const std::vector<uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(signature.begin(), signature.end(), png.begin()));
    EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
    const uint32_t width = (uint32_t{png[16]} << 24) | (uint32_t{png[17]} << 16) | (uint32_t{png[18]} << 8) | png[19];
    const uint32_t height = (uint32_t{png[20]} << 24) | (uint32_t{png[21]} << 16) | (uint32_t{png[22]} << 8) | png[23];
    // Wide enough for the halved floor, the enlarged ball sheet and the scene side by side.
    EXPECT_GE(width, 400u + 320u + 400u);
    EXPECT_GE(height, 300u);
    // Every pixel stored, so the file is at least three bytes per pixel.
    EXPECT_GE(png.size(), static_cast<size_t>(width) * height * 3);
}
