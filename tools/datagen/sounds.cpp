#include "tools/datagen/sounds.h"

#include <algorithm>
#include <utility>

#include "tools/datagen/synth.h"

namespace {

using dmath::Exp;
using dmath::Rng;

// Places a mono source in the stereo field: the far ear hears it quieter and a fraction
// of a millisecond later, which the ear reads as direction.
std::vector<Track> Pan(const Track& mono, double towardRight, int32_t farDelay) {
    Track near(mono.size()), far(mono.size());
    for (size_t i = 0; i < mono.size(); ++i) {
        near[i] = mono[i];
        far[i] = i >= static_cast<size_t>(farDelay) ? mono[i - farDelay] * 0.38 : 0.0;
    }
    return towardRight > 0 ? std::vector<Track>{std::move(far), std::move(near)}
                           : std::vector<Track>{std::move(near), std::move(far)};
}

// One burst of an explosion: where it starts and how it sounds.
struct Burst {
    double start;        // seconds
    double gain;
    double thumpHigh;    // the low boom glides from this pitch ...
    double thumpLow;     // ... down to this one (Hz)
    double thumpDecay;   // seconds
    double brightHigh;   // the noise's low-pass cutoff falls from this ...
    double brightLow;    // ... to this (Hz)
    double noiseDecay;   // seconds
};

struct ExplosionRecipe {
    double seconds;
    uint64_t seed;
    std::vector<Burst> bursts;
    double crackleRate;    // debris crackles per second at the start
    double crackleDecay;   // seconds
    double ringHz;         // a metallic ring from a resonant filter; 0 = none
    double peak;
};

// Debris: short bright grains scattered in time, thinning out as the blast dies.
void AddCrackle(Track* out, Rng* rng, double rate, double decay) {
    const int32_t n = static_cast<int32_t>(out->size());
    for (int32_t i = 0; i < n; ++i) {
        const double t = TimeOf(i);
        if (rng->Uniform() >= rate * Exp(-t / decay) / kSampleRate) continue;
        const int32_t length = SamplesFor(0.002 + 0.006 * rng->Uniform());
        const double amp = 0.15 + 0.35 * rng->Uniform();
        double last = 0.0;
        for (int32_t k = 0; k < length && i + k < n; ++k) {
            const double white = rng->Signed();
            const double hiss = white - last;  // differencing tilts the grain toward the treble
            last = white;
            (*out)[i + k] += amp * hiss * Exp(-k / (0.25 * length)) * Exp(-t / decay);
        }
    }
}

Track ExplosionChannel(const ExplosionRecipe& r, uint64_t channelSeed, const Track& thump) {
    const int32_t n = SamplesFor(r.seconds);
    Track out(thump);
    Rng rng{r.seed * 31 + channelSeed};
    for (const Burst& b : r.bursts) {
        OnePole lp1, lp2;
        OnePole wobble;
        for (int32_t i = SamplesFor(b.start); i < n; ++i) {
            const double t = TimeOf(i) - b.start;
            const double cutoff = b.brightLow + (b.brightHigh - b.brightLow) * Exp(-t / 0.12);
            // Two low-passes in a row give the rumble its weight; the factor keeps its
            // loudness about even while the cutoff falls.
            const double level = 1.0 / dmath::Sqrt(2.0 * dmath::kPi * cutoff / kSampleRate);
            const double rumble = level * lp2.Step(lp1.Step(rng.Signed(), cutoff), cutoff);
            // A slow random swell makes the rumble roll instead of hiss.
            const double roll = 0.7 + 0.3 * dmath::Clamp(40.0 * wobble.Step(rng.Signed(), 6.0), -1.0, 1.0);
            out[i] += b.gain * 0.8 * rumble * roll * AttackDecay(t, 0.003, b.noiseDecay);
        }
    }
    if (r.crackleRate > 0) AddCrackle(&out, &rng, r.crackleRate, r.crackleDecay);
    if (r.ringHz > 0) {
        StateVariable ring;
        Rng ringNoise{r.seed ^ 0xA5A5ull};
        for (int32_t i = 0; i < n; ++i) {
            ring.Step(ringNoise.Signed() * AttackDecay(TimeOf(i), 0.002, 0.05), r.ringHz, 0.02);
            out[i] += 0.35 * ring.band * Exp(-TimeOf(i) / 0.18);
        }
    }
    return out;
}

// The low boom that both ears share.
Track Thump(const ExplosionRecipe& r) {
    const int32_t n = SamplesFor(r.seconds);
    Track out(n, 0.0);
    for (const Burst& b : r.bursts) {
        Oscillator osc;
        for (int32_t i = SamplesFor(b.start); i < n; ++i) {
            const double t = TimeOf(i) - b.start;
            const double hz = b.thumpLow + (b.thumpHigh - b.thumpLow) * Exp(-t / 0.07);
            out[i] += b.gain * 0.9 * osc.Sine(hz) * AttackDecay(t, 0.002, b.thumpDecay);
        }
    }
    return out;
}

SoundBuffer MakeExplosion(const ExplosionRecipe& r) {
    const Track thump = Thump(r);
    std::vector<Track> channels{ExplosionChannel(r, 1, thump), ExplosionChannel(r, 2, thump)};
    // Drive the loudest moment just into the soft clipper: the peaks round off and the
    // blast gains density without audible distortion, whatever the recipe's raw level.
    double loudest = 0.0;
    for (const Track& t : channels)
        for (double v : t) loudest = std::max(loudest, v < 0 ? -v : v);
    const double drive = loudest > 0.0 ? 1.15 / loudest : 1.0;
    for (Track& t : channels)
        for (double& v : t) v = SoftClip(drive * v);
    return Finish(std::move(channels), r.peak, 0.001, 0.03);
}

const ExplosionRecipe kEnemyExplosions[kExplosionCount] = {
    // A plain, punchy pop.
    {0.5, 0xE1, {{0.0, 1.0, 150, 55, 0.10, 5200, 300, 0.11}}, 90, 0.10, 0, 0.72},
    // Deeper and rounder, with a short tail of debris.
    {0.5, 0xE2, {{0.0, 1.0, 120, 42, 0.14, 3200, 220, 0.14}}, 140, 0.14, 0, 0.74},
    // A crackling double pop.
    {0.5, 0xE3, {{0.0, 0.9, 170, 60, 0.07, 6500, 400, 0.07}, {0.07, 0.7, 130, 50, 0.09, 4200, 300, 0.10}},
     220, 0.12, 0, 0.70},
    // Bright and sharp, a shell cracking open.
    {0.5, 0xE4, {{0.0, 1.0, 200, 70, 0.06, 9000, 600, 0.08}}, 300, 0.07, 0, 0.66},
    // A metallic clang inside the blast: the armour ringing.
    {0.5, 0xE5, {{0.0, 1.0, 135, 48, 0.11, 4200, 260, 0.12}}, 110, 0.10, 620, 0.72},
};

}  // namespace

