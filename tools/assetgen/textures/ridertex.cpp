// Textures of the hoops and the rider: brushed brass, woven cloth and the painted sled.
#include "assetgen/textures/noise.h"
#include "assetgen/textures/painters.h"

#include <cmath>

namespace tex {

Image paintHoopMetal() {
    Image img(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            float brush = valueNoise(x / 16.0f, y / 0.8f, 4, 71u);
            float glint = 0.5f + 0.5f * std::sin(x * 6.2831853f / 32.0f);
            Color c =
                mix({0.62f, 0.44f, 0.12f}, {0.98f, 0.82f, 0.4f}, 0.35f * glint + 0.4f * brush);
            img.at(x, y) = c;
        }
    return img;
}

Image paintCloth() {
    Image img(64, 64);
    const Color base{0.36f, 0.22f, 0.46f}; // deep plum flying coat
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            bool warp = ((x + y / 2) % 4) < 2;
            float n = fbm(x / 8.0f, y / 8.0f, 8, 3, 81u);
            Color c = scale(base, (warp ? 1.0f : 0.86f) * (0.85f + 0.3f * n));
            // A gold piping seam every half tile.
            if (y % 32 == 30 || y % 32 == 31)
                c = {0.86f, 0.66f, 0.22f};
            img.at(x, y) = c;
        }
    return img;
}

Image paintSled() {
    Image img(128, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 128; ++x) {
            float grain = fbm(x / 20.0f, y / 2.5f, 8, 3, 91u);
            Color c = mix({0.34f, 0.2f, 0.1f}, {0.58f, 0.36f, 0.18f}, grain);
            // Lacquered stripe and brass rivets along the hull.
            if (y >= 26 && y < 38)
                c = mix({0.1f, 0.55f, 0.6f}, {0.2f, 0.75f, 0.78f}, grain);
            if (y == 25 || y == 38)
                c = {0.9f, 0.75f, 0.35f};
            if ((y == 10 || y == 54) && x % 16 == 8)
                c = {0.95f, 0.82f, 0.45f};
            img.at(x, y) = c;
        }
    return img;
}

} // namespace tex
