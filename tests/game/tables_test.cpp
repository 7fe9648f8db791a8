// The direction and distance tables and the two angle conversions: the values that catch
// rounding slips, the storage layout, the fill's life cycle, and the whole of both tables
// against a plain fill written from the definition.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <vector>

#include "game/tables.h"

namespace {

class TablesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(FillTables()); }
};

struct Offset {
    int32_t dx;
    int32_t dy;
    int32_t expected;
};

TEST_F(TablesTest, DirectionsOnTheAxesAndDiagonals) {
    const Offset cases[] = {
        {1000, 0, 0},      {1, 0, 0},         {0, 800, 900},     {0, 1, 900},
        {-1000, 0, 1800},  {-1, 0, 1800},     {0, -800, 2700},   {0, -1, 2700},
        {1, 1, 450},       {35, 35, 450},     {-1, -1, 2250},    {3, 4, 531},
        {-3, 4, 1269},     {1000, 800, 386},  {-1000, 800, 1414}, {-1000, -800, 2186},
        {1000, -800, 3214}, {0, 0, 0},
    };
    for (const Offset& c : cases) {
        EXPECT_EQ(directionTable(c.dx, c.dy), c.expected) << "(" << c.dx << ", " << c.dy << ")";
    }
}

TEST_F(TablesTest, DirectionsThatCatchRoundingSlips) {
    // Quotient kept in double instead of rounded to float.
    EXPECT_EQ(directionTable(714, 709), 447);
    // An arc tangent that is not correctly rounded to float.
    EXPECT_EQ(directionTable(152, 257), 594);
    EXPECT_EQ(directionTable(304, 514), 594);
    EXPECT_EQ(directionTable(456, 771), 594);
    // Just above the positive x axis the base angle truncates to 0: 3600, not 0.
    EXPECT_EQ(directionTable(1000, -1), 3600);
}

TEST_F(TablesTest, Distances) {
    const Offset cases[] = {
        {0, 0, 0},      {3, 4, 5},         {1, 1, 1},           {1, 2, 2},
        {2, 3, 4},      {1000, 0, 1000},   {1000, 800, 1281},   {-1000, -800, 1281},
        {-3, -4, 5},    {0, -800, 800},    {-1000, 0, 1000},
    };
    for (const Offset& c : cases) {
        EXPECT_EQ(distanceTable(c.dx, c.dy), c.expected) << "(" << c.dx << ", " << c.dy << ")";
    }
}

TEST_F(TablesTest, RowsByDxOneAfterAnotherColumnsByDy) {
    // Raw positions, independent of the index helper: (dx + 1000) x 1601 + (dy + 800).
    EXPECT_EQ(kTableEntries, 3203601u);
    EXPECT_EQ(tables.distance[0], 1281);            // (-1000, -800)
    EXPECT_EQ(tables.direction[0], 2186);
    EXPECT_EQ(tables.direction[800], 1800);         // (-1000, 0)
    EXPECT_EQ(tables.direction[1600], 1414);        // (-1000, 800)
    EXPECT_EQ(tables.distance[1601 + 800], 999);    // (-999, 0)
    EXPECT_EQ(tables.direction[1000 * 1601 + 1600], 900);  // (0, 800)
    EXPECT_EQ(tables.distance[kTableEntries - 1], 1281);   // (1000, 800)
    EXPECT_EQ(tables.direction[kTableEntries - 1], 386);
}

TEST(AngleConversions, RadToTenthsTruncatesInDouble) {
    EXPECT_EQ(RadToTenths(std::numbers::pi_v<float>), 1800);
    EXPECT_EQ(RadToTenths(kAngleConstant / 2), 900);
    EXPECT_EQ(RadToTenths(0.0f), 0);
    EXPECT_EQ(RadToTenths(1.0f), 572);  // 572.97: truncated, not rounded
    EXPECT_EQ(RadToTenths(0.5f), 286);  // 286.49
}

