#include "runtime/random.h"

#include <bit>

#include "runtime/clock.h"

RandomState randomState;

namespace {

struct StepResult {
    uint32_t y;
    uint32_t z;
};

StepResult RandomStep(RandomState& s) {
    uint32_t z = std::rotl(s.buffer[s.p1][0], 19) + s.buffer[s.p2][0];
    uint32_t y = std::rotl(s.buffer[s.p1][1], 27) + s.buffer[s.p2][1];
    s.buffer[s.p1][0] = y;
    s.buffer[s.p1][1] = z;
    s.p1 = s.p1 == 0 ? 16 : s.p1 - 1;
    s.p2 = s.p2 == 0 ? 16 : s.p2 - 1;
    return {y, z};
}

}  // namespace

void RandomSeedWith(uint32_t seed) {
    randomState.seed = seed;
    uint32_t s = seed;
    for (auto& entry : randomState.buffer) {
        for (uint32_t& word : entry) {
            s = s * 2891336453u + 1u;
            word = s;
        }
    }
    randomState.p1 = 0;
    randomState.p2 = 10;
    for (int i = 0; i < 31; ++i) RandomStep(randomState);
}

void RandomSeed() {
    RandomSeedWith(TickMs());
}

int32_t RandomInt(int32_t n) {
    StepResult r = RandomStep(randomState);
    if (n < 0) return INT32_MIN;
    // floor((z * 2^32 + y) * (n + 1) / 2^64) in exact integer arithmetic.
    uint64_t range = static_cast<uint64_t>(n) + 1u;
    uint64_t low = static_cast<uint64_t>(r.y) * range;
    uint64_t high = static_cast<uint64_t>(r.z) * range + (low >> 32);
    return static_cast<int32_t>(high >> 32);
}
