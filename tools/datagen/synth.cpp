#include "tools/datagen/synth.h"

#include <algorithm>
#include <utility>

using dmath::Exp;
using dmath::kPi;

int32_t SamplesFor(double seconds) { return static_cast<int32_t>(dmath::Floor(seconds * kSampleRate + 0.5)); }

double AttackDecay(double t, double attack, double decay) {
    if (t < 0.0) return 0.0;
    return (1.0 - Exp(-t / attack)) * Exp(-t / decay);
}

double SoftClip(double x) {
    if (x >= 1.0) return 1.0;
    if (x <= -1.0) return -1.0;
    return 1.5 * x - 0.5 * x * x * x;
}

double OnePole::Step(double x, double cutoff) {
    const double a = 1.0 - Exp(-2.0 * kPi * cutoff / kSampleRate);
    y += a * (x - y);
    return y;
}

void StateVariable::Step(double x, double cutoff, double damping) {
    // The simple form is stable up to about a sixth of the sample rate; keep below it.
    const double hz = dmath::Clamp(cutoff, 10.0, kSampleRate / 7.0);
    const double f = 2.0 * dmath::Sin(kPi * hz / kSampleRate);
    low += f * band;
    const double high = x - low - damping * band;
    band += f * high;
}

double Oscillator::Sine(double hz) {
    const double out = dmath::Sin(phase);
    phase += 2.0 * kPi * hz / kSampleRate;
    if (phase > 2.0 * kPi) phase -= 2.0 * kPi;
    return out;
}

double Oscillator::Saw(double hz) {
    const double out = phase / kPi - 1.0;
    phase += 2.0 * kPi * hz / kSampleRate;
    if (phase > 2.0 * kPi) phase -= 2.0 * kPi;
    return out;
}

void FadeEnds(Track* track, double fadeInSeconds, double fadeOutSeconds) {
    const int32_t n = static_cast<int32_t>(track->size());
    const int32_t in = std::min(SamplesFor(fadeInSeconds), n);
    const int32_t out = std::min(SamplesFor(fadeOutSeconds), n);
    for (int32_t i = 0; i < in; ++i) (*track)[i] *= dmath::SmoothStep(0.0, in, i);
    for (int32_t i = 0; i < out; ++i) (*track)[n - 1 - i] *= dmath::SmoothStep(0.0, out, i);
}

void Normalise(SoundBuffer* sound, double peak) {
    double loudest = 0.0;
    for (const Track& t : sound->channels)
        for (double s : t) loudest = std::max(loudest, s < 0 ? -s : s);
    if (loudest <= 0.0) return;
    const double k = peak / loudest;
    for (Track& t : sound->channels)
        for (double& s : t) s *= k;
}

SoundBuffer Finish(std::vector<Track> channels, double peak, double fadeIn, double fadeOut) {
    SoundBuffer sound{kSampleRate, std::move(channels)};
    for (Track& t : sound.channels) FadeEnds(&t, fadeIn, fadeOut);
    Normalise(&sound, peak);
    return sound;
}
