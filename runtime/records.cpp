#include "runtime/records.h"

#include <algorithm>

namespace {

constexpr SettingRule kRules[] = {
    {"lives", "0", SettingKind::Whole, "0..9223372036854775807"},
    {"kills", "0", SettingKind::Whole, "0..9223372036854775807"},
    {"shots", "0", SettingKind::Whole, "0..9223372036854775807"},
    {"seconds", "0", SettingKind::Whole, "0..9223372036854775807"},
    {"best-kills", "0", SettingKind::Whole, "0..9223372036854775807"},
    {"best-shots", "0", SettingKind::Whole, "0..9223372036854775807"},
};

// Both at least 0; the sum stops at the largest count.
int64_t Plus(int64_t total, int64_t more) {
    total = std::max<int64_t>(total, 0), more = std::max<int64_t>(more, 0);
    return total > INT64_MAX - more ? INT64_MAX : total + more;
}

std::string Count(int64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string TwoDigits(int64_t n) {
    std::string digits = n < 10 ? "0" : "";
    return digits.append(std::to_string(n));
}

// kills / shots rounded half up to two places, in integers: beyond 2^40 shots both are
// halved until under, which changes the quotient far less than the last place shown.
std::string HitsPerShot(int64_t kills, int64_t shots) {
    if (shots <= 0) return "-";
    uint64_t k = static_cast<uint64_t>(std::max<int64_t>(kills, 0)), s = static_cast<uint64_t>(shots);
    while (s > (uint64_t{1} << 40)) k >>= 1, s >>= 1;
    uint64_t whole = k / s, hundredths = ((k % s) * 100 + s / 2) / s;
    if (hundredths == 100) ++whole, hundredths = 0;
    return std::to_string(whole) + "." + TwoDigits(static_cast<int64_t>(hundredths));
}

std::string Duration(int64_t seconds) {
    if (seconds < 60) return std::to_string(seconds) + " s";
    if (seconds < 3600) return std::to_string(seconds / 60) + " min " + TwoDigits(seconds % 60) + " s";
    return std::to_string(seconds / 3600) + " h " + TwoDigits(seconds / 60 % 60) + " min";
}

}  // namespace

std::span<const SettingRule> RecordRules() { return kRules; }

void AddLife(Records* records, int64_t kills, int64_t shots, int64_t seconds) {
    kills = std::max<int64_t>(kills, 0), shots = std::max<int64_t>(shots, 0);
    const bool best = records->lives == 0 || kills > records->bestKills ||
                      (kills == records->bestKills && shots < records->bestShots);
    records->lives = Plus(records->lives, 1);
    records->kills = Plus(records->kills, kills);
    records->shots = Plus(records->shots, shots);
    records->seconds = Plus(records->seconds, seconds);
    if (best) records->bestKills = kills, records->bestShots = shots;
}

std::string RecordsText(const Records& r) {
    if (r.lives <= 0) return "No lives played yet.\n";
    return "Best life: " + Count(r.bestKills, "kill", "kills") + ", " + Count(r.bestShots, "shot", "shots") + ", " +
           HitsPerShot(r.bestKills, r.bestShots) + " hits per shot\n" +
           "All lives: " + Count(r.lives, "life", "lives") + ", " + Count(r.kills, "kill", "kills") + ", " +
           Count(r.shots, "shot", "shots") + ", " + Duration(std::max<int64_t>(r.seconds, 0)) + " played\n";
}

Records RecordsOf(const Settings& settings) {
    const auto at = [&](size_t i) { return i < settings.values.size() ? settings.values[i].whole : 0; };
    return {at(0), at(1), at(2), at(3), at(4), at(5)};
}

void PutRecords(Settings* settings, const Records& r) {
    const int64_t counts[] = {r.lives, r.kills, r.shots, r.seconds, r.bestKills, r.bestShots};
    settings->values.resize(std::size(kRules), SettingValue{"0", 0, 0});
    for (size_t i = 0; i < std::size(kRules); ++i)
        ChangeSetting(settings, kRules, i, std::to_string(std::max<int64_t>(counts[i], 0)));
}
