// Every data file in turn replaced by a truncated copy, an empty file and random bytes:
// the game must start, play 200 frames with that picture or sound missing, and end
// normally. Runs the real game through the replay tool, one process per case.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<char> ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& p, const std::vector<char>& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

int CountLines(const fs::path& p) {
    std::ifstream in(p);
    int n = 0;
    for (std::string line; std::getline(in, line);) ++n;
    return n;
}

enum class Damage { Truncated, Empty, RandomBytes };

std::vector<char> Broken(const std::vector<char>& good, Damage how, unsigned seed) {
    switch (how) {
        case Damage::Truncated: return {good.begin(), good.begin() + static_cast<long>(good.size() / 2)};
        case Damage::Empty: return {};
        case Damage::RandomBytes: {
            std::vector<char> out(good.size() > 0 ? good.size() : 4096);
            uint32_t s = seed * 2654435761u + 1u;
            for (char& c : out) {
                s = s * 1664525u + 1013904223u;
                c = static_cast<char>(s >> 24);
            }
            return out;
        }
    }
    return {};
}

class BrokenData : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("dreel-broken-" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "data");
        for (const auto& e : fs::directory_iterator(DREEL_DATA_DIR))
            if (e.is_regular_file()) fs::copy_file(e.path(), dir_ / "data" / e.path().filename());
        // Fire, turn and thrust so that every picture is drawn and the sounds are played.
        std::ofstream script(dir_ / "script.txt");
        for (int f = 0; f < 200; ++f) script << (f % 40) - 20 << " 3 " << (f % 50 == 0 ? 1 : 0) << " 1 32\n";
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs 200 frames; returns the exit code and the number of trace lines.
    std::pair<int, int> Replay() {
        fs::path trace = dir_ / "trace.jsonl";
        fs::remove(trace);
        std::string cmd = std::string("'") + DREEL_REPLAY + "' --seed 5 --frames 200 --data '" +
                          (dir_ / "data").string() + "' --script '" + (dir_ / "script.txt").string() +
                          "' --trace '" + trace.string() + "' 2>'" + (dir_ / "stderr.txt").string() + "'";
        int status = std::system(cmd.c_str());
        int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return {code, CountLines(trace)};
    }

    fs::path dir_;
};

TEST_F(BrokenData, EveryFileTruncatedEmptyOrRandomStillPlays) {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(dir_ / "data")) files.push_back(e.path());
    ASSERT_EQ(files.size(), 22u) << "the data folder should hold the game's 22 files";
    unsigned seed = 1;
    for (const fs::path& file : files) {
        const std::vector<char> good = ReadAll(file);
        for (Damage how : {Damage::Truncated, Damage::Empty, Damage::RandomBytes}) {
            WriteAll(file, Broken(good, how, seed++));
            auto [code, lines] = Replay();
            const char* what = how == Damage::Truncated ? "truncated" : how == Damage::Empty ? "empty" : "random";
            EXPECT_EQ(code, 0) << file.filename() << " " << what;
            EXPECT_EQ(lines, 201) << file.filename() << " " << what;  // frame 0 and 200 frames
        }
        WriteAll(file, good);
    }
}

}  // namespace
