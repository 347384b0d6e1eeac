// Deterministic randomness for painted textures: a small PRNG and tileable value noise.
#include "assetgen/textures/noise.h"

#include <cmath>

namespace tex {

namespace {

float lattice(int x, int y, int period, uint32_t seed) {
    x = ((x % period) + period) % period;
    y = ((y % period) + period) % period;
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) * (1.0f / 16777215.0f);
}

float smooth(float t) {
    return t * t * (3.0f - 2.0f * t);
}

} // namespace

float valueNoise(float x, float y, int period, uint32_t seed) {
    int xi = int(std::floor(x)), yi = int(std::floor(y));
    float fx = smooth(x - xi), fy = smooth(y - yi);
    float a = lattice(xi, yi, period, seed), b = lattice(xi + 1, yi, period, seed);
    float c = lattice(xi, yi + 1, period, seed), d = lattice(xi + 1, yi + 1, period, seed);
    float top = a + (b - a) * fx, bottom = c + (d - c) * fx;
    return top + (bottom - top) * fy;
}

float fbm(float x, float y, int period, int octaves, uint32_t seed) {
    float sum = 0.0f, weight = 0.5f, total = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += weight * valueNoise(x, y, period, seed + uint32_t(o) * 101u);
        total += weight;
        x *= 2.0f;
        y *= 2.0f;
        period *= 2;
        weight *= 0.5f;
    }
    return sum / total;
}

} // namespace tex
