// A fingerprint of the whole game's state, for checking that two runs went the same way.
#pragma once

#include <cstdint>

// FNV-1a over the game state, every team and every object in list order (positions, headings,
// ball owners and targets, scores, flags); 0 folded in for a missing world.
uint64_t worldDigest();
