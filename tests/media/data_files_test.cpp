// Finding the data files: the search order, the refusal of what is no regular file, and the
// one line that names a file found nowhere.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "media/data_files.h"
#include "test_support.h"

TEST(DataSearch, TheFirstFolderHoldingTheNameWinsInTheGamesOrder) {
    const DataSearchInputs build{"/x/build/game/", {"../data", "../share/dreel"}, "/opt/share:/usr/share/", {}};
    const DataSearchInputs noBase{"", {"../data"}, "", {}};
    const DataSearchInputs odd{"/g/bin", {"../share/dreel"}, ":rel/share::/usr/share", {}};
    const DataSearchInputs forced{"/x/build/game/", {"../data"}, "/usr/share", "/mine/"};
    const DataSearchInputs noXdg{"/x/build/game/", {"../data"}, "/usr/share", {}, false};
    const struct { DataSearchInputs in; std::set<std::string> exists; std::optional<std::string> chosen; } cases[] = {
        {build, {"a.bmp", "/x/build/data/a.bmp"}, "a.bmp"},  // the current folder first
        {build, {"/x/build/data/a.bmp", "/x/build/share/dreel/a.bmp"}, "/x/build/data/a.bmp"},
        {build, {"/x/build/share/dreel/a.bmp", "/opt/share/dreel/a.bmp"}, "/x/build/share/dreel/a.bmp"},
        {build, {"/usr/share/dreel/a.bmp"}, "/usr/share/dreel/a.bmp"},
        {build, {"/usr/local/share/dreel/a.bmp"}, std::nullopt},  // the default only when XDG is unset or empty
        {noBase, {"/usr/local/share/dreel/a.bmp", "/usr/share/dreel/a.bmp"}, "/usr/local/share/dreel/a.bmp"},
        {odd, {"rel/share/dreel/a.bmp", "/usr/share/dreel/a.bmp"}, "/usr/share/dreel/a.bmp"},  // relative XDG entries ignored
        {odd, {"/g/share/dreel/a.bmp"}, "/g/share/dreel/a.bmp"},
        {forced, {"a.bmp", "/x/build/data/a.bmp", "/usr/share/dreel/a.bmp"}, std::nullopt},  // --data alone
        {forced, {"/mine/a.bmp"}, "/mine/a.bmp"},
        {build, {}, std::nullopt},
        {noXdg, {"/usr/share/dreel/a.bmp", "/usr/local/share/dreel/a.bmp"}, std::nullopt},
        {noXdg, {"/x/build/data/a.bmp"}, "/x/build/data/a.bmp"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> tried;
        // Windows joins with its own separator; the order is what is compared.
        const auto slashed = [](std::string p) { return std::replace(p.begin(), p.end(), '\\', '/'), p; };
        auto found = FindDataFile(DataSearchFolders(c.in), "a.bmp", [&](const std::string& p) {
            tried.push_back(slashed(p));
            return c.exists.count(tried.back()) > 0;
        });
        if (found) found = slashed(*found);
        EXPECT_EQ(found, c.chosen) << ::testing::PrintToString(tried);
    }
}

#ifndef _WIN32  // FIFOs and /dev/zero are POSIX things
TEST(DataSearch, OnlyRegularFilesUpToTheCapAreReadAndARefusalLetsTheSearchGoOn) {
    support::TempFolder first, second;
    ASSERT_EQ(mkfifo((first / "a.bmp").c_str(), 0600), 0);
    std::filesystem::create_directory(first / "b.bmp");
    ASSERT_TRUE(support::WriteText(second / "a.bmp", "second"));
    ASSERT_TRUE(support::WriteText(first / "c.bmp", ""));
    std::filesystem::resize_file(first / "c.bmp", 64 << 20);  // sparse: exactly the cap
    ASSERT_TRUE(support::WriteText(first / "d.bmp", ""));
    std::filesystem::resize_file(first / "d.bmp", (64 << 20) + 1);
    const struct { std::string path; long size; bool missing; } reads[] = {
        {first / "a.bmp", -1, false}, {"/dev/zero", -1, false}, {first / "b.bmp", -1, false},
        {first / "c.bmp", 64 << 20, false}, {first / "d.bmp", -1, false}, {second / "a.bmp", 6, false},
        {first / "none.bmp", -1, true},
    };
    for (const auto& r : reads) {
        const FileRead got = ReadWholeFile(r.path.c_str());
        EXPECT_EQ(got.bytes ? long(got.bytes->size()) : -1, r.size) << r.path;
        EXPECT_EQ(got.missing, r.missing) << r.path;
    }
    DataSearchSet({first.path.string(), second.path.string()});
    testing::internal::CaptureStderr();
    const auto a = ReadDataFile("a.bmp");
    const auto b = ReadDataFile("b.bmp");
    const std::string err = testing::internal::GetCapturedStderr();
    DataSearchReset();
    EXPECT_EQ(a ? std::string(a->begin(), a->end()) : "", "second");
    EXPECT_FALSE(b);
    EXPECT_EQ(err, "dreel: cannot find 'b.bmp' (looked in: " + first.path.string() + ", " + second.path.string() + "; " +
                       (first / "b.bmp") + ": not a regular file)\n");
}
#endif
