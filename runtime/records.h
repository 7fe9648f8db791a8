// The player's best results: the totals of every life played and the best life by
// kills, kept in records.txt in the state folder (user_folders.h) in the settings format
// (settings_file.h):
//
//   # Dreel records
//   format = 1
//   lives = 12
//   kills = 120
//   shots = 300
//   seconds = 3720
//   best-kills = 23
//   best-shots = 41
//
// Counts are 64-bit and stop at their largest value instead of wrapping. A bad value in
// the file is read as 0 and named on standard error; the good ones are kept. Depends on
// runtime/settings_file.h.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "runtime/settings_file.h"

struct Records {
    int64_t lives = 0;      // lives finished
    int64_t kills = 0;      // in all of them
    int64_t shots = 0;      // fired in all of them
    int64_t seconds = 0;    // played in all of them
    int64_t bestKills = 0;  // the best life (most kills, then fewest shots): its kills
    int64_t bestShots = 0;  // and its shots
};

// The title line of records.txt, and its keys in the order written.
inline constexpr char kRecordsTitle[] = "Dreel records";
std::span<const SettingRule> RecordRules();

// Counts a finished life; negative counts are taken as 0. The life becomes the best when
// it has more kills than the best so far, or as many with fewer shots, or is the first.
void AddLife(Records* records, int64_t kills, int64_t shots, int64_t seconds);

// For `dreel --stats` and the pause screen, plain ASCII lines each ending in '\n':
//   Best life: 23 kills, 41 shots, 0.56 hits per shot
//   All lives: 12 lives, 120 kills, 300 shots, 1 h 02 min played
// Hits per shot is kills / shots rounded to two places, "-" for no shots; the time is
// "45 s", "12 min 05 s" or "1 h 02 min". With no life yet: "No lives played yet.".
std::string RecordsText(const Records& records);

// Between the records and their file's typed settings (RecordRules order).
Records RecordsOf(const Settings& settings);
void PutRecords(Settings* settings, const Records& records);
