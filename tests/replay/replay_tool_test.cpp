// The replay tool: its script parser, options and trace text as units, the PNG writer,
// and the tool as a process, whose trace and picture must be the game's own.
#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <filesystem>

#include "game/formats/script.h"
#include "game/formats/trace.h"
#include "game/state.h"
#include "game_run.h"
#include "media/screen.h"
#include "test_support.h"
#include "tools/common/png_writer.h"
#include "tools/replay/options.h"

namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(ReplayScript, FieldsCommentsBlankLinesMissingFieldsAndMalformedLines) {
    const ScriptResult r = ParseScript("# heading\n\n5 -3 1 5 17,30\n \t\n7 8# no space needed\r\n"
                                       "-1048576 1048576 -2147483648 7 -\n9");
    const std::vector<ScriptFrame> want = {
        {5, -3, 1, 5, {17, 30}}, {7, 8, 0, 0, {}}, {-kMouseMoveLimit, kMouseMoveLimit, INT32_MIN, 7, {}}, {9, 0, 0, 0, {}}};
    EXPECT_EQ(r.frames, want) << r.error;
    const InputFrame in = ToInputFrame(want[0]);
    EXPECT_TRUE(in.dx == 5 && in.dy == -3 && in.wheel == 1 && in.buttons[0] && !in.buttons[1] && in.buttons[2]);
    EXPECT_TRUE(std::count(in.keys, in.keys + 256, 1) == 2 && in.keys[17] && in.keys[30]);
    EXPECT_TRUE(ParseScript("# only a comment\n\n").ok && ParseScript("").frames.empty());
    // A malformed line: its number, counting every line, and what is wrong with it.
    const struct { const char* text; int32_t line; const char* mentions; } cases[] = {
        {"x\n", 1, "dx"}, {"1048577\n", 1, "dx field '1048577' (expected a decimal integer from -1048576 to 1048576)"},
        {"0 -1048577\n", 1, "dy"}, {"2147483600 0\n", 1, "dx"}, {"0 0 2147483648\n", 1, "wheel"}, {"0 0\n\n# note\n1 2 3 4 5 6\n", 4, "too many"}, {"1\n2\n3 2147483648\n", 3, "dy"},
        {"0 0 +1\n", 1, "wheel"}, {"0 0 0 8\n", 1, "buttons"}, {"0 0 0 -1\n", 1, "buttons"}, {"1.5\n", 1, "dx"},
        {"0 0 0 0 256\n", 1, "'256'"}, {"0 0 0 0 0\n", 1, "keys"}, {"0 0 0 0 1,,2\n", 1, "keys"},
        {"0 0 0 0 17,\n", 1, "keys"}, {"0 0 0 0 --\n", 1, "keys"}};
    for (const auto& c : cases) {
        const ScriptResult r = ParseScript(c.text);
        EXPECT_TRUE(!r.ok && r.frames.empty() && r.errorLine == c.line && Has(r.error, c.mentions)) << r.error;
    }
}

OptionsResult Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "dreel-replay");
    return ParseOptions(static_cast<int>(args.size()), args.data(), "/build/data");
}

TEST(ReplayOptions, DefaultsEveryOptionAndRefusals) {
    const ReplayOptions d = Parse({}).options;
    EXPECT_TRUE(d.seed == 0 && !d.seedGiven && d.scriptPath.empty() && !d.framesGiven && d.tracePath.empty() && d.pngs.empty() &&
                d.dataDir == "/build/data" && !d.help);
    const OptionsResult r = Parse({"--seed", "4294967295", "--script", "-", "--frames", "0", "--trace", "t", "--png",
                                   "12:a.png", "--png", "1:b:c.png", "--data", "/d", "-h"});
    const ReplayOptions& o = r.options;
    ASSERT_TRUE(r.ok && o.pngs.size() == 2) << r.error;
    EXPECT_TRUE(o.seed == 4294967295u && o.seedGiven && o.scriptPath == "-" && o.framesGiven && o.frames == 0 &&
                o.tracePath == "t" && o.dataDir == "/d" && o.help && Parse({"--help"}).options.help);
    EXPECT_TRUE(o.pngs[0].frame == 12 && o.pngs[0].path == "a.png" && o.pngs[1].frame == 1 &&
                o.pngs[1].path == "b:c.png");
    EXPECT_EQ(Parse({"--tables", "t.bin"}).options.tablesPath, "t.bin");
    const std::vector<std::vector<const char*>> refused = {
        {"--seed"}, {"--seed", "-1"}, {"--seed", "4294967296"}, {"--seed", "12x"}, {"--frames", "-3"},
        {"--frames", "2147483648"}, {"--png", "0:a.png"}, {"--png", "a.png"}, {"--png", "3:"}, {"--trace", ""},
        {"stray"}, {"--seed", "1", "--seed", "2"}, {"--tables", "a", "--tables", "b"}};
    for (const auto& args : refused) {
        const OptionsResult bad = Parse(args);
        EXPECT_TRUE(!bad.ok && !bad.error.empty() && !Has(bad.error, "\n")) << args[0] << " (" << args.size() << ")";
    }
}

