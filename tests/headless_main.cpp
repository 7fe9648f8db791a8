// The test main for suites that start the multimedia layer: SDL's dummy video and audio
// drivers unless the caller chose others, so the tests need no display or sound card.
#include <gtest/gtest.h>

#include "test_support.h"

int main(int argc, char** argv) {
    support::UseDummyDrivers();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
