// The object list's cursor, the random generator's sequences and the conversions, by readings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "runtime/errorbox.h"
#include "runtime/format.h"
#include "runtime/list.h"
#include "runtime/pages.h"
#include "runtime/random.h"

// Scripts: +k adds k, r resets, n steps on (noting the id visited, or -), d deletes; then the ids
// forward and backward, the visits, the current id. An add goes after the current one (or in front);
// at the end a step stays; a delete moves back, or from the first on to the next, left unvisited.
TEST(ObjectList, CursorSemantics) {
    const char* const cases[][2] = {
        {"", "   -"}, {"nd", "  - -"}, {"+1+2+3", "123 321  3"}, {"+1+2+3r+0", "0123 3210  0"},
        {"+1+2+3rnn+9", "1293 3921 12 9"}, {"+1+2+3rnnnnn", "123 321 123-- 3"}, {"+1+2+3rnnd", "13 31 12 1"},
        {"+1+2+3rnnnd", "12 21 123 2"}, {"+1+2+3rnd", "23 32 1 2"}, {"+1rnd", "  1 -"}, {"+1+2+3rndn", "23 32 13 3"},
    };
    for (const auto& [script, result] : cases) {
        ObjectList<char> list;
        std::string s = script, visits, ids, backward;
        for (size_t i = 0; i < s.size(); ++i) {
            if (s[i] == '+') *ListAdd(list) = s[++i];
            if (s[i] == 'n') visits += ListNext(list) ? *ListCurrent(list) : '-';
            if (s[i] == 'r') ListReset(list);
            if (s[i] == 'd') ListDeleteCurrent(list);
        }
        for (auto* e = list.first; e; e = e->next) ids += e->record;
        for (auto* e = list.last; e; e = e->prev) backward += e->record;
        EXPECT_EQ(ids + " " + backward + " " + visits + " " + (ListCurrent(list) ? *ListCurrent(list) : '-'), result);
    }
}

// Seed, range, draws; a large range shows every bit of the product.
TEST(Random, KnownSequences) {
    struct Case { uint32_t seed; int32_t range; std::vector<int32_t> draws; };
    const Case cases[] = {
        {0, 100, {55, 79, 66, 38, 23, 63, 64, 42}}, {1, 100, {72, 18, 61, 92, 0, 12, 51, 29}},
        {0, 2147483646, {1170769584, 1683484736, 1418143767, 813114335, 507097645, 1342109074, 1369352013, 904148956}},
    };
    for (const Case& c : cases) {
        RandomSeedWith(c.seed);
        for (int32_t draw : c.draws) EXPECT_EQ(RandomInt(c.range), draw) << c.seed << " " << c.range;
    }
    RandomSeedWith(0);  // empty and negative ranges still take their step
    EXPECT_EQ(std::vector({RandomInt(0), RandomInt(-1), RandomInt(100)}), std::vector({0, INT32_MIN, 66}));
}

TEST(Format, DecimalAndTruncation) {
    EXPECT_EQ(FormatDecimal(0) + " " + FormatDecimal(-5) + " " + FormatDecimal(1000) + " " + FormatDecimal(INT32_MAX) +
                  " " + FormatDecimal(INT32_MIN), "0 -5 1000 2147483647 -2147483648");
    // Toward zero; NaN and all outside int32 give -2^31.
    EXPECT_EQ(std::vector<int32_t>({TruncToInt(-2.9f), TruncToInt(2147483520.0f), TruncToInt(-2147483648.0f),
                                    TruncToInt(2147483648.0f), TruncToInt(std::numeric_limits<float>::quiet_NaN())}),
              std::vector<int32_t>({-2, 2147483520, INT32_MIN, INT32_MIN, INT32_MIN}));
}

// Blocks come zeroed; sizes whose rounding would wrap are refused.
TEST(Pages, ZeroedBlocksAndSizesTooLargeToMap) {
    for (size_t bytes : {size_t{1}, size_t{3} << 20}) {
        auto* block = static_cast<uint8_t*>(PagesMap(bytes));
        EXPECT_TRUE(block && std::count(block, block + bytes, 0) == long(bytes)) << bytes;
        PagesUnmap(block, bytes);
    }
    for (size_t bytes : {SIZE_MAX, SIZE_MAX - (size_t{2} << 20) + 2, SIZE_MAX / 2 + 1}) EXPECT_EQ(PagesMap(bytes), nullptr) << bytes;
}

#ifndef _WIN32  // Windows always has a desktop to show it on
// Without a display the box cannot show: 0, and the line on standard error all the same.
TEST(ErrorBox, WithoutADisplayItIsALineAndZero) {
    unsetenv("DISPLAY"), unsetenv("WAYLAND_DISPLAY"), testing::internal::CaptureStderr();
    EXPECT_EQ(ErrorBox("Varnok Dreel", "Sprite"), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Varnok Dreel: Sprite\n");
}
#endif