TEST(ReplayTrace, EveryFieldInItsPlaceAndNoSoundsAtFrameZero) {
    ResetGameState();
    int32_t* fields[] = {&game.playerPos.x,  &game.playerPos.y,  &game.playerVel.x,   &game.playerVel.y,
                         &game.playerAngle,  &game.playerDamage, &game.playerFront.x, &game.playerFront.y,
                         &game.playerRear.x, &game.playerRear.y, &game.gunSide,       &game.fireCooldown,
                         &game.killCount,    &game.shotsFired,   &game.explosionSoundIndex};
    for (int32_t i = 0; i < 15; ++i) *fields[i] = i * 11 - 20;
    *ListAdd(game.enemyList) = {10, 20, -3, 4, 2};
    *ListAdd(game.enemyList) = {7840, 0, 0, 0, 0};
    *ListAdd(game.shotList) = {4140, 3040, 60, 0, 1};
    *ListAdd(game.stainList) = {-2, 583};
    *ListAdd(game.smokeList) = {4080, 3080, -10, 10, 31};
    *ListAdd(game.puffList) = {1, 2, 3, 4, 5};
    *ListAdd(game.damageFlashList) = {0, 0, 3599, 34};
    game.lastPlayedSounds[1] = 8;
    game.lastPlayedCount = 2;
    std::string text = "before\n";
    AppendTraceLine(&text, 17, game);
    AppendTraceLine(&text, 0, game);
    ResetGameState();
    const std::string state =
        "\"player\": [-20, -9, 2, 13, 24, 35, 46, 57, 68, 79, 90, 101], \"kills\": 112, \"shotsFired\": 123, "
        "\"explosion\": 134, \"enemies\": [[10, 20, -3, 4, 2], [7840, 0, 0, 0, 0]], \"shots\": "
        "[[4140, 3040, 60, 0, 1]], \"stains\": [[-2, 583]], \"smoke\": [[4080, 3080, -10, 10, 31]], \"puffs\": "
        "[[1, 2, 3, 4, 5]], \"flashes\": [[3599, 34]], \"sounds\": ";
    EXPECT_EQ(text, "before\n{\"frame\": 17, " + state + "[0, 8]}\n{\"frame\": 0, " + state + "[]}\n");
}

TEST(PngWriter, LibpngReadsBackThePixelsAndBadArgumentsAreRefused) {
    const uint32_t pixels[6] = {0x000000, 0xFFFFFF, 0x123456, 0xFF0000, 0x00FF00, 0x0000FF};
    std::vector<uint8_t> png;
    std::string error;
    ASSERT_TRUE(EncodePng(3, 2, pixels, &png, &error)) << error;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size()));
    EXPECT_TRUE(image.width == 3 && image.height == 2 && image.format == PNG_FORMAT_RGB);
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    EXPECT_EQ(rgb, (std::vector<uint8_t>{0, 0, 0, 255, 255, 255, 0x12, 0x34, 0x56, 255, 0, 0, 0, 255, 0, 0, 0, 255}));
    support::TempFolder dir;
    ASSERT_TRUE(WritePng((dir / "p.png").c_str(), 3, 2, pixels, &error)) << error;
    EXPECT_EQ(support::ReadBytes(dir / "p.png"), png);
    for (auto [width, height, from] :
         {std::tuple{0, 1, pixels}, {1, -3, pixels}, {1, 1, nullptr}, {99999, 99999, pixels}, {1000001, 1, pixels}})
        EXPECT_FALSE(EncodePng(width, height, from, &png, &error) || std::exchange(error, "").empty()) << width;
    EXPECT_FALSE(WritePng((dir / "none/p.png").c_str(), 3, 2, pixels, &error) || error.empty());
}

