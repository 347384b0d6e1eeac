// Deterministic randomness for painted textures: a small PRNG and tileable value noise.
#pragma once

#include <cstdint>

namespace tex {

struct Rng {
    uint32_t state;
    explicit Rng(uint32_t seed) : state(seed ? seed : 0x2545F491u) {}
    uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    float uniform() { return (next() >> 8) * (1.0f / 16777216.0f); }
    int below(int n) { return int(next() % uint32_t(n)); }
};

// Smooth value noise in [0, 1] that repeats every `period` units on both axes.
float valueNoise(float x, float y, int period, uint32_t seed);
// Sum of `octaves` noise layers, each twice the frequency and half the weight; tiles with
// `period` (the base lattice), result in [0, 1].
float fbm(float x, float y, int period, int octaves, uint32_t seed);

} // namespace tex
