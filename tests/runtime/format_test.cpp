#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>

#include "runtime/clock.h"
#include "runtime/format.h"

namespace {

TEST(FormatDecimal, WritesLikePercentLd) {
    EXPECT_EQ(FormatDecimal(0), "0");
    EXPECT_EQ(FormatDecimal(-5), "-5");
    EXPECT_EQ(FormatDecimal(1000), "1000");
    EXPECT_EQ(FormatDecimal(INT32_MAX), "2147483647");
    EXPECT_EQ(FormatDecimal(INT32_MIN), "-2147483648");
}

TEST(TruncToInt, DropsTheFractionTowardZero) {
    EXPECT_EQ(TruncToInt(2.9f), 2);
    EXPECT_EQ(TruncToInt(-2.9f), -2);
    EXPECT_EQ(TruncToInt(-0.5f), 0);
    std::fesetround(FE_UPWARD);
    EXPECT_EQ(TruncToInt(2.1f), 2);  // whatever rounding mode is in force
    std::fesetround(FE_TONEAREST);
}

TEST(TruncToInt, NanAndOutOfRangeGiveMinimum) {
    EXPECT_EQ(TruncToInt(std::numeric_limits<float>::quiet_NaN()), INT32_MIN);
    EXPECT_EQ(TruncToInt(std::numeric_limits<float>::infinity()), INT32_MIN);
    EXPECT_EQ(TruncToInt(-std::numeric_limits<float>::infinity()), INT32_MIN);
    EXPECT_EQ(TruncToInt(2147483648.0f), INT32_MIN);
    EXPECT_EQ(TruncToInt(3e9f), INT32_MIN);
    EXPECT_EQ(TruncToInt(-2147483648.0f), INT32_MIN);  // in range, and the minimum itself
    EXPECT_EQ(TruncToInt(2147483520.0f), 2147483520);  // largest float below 2^31
}

TEST(Clock, ComparisonIsWrapSafe) {
    EXPECT_TRUE(ClockAfter(1, 0));
    EXPECT_FALSE(ClockAfter(0, 0));
    EXPECT_TRUE(ClockAfter(0x80000005u, 0x7FFFFFF0u));  // across 2^31
    EXPECT_TRUE(ClockAfter(3u, 0xFFFFFFF0u));           // across 2^32
    EXPECT_FALSE(ClockAfter(0xFFFFFFF0u, 3u));
}

}  // namespace
