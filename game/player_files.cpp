#include "game/player_files.h"

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "game/state.h"
#include "media/comfort.h"
#include "media/input.h"
#include "media/screen.h"
#include "media/window.h"
#include "runtime/records.h"
#include "runtime/settings_file.h"
#include "runtime/user_folders.h"

namespace {

enum Key : size_t { kFullscreen, kScaleMode, kWindowScale, kVolume, kMute, kMouse, kPauseWhenLeft };

constexpr SettingRule kRules[] = {
    {"fullscreen", "no", SettingKind::YesNo, ""},
    {"scale-mode", "fill", SettingKind::Word, "fill|integer"},
    {"window-scale", "1", SettingKind::Whole, "1..16"},
    {"volume", "100", SettingKind::Whole, "0..100"},
    {"mute", "no", SettingKind::YesNo, ""},
    {"mouse-sensitivity", "1", SettingKind::Decimal, "0.25..4"},
    {"pause-when-left", "yes", SettingKind::YesNo, ""},
};
constexpr char kSettingsTitle[] = "Dreel settings";
constexpr int64_t kFramesPerSecond = 50;

struct PlayerFilesContext {
    UserFolders folders;           // where the files are; empty: nowhere to keep them
    Settings settings;             // as in the file, with what the player changed
    Settings records;              // the records file, typed
    bool countLives = false;       // false while a recording is watched
    int64_t lifeFrames = 0;        // frames of the life in progress
    bool lifeCounted = false;      // the ball has burst and its life was counted
};

PlayerFilesContext ctx;

std::string PathIn(const std::string& folder, const char* name) { return UserFilePath(folder, name); }

// Saves a typed file; a failure is one line, and the game goes on.
void Save(const std::string& folder, const char* name, const Settings& s, std::span<const SettingRule> rules,
          const char* title) {
    if (folder.empty()) return;
    std::string why = CreateUserFolder(folder);
    if (why.empty()) why = SaveSettings(PathIn(folder, name), s, rules, title);
    if (!why.empty()) std::fprintf(stderr, "dreel: %s\n", why.c_str());
}

void SaveSettingsNow() { Save(ctx.folders.settings, kSettingsFileName, ctx.settings, kRules, kSettingsTitle); }

void ShowRecords() {
    std::vector<std::string> lines{""};
    std::istringstream text(RecordsText(RecordsOf(ctx.records)));
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    ComfortSetPanelLines(lines);
}

void CountLife(int64_t kills, int64_t shots) {
    Records r = RecordsOf(ctx.records);
    AddLife(&r, kills, shots, ctx.lifeFrames / kFramesPerSecond);
    PutRecords(&ctx.records, r);
    Save(ctx.folders.state, kRecordsFileName, ctx.records, RecordRules(), kRecordsTitle);
    ShowRecords();
}

const SettingValue& Value(Key k) { return ctx.settings.values[k]; }

}  // namespace

void PlayerFilesStart(const CommandLine& line, bool countLives) {
    ctx = PlayerFilesContext{};
    ctx.countLives = countLives;
    ctx.folders = UserFoldersOf(PlatformFolderRule(), ProcessEnvironment());
    ctx.settings = LoadSettings(PathIn(ctx.folders.settings, kSettingsFileName), kRules);
    ctx.records = LoadSettings(PathIn(ctx.folders.state, kRecordsFileName), RecordRules());
    WindowSetStartOptions({line.fullscreen.value_or(Value(kFullscreen).whole != 0),
                           line.scale.value_or(static_cast<int32_t>(Value(kWindowScale).whole))});
    const bool integer = line.integerScale.value_or(Value(kScaleMode).whole == 1);
    ScreenSetScaleMode(integer ? ScaleMode::Integer : ScaleMode::Fill);
    MouseSetSensitivity(static_cast<int32_t>(Value(kMouse).number * kMouseSensitivityOne + 0.5));
    ComfortStart({static_cast<int32_t>(Value(kVolume).whole), Value(kMute).whole != 0, Value(kPauseWhenLeft).whole != 0});
    ShowRecords();
}

void PlayerFilesNotice() {
    bool changed = false;
    if (ComfortTakeChanged()) {
        const ComfortSettings c = ComfortCurrent();
        changed |= ChangeSetting(&ctx.settings, kRules, kVolume, std::to_string(c.volume));
        changed |= ChangeSetting(&ctx.settings, kRules, kMute, c.muted ? "yes" : "no");
    }
    if (ScreenTakeFullscreenSwitched())
        changed |= ChangeSetting(&ctx.settings, kRules, kFullscreen, ScreenFullscreen() ? "yes" : "no");
    if (changed) SaveSettingsNow();
}

void PlayerFilesAfterFrame() {
    if (!ctx.countLives) return;
    const bool burst = game.playerDamage >= 100;
    if (!burst) {
        if (ctx.lifeCounted) ctx.lifeFrames = 0, ctx.lifeCounted = false;  // a new life began
        ++ctx.lifeFrames;
    } else if (!ctx.lifeCounted) {
        CountLife(game.killCount, game.shotsFired);
        ctx.lifeCounted = true;
    }
}

void PlayerFilesEnd() {
    if (ctx.countLives && !ctx.lifeCounted && ctx.lifeFrames > 0) CountLife(game.killCount, game.shotsFired);
    ctx = PlayerFilesContext{};
}

int PrintStats() {
    const UserFolders folders = UserFoldersOf(PlatformFolderRule(), ProcessEnvironment());
    const Settings records = LoadSettings(PathIn(folders.state, kRecordsFileName), RecordRules());
    std::fputs(RecordsText(RecordsOf(records)).c_str(), stdout);
    return 0;
}