TEST(AngleConversions, TenthsToRadIsFloatStepByStep) {
    // Worked once in double and rounded, these would be 1.5707499980926514 and 6.283f.
    EXPECT_EQ(static_cast<double>(TenthsToRad(900)), 1.5707498788833618);
    EXPECT_EQ(static_cast<double>(TenthsToRad(3600)), 6.282999515533447);
    EXPECT_NEAR(TenthsToRad(3600), 6.283, 1e-6);
    EXPECT_EQ(static_cast<double>(TenthsToRad(-900)), -1.5707498788833618);
    EXPECT_EQ(TenthsToRad(0), 0.0f);
}

TEST(TablesLifeCycle, FillIsANoOpWhenFilledAndFreeAllowsANewFill) {
    ASSERT_TRUE(FillTables());
    const int32_t* distance = tables.distance;
    const int32_t* direction = tables.direction;
    const std::vector<int32_t> firstDistance(distance, distance + kTableEntries);
    const std::vector<int32_t> firstDirection(direction, direction + kTableEntries);
    ASSERT_TRUE(FillTables());
    EXPECT_EQ(tables.distance, distance);
    EXPECT_EQ(tables.direction, direction);

    FreeTables();
    EXPECT_EQ(tables.distance, nullptr);
    EXPECT_EQ(tables.direction, nullptr);
    FreeTables();  // freeing twice is harmless
    EXPECT_EQ(tables.distance, nullptr);

    ASSERT_TRUE(FillTables());
    ASSERT_NE(tables.distance, nullptr);
    ASSERT_NE(tables.direction, nullptr);
    EXPECT_EQ(directionTable(714, 709), 447);
    EXPECT_EQ(distanceTable(1000, -800), 1281);
    EXPECT_TRUE(std::equal(firstDistance.begin(), firstDistance.end(), tables.distance));
    EXPECT_TRUE(std::equal(firstDirection.begin(), firstDirection.end(), tables.direction));
}

// The plain double loop over every entry, straight from the definition.
struct PlainTables {
    std::vector<int32_t> distance = std::vector<int32_t>(kTableEntries);
    std::vector<int32_t> direction = std::vector<int32_t>(kTableEntries);
};

int32_t PlainBaseAngle(int32_t dx, int32_t dy) {
    if (dx == 0) return dy == 0 ? 0 : 900;
    const float q = static_cast<float>(std::abs(dy)) / static_cast<float>(std::abs(dx));
    const float angle = static_cast<float>(std::atan(static_cast<double>(q)));
    const double tenths = static_cast<double>(angle) * 180.0 / static_cast<double>(3.1415f) * 10.0;
    return static_cast<int32_t>(tenths);
}

void FillPlainly(PlainTables& t) {
    size_t at = 0;
    for (int32_t dx = -1000; dx <= 1000; ++dx) {
        for (int32_t dy = -800; dy <= 800; ++dy, ++at) {
            const double length = std::sqrt(static_cast<double>(dx * dx + dy * dy));
            t.distance[at] = static_cast<int32_t>(std::lround(length));
            const int32_t base = PlainBaseAngle(dx, dy);
            if (dx < 0 && dy >= 0) t.direction[at] = 1800 - base;
            else if (dx < 0 && dy < 0) t.direction[at] = 1800 + base;
            else if (dx >= 0 && dy < 0) t.direction[at] = 3600 - base;
            else t.direction[at] = base;
        }
    }
}

// Counts differing entries and names the first, so a fault shows where it is.
void ExpectSameTable(const int32_t* fast, const std::vector<int32_t>& plain, const char* name) {
    size_t differing = 0, first = 0;
    for (size_t i = 0; i < kTableEntries; ++i) {
        if (fast[i] == plain[i]) continue;
        if (differing++ == 0) first = i;
    }
    EXPECT_EQ(differing, 0u) << name << " first differs at dx = "
                             << static_cast<int>(first / 1601) - 1000
                             << ", dy = " << static_cast<int>(first % 1601) - 800 << ": "
                             << fast[first] << " instead of " << plain[first];
}

TEST_F(TablesTest, WholeTablesMatchThePlainFillEntryForEntry) {
    PlainTables plain;
    FillPlainly(plain);
    ExpectSameTable(tables.distance, plain.distance, "distanceTable");
    ExpectSameTable(tables.direction, plain.direction, "directionTable");
}

}  // namespace
