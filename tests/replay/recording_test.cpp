// Recordings: the header and the reader's refusals as one table, the writer against the
// reader, a file that cannot be written, and playback in the test process (the tool
// replaying the game's own recording is shown end to end and by the committed ones).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "game/formats/recording.h"
#include "game/frame_loop.h"
#include "game/playback.h"
#include "game/recorder.h"
#include "game/state.h"
#include "game_run.h"
#include "test_support.h"

namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(Recording, HeaderAndRefusals) {
    const std::string cut = "# dreel-recording 1 seed=5\n0 0 0 1\n3 3 0 0 1";
    const struct { std::string text; bool ok; uint32_t seed; uint64_t digest; int32_t line; const char* mentions; } cases[] = {
        {"# dreel-recording 1 seed=4294967295\n# game Dreel 1\n# data fnv1a64=00000000DEADbeef\n0 0\n", true,
         4294967295u, 0xDEADBEEF, 0, ""},
        {"# dreel-recording 1 seed=7\r\n# data fnv1a64=xyz\r\n1 2\r\n", true, 7, 0, 0, ""},
        {"# a plain script\n1 2", true, 0, 0, 0, ""},
        {"# dreel-recording 2 seed=1\n", false, 0, 0, 1, "format 2 is newer than this program reads (1)"},
        {"# dreel-recording 0 seed=1\n", false, 0, 0, 1, "format version '0'"},
        {"# dreel-recording\n", false, 0, 0, 1, "format version ''"},
        {"# dreel-recording 1\n", false, 0, 0, 1, "seed=N"},
        {"# dreel-recording 1 seed=1 more\n", false, 0, 0, 1, "'seed=1 more'"},
        {cut, false, 0, 0, 3, "cut short"},
        {"# dreel-recording 1 seed=5\n" + std::string(5000, '7') + "\n", false, 0, 0, 2, "longer than 4096"},
        {"1 2\n\x01\xff\t3\n", false, 0, 0, 2, "bad dx field '?\?'"},
    };
    for (const auto& c : cases) {
        const RecordingRead r = ParseRecording(c.text);
        EXPECT_EQ(r.ok, c.ok) << c.text.substr(0, 40) << ": " << r.error;
        const bool printable = std::all_of(r.error.begin(), r.error.end(), [](char ch) { return ch >= ' ' && ch <= '~'; });
        if (c.ok)
            EXPECT_TRUE(r.header.seed == c.seed && r.header.present == Has(c.text, "dreel-rec") && !r.frames.empty() &&
                        r.header.dataDigest.value_or(0) == c.digest);
        else
            EXPECT_TRUE(r.errorLine == c.line && Has(r.error, c.mentions) && r.frames.empty() && printable) << r.error;
    }
}

TEST(Recording, TheWriterWritesWhatTheReaderReadsBack) {
    InputFrame a, b;
    a.dx = -3, a.dy = 7, a.wheel = -1, a.buttons[0] = a.buttons[2] = 1, a.keys[1] = a.keys[57] = a.keys[200] = 1;
    b.dx = -kMouseMoveLimit, b.dy = kMouseMoveLimit, b.buttons[1] = 1, b.keys[0] = 1, b.keys[255] = 1;  // code 0 is no key
    std::string text = RecordingHeaderText(77, "Dreel 9", "today", 0xABC);
    for (const InputFrame& in : {InputFrame{}, a, b}) AppendScriptLine(&text, in);
    EXPECT_EQ(text, "# dreel-recording 1 seed=77\n# game Dreel 9\n# recorded today\n# data fnv1a64=0000000000000abc\n"
                    "0 0 0 0 -\n-3 7 -1 5 1,57,200\n-1048576 1048576 0 2 255\n");
    const RecordingRead r = ParseRecording(text);
    EXPECT_TRUE(r.header.seed == 77 && r.header.dataDigest == 0xABCu && r.frames.size() == 3) << r.error;
}

// Fire, turn, thrust and the wheel in turns, then Escape.
InputFrame Played(int32_t f, int32_t last) {
    InputFrame in;
    in.dx = f % 7 - 3, in.dy = f % 5, in.wheel = f % 30 == 0, in.buttons[f / 20 % 3] = f % 20 < 12;
    in.keys[support::kScanW + f / 15 % 4] = 1;  // 17, 18, 19 and 20: W and three keys the game ignores
    in.keys[support::kScanEscape] = f == last;
    return in;
}

