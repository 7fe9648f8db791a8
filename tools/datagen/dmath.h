// Maths for the data generator that gives the same bits on every machine: sine and
// exponential from plain arithmetic (no platform maths library, whose last bits may
// differ), a seeded 64-bit generator, and hashed value noise. Running the generator
// twice, or on another machine, therefore writes identical files.
#pragma once

#include <cstdint>

namespace dmath {

inline constexpr double kPi = 3.14159265358979323846;

double Sin(double x);
double Cos(double x);
// e^x for |x| up to about 700; smaller arguments give 0.
double Exp(double x);
// Whole-number power, for shininess and curves.
double PowInt(double x, int n);
double Sqrt(double x);  // correctly rounded, so already the same everywhere
double Floor(double x);

double Clamp(double x, double lo, double hi);
double Mix(double a, double b, double t);
// 0 below e0, 1 above e1, a smooth S-curve between (e0 may exceed e1 for a falling edge).
double SmoothStep(double e0, double e1, double x);

// splitmix64: a small, well-mixed generator; the seed fixes the whole sequence.
struct Rng {
    uint64_t state;
    uint64_t Next();
    double Uniform();        // [0, 1)
    double Signed();         // [-1, 1)
    int32_t Below(int32_t n);  // 0 .. n-1, n > 0
};

// A well-mixed 32-bit hash of a lattice point and a seed.
uint32_t Hash(int32_t x, int32_t y, uint32_t seed);
// Smoothly interpolated lattice noise in [0, 1]; one unit = one lattice cell.
double ValueNoise(double x, double y, uint32_t seed);
// Sum of octaves of value noise, each twice as fine and half as strong; in [0, 1].
double Fbm(double x, double y, int octaves, uint32_t seed);

}  // namespace dmath
