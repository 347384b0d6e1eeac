// Sine and cosine that give the same bits on every build: the simulation turns and moves with
// these, not with the C library's, whose last bit differs between libraries.
#pragma once

// Angles in radians. Worked out in double precision with a fixed sequence of operations (range
// reduction by quarter turns, then series on the remaining quarter turn) and rounded to float:
// within an ulp of the true value for every angle the game reaches.
float steadySin(float radians);
float steadyCos(float radians);
