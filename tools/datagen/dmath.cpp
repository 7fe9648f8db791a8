#include "tools/datagen/dmath.h"

#include <cmath>

namespace dmath {

namespace {

constexpr double kTwoPi = 2.0 * kPi;
constexpr double kHalfPi = 0.5 * kPi;
constexpr double kLn2 = 0.69314718055994530942;

// Taylor series of sin on [-pi/2, pi/2]; 11 terms are exact to double precision there.
double SinSmall(double x) {
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int k = 1; k <= 11; ++k) {
        term *= -x2 / static_cast<double>((2 * k) * (2 * k + 1));
        sum += term;
    }
    return sum;
}

}  // namespace

double Floor(double x) { return std::floor(x); }
double Sqrt(double x) { return x <= 0.0 ? 0.0 : std::sqrt(x); }

double Sin(double x) {
    // Bring x into [-pi, pi], then fold into [-pi/2, pi/2] by sin(pi - x) = sin(x).
    double r = x - kTwoPi * Floor(x / kTwoPi + 0.5);
    if (r > kHalfPi) r = kPi - r;
    if (r < -kHalfPi) r = -kPi - r;
    return SinSmall(r);
}

double Cos(double x) { return Sin(x + kHalfPi); }

double Exp(double x) {
    if (x < -700.0) return 0.0;
    if (x > 700.0) x = 700.0;
    // e^x = 2^n * e^r with |r| <= ln2 / 2; the series for e^r converges in 18 terms.
    const double n = Floor(x / kLn2 + 0.5);
    const double r = x - n * kLn2;
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; k <= 18; ++k) {
        term *= r / static_cast<double>(k);
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(n));
}

double PowInt(double x, int n) {
    double result = 1.0;
    double base = x;
    for (unsigned e = static_cast<unsigned>(n < 0 ? -n : n); e != 0; e >>= 1) {
        if (e & 1) result *= base;
        base *= base;
    }
    return n < 0 ? 1.0 / result : result;
}

double Clamp(double x, double lo, double hi) { return x < lo ? lo : (x > hi ? hi : x); }
double Mix(double a, double b, double t) { return a + (b - a) * t; }

double SmoothStep(double e0, double e1, double x) {
    const double t = Clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

uint64_t Rng::Next() {
    state += 0x9E3779B97F4A7C15ull;
    uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Rng::Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
double Rng::Signed() { return 2.0 * Uniform() - 1.0; }
int32_t Rng::Below(int32_t n) { return static_cast<int32_t>(Next() % static_cast<uint64_t>(n)); }

uint32_t Hash(int32_t x, int32_t y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B1u;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA77u;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE3Du;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

double ValueNoise(double x, double y, uint32_t seed) {
    const double fx = Floor(x);
    const double fy = Floor(y);
    const int32_t ix = static_cast<int32_t>(fx);
    const int32_t iy = static_cast<int32_t>(fy);
    const double tx = SmoothStep(0.0, 1.0, x - fx);
    const double ty = SmoothStep(0.0, 1.0, y - fy);
    constexpr double kScale = 1.0 / 4294967295.0;
    const double a = Hash(ix, iy, seed) * kScale;
    const double b = Hash(ix + 1, iy, seed) * kScale;
    const double c = Hash(ix, iy + 1, seed) * kScale;
    const double d = Hash(ix + 1, iy + 1, seed) * kScale;
    return Mix(Mix(a, b, tx), Mix(c, d, tx), ty);
}

double Fbm(double x, double y, int octaves, uint32_t seed) {
    double sum = 0.0;
    double weight = 0.5;
    double total = 0.0;
    for (int o = 0; o < octaves; ++o) {
        sum += weight * ValueNoise(x, y, seed + static_cast<uint32_t>(o) * 7919u);
        total += weight;
        x *= 2.0;
        y *= 2.0;
        weight *= 0.5;
    }
    return sum / total;
}

}  // namespace dmath