// The game of `frames` frames recorded; what it said on standard error.
std::string Record(const std::string& recording, const std::string& trace, int32_t frames) {
    testing::internal::CaptureStderr();
    EXPECT_TRUE(support::StartGame(4242));
    RecorderOpen(recording, trace, "Dreel test");
    for (int32_t f = 1; f <= frames; ++f) RecorderBegin(), support::StepGame(Played(f, frames)), RecorderFrame();
    RecorderClose(true);
    EXPECT_GT(game.shotsFired, frames / 24);  // the first frame fires already
    support::EndGame();
    return testing::internal::GetCapturedStderr();
}

TEST(Recorder, AFileThatCannotBeWrittenIsOneLineAndTheGamePlaysOn) {
    support::TempFolder dir;
    EXPECT_EQ(Record("/dev/full", dir / "none/t.jsonl", 120),
              "dreel: cannot write the trace '" + dir / "none/t.jsonl" + "': No such file or directory; the game goes "
              "on without it\ndreel: cannot write the recording '/dev/full': No space left on device; the game goes on "
              "without it\n");
}

// Two frames into both files, read back: the header and the input, a trace line a frame. A
// start that fails removes the files the recorder made and leaves one it found as it was.
TEST(Recorder, WritesBothFilesAndAFailedStartLeavesNoneButAnOldOne) {
    support::TempFolder dir;
    EXPECT_EQ(Record(dir / "r.rec", dir / "r.jsonl", 2), "");
    const std::string recording = support::ReadText(dir / "r.rec"), trace = support::ReadText(dir / "r.jsonl");
    EXPECT_TRUE(recording.starts_with("# dreel-recording 1 seed=4242\n# game Dreel test\n# recorded ") &&
                recording.ends_with("\n-2 1 0 1 17\n-1 2 0 1 1,17\n") && std::count(recording.begin(), recording.end(), '\n') == 6)
        << recording;
    EXPECT_TRUE(trace.starts_with("{\"frame\": 0,") && Has(trace, "\n{\"frame\": 1,") && Has(trace, "\n{\"frame\": 2,") &&
                std::count(trace.begin(), trace.end(), '\n') == 3) << trace.substr(0, 80);
    ASSERT_TRUE(support::WriteText(dir / "old.rec", "older\n"));
    const auto after = [&](const std::string& recording, bool played) {
        RecorderOpen(recording, dir / "t.jsonl", "Dreel test");
        RecorderClose(played);
        std::string found;
        for (const std::string& path : {recording, dir / "t.jsonl"})
            found += (std::filesystem::exists(path) ? support::ReadText(path).substr(0, 12) : "none") + "|";
        return std::filesystem::remove(dir / "t.jsonl"), found;
    };
    EXPECT_EQ(after(dir / "new.rec", false), "none|none|");
    EXPECT_EQ(after(dir / "old.rec", false), "older\n|none|");
    EXPECT_EQ(after(dir / "new.rec", true), "# dreel-reco|{\"frame\": 0,|");
}

// The frames of the recording, then none: its Escape leaves the last picture up; data
// files other than the recording's are named once.
TEST(Playback, PlaysTheRecordingThenHoldsItsLastFrame) {
    support::TempFolder dir;
    std::string text = "# dreel-recording 1 seed=31\n# data fnv1a64=0000000000000001\n";
    for (int32_t f = 1; f <= 40; ++f) AppendScriptLine(&text, Played(f, 40));
    ASSERT_TRUE(support::WriteText(dir / "r.rec", text) && PlaybackLoad(dir / "r.rec").empty());
    ASSERT_TRUE(support::StartGame(playback.seed));
    testing::internal::CaptureStderr();
    int32_t frames = 0;
    for (int32_t pass = 0; pass < 60; ++pass)
        if (PlaybackNextFrame()) RunFramePhases(), PlaybackAfterFrame(), ++frames;
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(frames == 40 && playback.over && game.quitRequested == 0 && game.shotsFired > 1) << frames;
    support::EndGame();
    EXPECT_EQ(err, "dreel: this recording was made with other data files; it may play differently\n");
}

}  // namespace
