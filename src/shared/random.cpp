// A 32-bit linear congruential generator; its top fifteen bits below the sign are the result,
// since the low bits of such a generator repeat with short periods.
#include "shared/random.h"

namespace {

uint32_t state = 1; // as if seeded with 1 before the first game

} // namespace

void seedGameRandom(uint32_t seed) {
    state = seed;
}

int gameRandom() {
    state = state * 1664525u + 1013904223u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}