SoundBuffer MakeShotSound(int side) {
    const int32_t n = SamplesFor(0.11);
    // The two barrels differ a little in pitch, as twin guns do.
    const double pitch = side == 0 ? 1.0 : 1.07;
    Rng rng{0x5407ull + static_cast<uint64_t>(side)};
    Oscillator osc;
    OnePole body, lowCrack;
    Track mono(n);
    for (int32_t i = 0; i < n; ++i) {
        const double t = TimeOf(i);
        const double hz = pitch * (210.0 + 1500.0 * Exp(-t / 0.026));
        const double tone = SoftClip(2.2 * osc.Sine(hz)) * AttackDecay(t, 0.0008, 0.03);
        const double white = rng.Signed();
        const double crack = (white - lowCrack.Step(white, 1800.0)) * Exp(-t / 0.005);
        const double thud = body.Step(white, 900.0) * AttackDecay(t, 0.001, 0.035);
        mono[i] = 0.55 * tone + 0.6 * crack + 1.6 * thud;
    }
    return Finish(Pan(mono, side == 0 ? -1.0 : 1.0, 14), 0.42, 0.0006, 0.012);
}

SoundBuffer MakeZapSound() {
    const int32_t n = SamplesFor(0.2);
    std::vector<Track> channels(2, Track(n));
    Oscillator buzz, sweep;
    Track core(n);
    for (int32_t i = 0; i < n; ++i) {
        const double t = TimeOf(i);
        // A harsh buzz ring-modulated by a falling whine: the shield's hum breaking up.
        const double b = buzz.Saw(96.0 + 30.0 * Exp(-t / 0.05));
        const double w = sweep.Sine(900.0 + 2600.0 * Exp(-t / 0.04));
        core[i] = SoftClip(1.6 * b * (0.4 + 0.6 * w));
    }
    for (int c = 0; c < 2; ++c) {
        Rng rng{0x2A9ull + static_cast<uint64_t>(c) * 977};
        StateVariable hiss;
        double gate = 1.0;
        for (int32_t i = 0; i < n; ++i) {
            const double t = TimeOf(i);
            // The arc flickers: the level jumps every few milliseconds.
            if (i % SamplesFor(0.004) == 0) gate = 0.35 + 0.65 * rng.Uniform();
            hiss.Step(rng.Signed(), 3800.0 + 1500.0 * dmath::Sin(t * 90.0), 0.5);
            const double env = AttackDecay(t, 0.001, 0.12) * (t < 0.09 ? 1.0 : Exp(-(t - 0.09) / 0.04));
            channels[c][i] = (0.6 * core[i] + 0.9 * hiss.band) * gate * env;
        }
    }
    return Finish(std::move(channels), 0.5, 0.0008, 0.02);
}

SoundBuffer MakeBigExplosionSound() {
    const ExplosionRecipe big{1.5,
                              0xB16,
                              {{0.0, 1.0, 95, 30, 0.45, 3600, 150, 0.50},
                               {0.13, 0.75, 80, 28, 0.40, 2400, 120, 0.45},
                               {0.34, 0.5, 70, 26, 0.35, 1600, 100, 0.40}},
                              160,
                              0.35,
                              0,
                              0.9};
    return MakeExplosion(big);
}

SoundBuffer MakeExplosionSound(int index) {
    return MakeExplosion(kEnemyExplosions[std::clamp(index, 0, kExplosionCount - 1)]);
}