support::ProcessResult Tool(std::vector<std::string> args, const std::string& stdinText = "") {
    args.insert(args.begin(), DREEL_REPLAY_EXE);
    support::RunOptions options;
    options.stdinText = stdinText;
    return support::RunProcess(args, options);
}

// One line on standard error each; 2 for what the user gave wrong, 1 for an output lost.
TEST(ReplayTool, Refusals) {
    support::TempFolder dir;
    support::WriteText(dir / "bad.txt", "0 0\n# fine so far\n\n0 0 0 9\n");
    support::WriteText(dir / "later.rec", "# dreel-recording 2 seed=1\n0 0\n");
    std::filesystem::resize_file((support::WriteText(dir / "huge.rec", ""), dir / "huge.rec"), 33 << 20);  // sparse
    const struct { std::vector<std::string> args; int exitCode; std::string mentions; } cases[] = {
        {{"--bogus"}, 2, "--bogus"}, {{"--seed", "x"}, 2, "--seed"}, {{"--data", dir / "none"}, 2, "none"},
        {{"--script", dir / "missing.txt"}, 2, "missing.txt"}, {{"--trace", dir / "none/t.jsonl"}, 2, "t.jsonl"},
        {{"--script", dir / "bad.txt"}, 2, "bad.txt:4: bad buttons"},
        {{"--script", dir / "later.rec"}, 2, "later.rec:1: recording format 2 is newer"},
        {{"--script", dir / "huge.rec"}, 2, "huge.rec: larger than 32 MiB"},
        {{"--script", dir.path.string()}, 2, "it is a folder"},
        {{"--frames", "2", "--png", "2:" + dir / "none/x.png"}, 1, "x.png"},
        {{"--frames", "3", "--png", "5:" + dir / "late.png"}, 1, "frame 5 was never reached"},
        {{"--tables", dir / "none/t.bin"}, 2, "t.bin"}};
    for (const auto& c : cases) {
        const support::ProcessResult r = Tool(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0] << ": " << r.err;
        EXPECT_TRUE(std::count(r.err.begin(), r.err.end(), '\n') == 1 && Has(r.err, c.mentions)) << r.err;
    }
}

// Script from standard input, trace to standard output; Escape ends the run after its frame.
TEST(ReplayTool, TraceAndPictureAreTheGameRunInProcessUntilEscape) {
    const std::string script = "0 5\n3 -2 1 0 32\n0 0 0 2 17,30\n-7 9 -1\n0 0 0 1 1\n0 0 0 1\n";
    support::TempFolder dir;
    const support::ProcessResult r =
        Tool({"--seed", "77", "--frames", "9", "--script", "-", "--trace", "-", "--png", "5:" + dir / "5.png"}, script);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_TRUE(support::StartGame(77));
    std::string trace;
    AppendTraceLine(&trace, 0, game);
    const std::vector<ScriptFrame> frames = ParseScript(script).frames;
    for (int32_t f = 1; f <= 5; ++f) {
        support::StepGame(ToInputFrame(frames[f - 1]));
        AppendTraceLine(&trace, f, game);
    }
    std::vector<uint8_t> png;
    const Picture& screen = *ScreenBackBuffer();
    EXPECT_TRUE(EncodePng(screen.width, screen.height, screen.pixels.data(), &png, nullptr));
    support::EndGame();
    EXPECT_TRUE(trace.ends_with("\"sounds\": [0]}\n")) << "the shot of the last frame";
    EXPECT_EQ(r.out, trace);
    EXPECT_EQ(support::ReadBytes(dir / "5.png"), png);
}

// Both tables whole, little-endian, distance first: entries the table tests know by heart.
TEST(ReplayTool, TablesAreWrittenWhole) {
    support::TempFolder dir;
    ASSERT_EQ(Tool({"--tables", dir / "t.bin"}).exitCode, 0);
    const std::vector<uint8_t> bytes = support::ReadBytes(dir / "t.bin");
    ASSERT_EQ(bytes.size(), 2u * 2001 * 1601 * 4);
    const auto entry = [&](int table, int dx, int dy) {
        const size_t at = (size_t(table) * 2001 * 1601 + size_t(dx + 1000) * 1601 + size_t(dy + 800)) * 4;
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24;
    };
    EXPECT_EQ((std::array{entry(0, -3, 4), entry(1, -3, 4), entry(1, 714, 709), entry(0, -1000, -800)}),
              (std::array{5, 1269, 447, 1281}));
}

}  // namespace
