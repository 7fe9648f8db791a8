// The lookup tables, whole, against a plain double loop with the C library's arc tangent;
// readings; the two angle conversions; the player's sine and cosine against the C library's.
#include <cmath>
#include <numbers>

#include "game/trig.h"
#include "game_fixture.h"

// Straight from the definition: the float quotient, its arc tangent in double rounded to float,
// tenths truncated in double, then the quadrant.
static int32_t PlainDirection(int32_t dx, int32_t dy) {
    const float q = static_cast<float>(std::abs(dy)) / static_cast<float>(std::abs(dx));
    const double angle = static_cast<float>(std::atan(static_cast<double>(q)));
    const int32_t base = dx ? static_cast<int32_t>(angle * 180.0 / static_cast<double>(3.1415f) * 10.0) : dy ? 900 : 0;
    if (dx < 0) return dy >= 0 ? 1800 - base : 1800 + base;
    return dy < 0 ? 3600 - base : base;
}

TEST(Tables, EveryEntryMatchesAPlainFillAndReadings) {
    ASSERT_TRUE(FillTables());
    size_t wrong = 0;
    for (int32_t dx = -1000; dx <= 1000; ++dx) {
        for (int32_t dy = -800; dy <= 800; ++dy) {
            const auto length = std::lround(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
            if ((distanceTable(dx, dy) != length || directionTable(dx, dy) != PlainDirection(dx, dy)) && wrong++ < 3)
                ADD_FAILURE() << "at (" << dx << ", " << dy << ")";
        }
    }
    EXPECT_EQ(wrong, 0u);
    // Slips would show here: 448 from a double quotient, 594 moved by an unrounded atan, 573, 1.5707499980926514.
    EXPECT_EQ(V(directionTable(-3, 4), directionTable(714, 709), directionTable(152, 257), distanceTable(-3, 4)),
              V(1269, 447, 594, 5));
    EXPECT_EQ(V(RadToTenths(std::numbers::pi_v<float>), RadToTenths(1.0f), RadToTenths(0.5f)), V(1800, 572, 286));
    EXPECT_EQ(std::vector<float>({TenthsToRad(900), TenthsToRad(3600), TenthsToRad(-900)}),
              std::vector<float>({1.5707498788833618f, 6.282999515533447f, -1.5707498788833618f}));
}

// Every angle the player can have, and the barrels a quarter turn to either side.
TEST(Tables, ThePlayersSineAndCosineAreTheCLibrarysForEveryAngle) {
    int32_t wrong = 0;
    for (int32_t tenths = 0; tenths < 3600; ++tenths)
        for (const float turn : {0.0f, 1.57075f, -1.57075f}) {
            const float a = TenthsToRad(tenths) + turn;
            wrong += PlayerSin(a) != static_cast<float>(std::sin(static_cast<double>(a)));
            wrong += PlayerCos(a) != static_cast<float>(std::cos(static_cast<double>(a)));
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(std::pair(TrigAtan(-1e300), TrigAtan(1e20)), std::pair(-std::numbers::pi / 2, std::numbers::pi / 2));
}
