// Building blocks for the generated sounds: seeded noise, oscillators, filters,
// envelopes, and the finishing steps (normalising below full scale, click-free ends).
// Everything runs at 44100 Hz on plain doubles and the deterministic maths, so the same
// seed always gives the same samples.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/datagen/dmath.h"
#include "tools/datagen/wave_writer.h"

inline constexpr int32_t kSampleRate = 44100;
using Track = std::vector<double>;

int32_t SamplesFor(double seconds);
inline double TimeOf(int32_t i) { return i / static_cast<double>(kSampleRate); }

// Rises from 0 with time constant attack, decays with time constant decay (seconds).
double AttackDecay(double t, double attack, double decay);
// Gentle saturation: linear near 0, flattening to +-1 at +-1 and beyond.
double SoftClip(double x);

// One-pole low-pass; cutoff in Hz may change from sample to sample.
struct OnePole {
    double y = 0.0;
    double Step(double x, double cutoff);
};

// State-variable filter: low-pass and band-pass outputs, resonance by damping (2 = none).
struct StateVariable {
    double low = 0.0;
    double band = 0.0;
    void Step(double x, double cutoff, double damping);
};

// Sine oscillator with a running phase, so the pitch can glide without jumps.
struct Oscillator {
    double phase = 0.0;  // radians
    double Sine(double hz);
    double Saw(double hz);  // -1..1
};

// S-curve fades (flat at both ends of the fade), so the first and last samples are
// exactly zero and the sound neither starts nor stops with a click.
void FadeEnds(Track* track, double fadeInSeconds, double fadeOutSeconds);
// Scales every channel by one factor so that the loudest sample is peak (< 1).
void Normalise(SoundBuffer* sound, double peak);
// A sound made of the given channels, normalised and faded.
SoundBuffer Finish(std::vector<Track> channels, double peak, double fadeIn, double fadeOut);
