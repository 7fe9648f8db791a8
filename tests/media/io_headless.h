// Runs the input and sound tests on SDL's dummy drivers unless the caller chose others:
// no display and no sound card needed, whoever starts the program.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

class HeadlessDrivers : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
    }
};

inline ::testing::Environment* const kHeadlessDrivers = ::testing::AddGlobalTestEnvironment(new HeadlessDrivers);
