// The game's random numbers: one fixed generator of our own, so that the same seed plays the same
// game on every build and platform (the C library's rand differs between them).
#pragma once

#include <cstdint>

constexpr int GAME_RANDOM_MAX = 32767;

// Starts the sequence again from `seed` (the game seeds once per game with the tick count).
void seedGameRandom(uint32_t seed);
// The next number of the sequence, 0 to GAME_RANDOM_MAX.
int gameRandom();
