// Sine and cosine from plain double arithmetic only: no library call, so the same bits on every
// compiler and C library (the build turns off fused multiply-add contraction).
#include "shared/steadymath.h"

#include <cmath>
#include <cstdint>

namespace {

// Pi/2 split in two: the high part has few enough bits that k * high is exact for any quarter
// turn count the game reaches, the low part carries the rest.
constexpr double HALF_PI_HIGH = 1.57079632673412561417e+00;
constexpr double HALF_PI_LOW = 6.07710050650619224932e-11;
constexpr double TWO_OVER_PI = 6.36619772367581382433e-01;

// Taylor series on |r| <= pi/4, enough terms that the remainder is below a double's precision.
double sinSeries(double r) {
    const double r2 = r * r;
    double p = 1.0 / 355687428096000.0; // 1/17!
    p = p * r2 - 1.0 / 1307674368000.0;
    p = p * r2 + 1.0 / 6227020800.0;
    p = p * r2 - 1.0 / 39916800.0;
    p = p * r2 + 1.0 / 362880.0;
    p = p * r2 - 1.0 / 5040.0;
    p = p * r2 + 1.0 / 120.0;
    p = p * r2 - 1.0 / 6.0;
    return r + r * r2 * p;
}

double cosSeries(double r) {
    const double r2 = r * r;
    double p = 1.0 / 6402373705728000.0; // 1/18!
    p = p * r2 - 1.0 / 20922789888000.0;
    p = p * r2 + 1.0 / 87178291200.0;
    p = p * r2 - 1.0 / 479001600.0;
    p = p * r2 + 1.0 / 3628800.0;
    p = p * r2 - 1.0 / 40320.0;
    p = p * r2 + 1.0 / 720.0;
    p = p * r2 - 1.0 / 24.0;
    p = p * r2 + 1.0 / 2.0;
    return 1.0 - r2 * p;
}

// Sine of (quarter + k) quarter turns plus r: the quadrant picks the series and the sign.
float quadrant(float radians, int quarter) {
    const double x = radians;
    if (!std::isfinite(x)) {
        return radians - radians; // NaN, as the library gives
    }
    const double k = std::floor(x * TWO_OVER_PI + 0.5);
    const double r = (x - k * HALF_PI_HIGH) - k * HALF_PI_LOW;
    const int q = static_cast<int>(static_cast<int64_t>(std::fmod(k, 4.0) + 4.0 + quarter) & 3);
    const double v = (q & 1) ? cosSeries(r) : sinSeries(r);
    return static_cast<float>(q & 2 ? -v : v);
}

} // namespace

float steadySin(float radians) {
    return quadrant(radians, 0);
}

float steadyCos(float radians) {
    return quadrant(radians, 1);
}
