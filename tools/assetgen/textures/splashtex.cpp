// The splash and screen background, and the additive trail sprite.
#include "assetgen/textures/noise.h"
#include "assetgen/textures/painters.h"

#include <algorithm>
#include <cmath>

namespace tex {

namespace {

const int SIZE = 512;
// The band that carries the screens' yellow text, and its trims.
const int BAND_TOP = 190, BAND_BOTTOM = 318;
const int HORIZON = 186;

void ring(Image& img, float cx, float cy, float r, float thick, Color c) {
    for (int y = int(cy - r - thick - 2); y <= int(cy + r + thick + 2); ++y)
        for (int x = int(cx - r - thick - 2); x <= int(cx + r + thick + 2); ++x) {
            float d =
                std::sqrt((x + 0.5f - cx) * (x + 0.5f - cx) + (y + 0.5f - cy) * (y + 0.5f - cy));
            float a = std::min(1.0f, std::max(0.0f, thick * 0.5f + 0.5f - std::fabs(d - r)));
            if (a > 0 && x >= 0 && y >= 0 && x < img.width && y < img.height)
                img.blend(x, y, c, a);
        }
}

void sky(Image& img) {
    const Color top{0.10f, 0.09f, 0.28f}, mid{0.45f, 0.22f, 0.42f}, glow{0.98f, 0.6f, 0.28f};
    for (int y = 0; y < HORIZON; ++y)
        for (int x = 0; x < SIZE; ++x) {
            float t = float(y) / HORIZON;
            Color c = t < 0.6f ? mix(top, mid, t / 0.6f) : mix(mid, glow, (t - 0.6f) / 0.4f);
            float sun = std::exp(-((x - 380.0f) * (x - 380.0f) + (y - 176.0f) * (y - 176.0f)) /
                                 (2 * 60.0f * 60.0f));
            c = mix(c, {1.0f, 0.86f, 0.55f}, sun * 0.8f);
            float cloud = fbm(x / 96.0f, y / 28.0f, 8, 4, 101u);
            float band = std::max(0.0f, cloud - 0.55f) * 2.2f * (t > 0.2f ? 1.0f : t * 5.0f);
            c = mix(c, mix({0.55f, 0.35f, 0.5f}, {1.0f, 0.7f, 0.5f}, t), std::min(0.7f, band));
            img.at(x, y) = c;
        }
}

void skyline(Image& img) {
    const Color shade{0.08f, 0.05f, 0.12f};
    // The stand rim runs along the horizon, rising into towers at both ends.
    for (int x = 0; x < SIZE; ++x) {
        float rim = HORIZON - 22 - 6 * std::sin(x * 0.012f) - 3 * valueNoise(x / 6.0f, 0, 128, 7u);
        for (int y = int(rim); y < HORIZON; ++y)
            img.at(x, y) = shade;
    }
    const float towers[][3] = {{34, 92, 26}, {110, 120, 18}, {402, 118, 18}, {478, 88, 26}};
    for (const auto& t : towers) {
        float cx = t[0], topY = t[1], half = t[2];
        img.fillRect(int(cx - half), int(topY), int(cx + half), HORIZON, shade);
        float roof[] = {cx - half - 6, topY, cx, topY - half * 1.6f, cx + half + 6, topY};
        fillPolygon(img, roof, 3, shade);
        float flag[] = {cx, topY - half * 1.6f - 18, cx + 22, topY - half * 1.6f - 13,
                        cx, topY - half * 1.6f - 8};
        fillPolygon(img, flag, 3, cx < 256 ? EMBER_ORANGE : STORM_SLATE);
        img.fillRect(int(cx), int(topY - half * 1.6f - 18), int(cx) + 2, int(topY - half * 1.6f),
                     shade);
    }
    // Three hoops on their poles in the middle distance.
    const float hoops[][3] = {{196, 112, 20}, {256, 92, 24}, {316, 112, 20}};
    for (const auto& h : hoops) {
        img.fillRect(int(h[0]) - 2, int(h[1] + h[2]), int(h[0]) + 2, HORIZON, shade);
        ring(img, h[0], h[1], h[2], 4.0f, shade);
    }
}

void rider(Image& img, float x, float y, float dir, Color trail) {
    // A trail of sparks, then the rider's silhouette on its sled.
    for (int i = 0; i < 60; ++i) {
        float tx = x - dir * (12 + i * 2.2f), ty = y + 3 + std::sin(i * 0.3f) * 3 + i * 0.35f;
        float a = 0.9f * (1.0f - i / 60.0f);
        img.blend(int(tx), int(ty), trail, a);
        img.blend(int(tx), int(ty) + 1, trail, a * 0.5f);
    }
    const Color dark{0.06f, 0.04f, 0.1f};
    float sled[] = {x - dir * 16, y + 2, x + dir * 14, y - 1,
                    x + dir * 18, y + 2, x - dir * 14, y + 5};
    fillPolygon(img, sled, 4, dark);
    float body[] = {x - dir * 4, y + 2,  x + dir * 2, y - 12,
                    x + dir * 7, y - 11, x + dir * 5, y + 2};
    fillPolygon(img, body, 4, dark);
    ring(img, x + dir * 5, y - 16, 3.0f, 6.0f, dark);
}

void band(Image& img) {
    for (int y = BAND_TOP; y < BAND_BOTTOM; ++y)
        for (int x = 0; x < SIZE; ++x) {
            float t = float(y - BAND_TOP) / (BAND_BOTTOM - BAND_TOP);
            // Deep navy, a touch lighter in the middle, with a faint woven texture.
            float lift = 0.08f * std::sin(t * 3.14159f);
            float weave = 0.015f * valueNoise(x / 2.0f, y / 2.0f, 256, 111u);
            img.at(x, y) = {0.05f + lift * 0.5f + weave, 0.06f + lift * 0.5f + weave,
                            0.16f + lift + weave};
        }
    for (int x = 0; x < SIZE; ++x) {
        for (int y = HORIZON; y < BAND_TOP; ++y)
            img.at(x, y) = {0.78f, 0.55f, 0.16f};
        for (int y = BAND_BOTTOM; y < BAND_BOTTOM + 4; ++y)
            img.at(x, y) = {0.78f, 0.55f, 0.16f};
    }
}

void pitch(Image& img) {
    for (int y = BAND_BOTTOM + 4; y < SIZE; ++y)
        for (int x = 0; x < SIZE; ++x) {
            float depth = float(y - BAND_BOTTOM) / (SIZE - BAND_BOTTOM);
            // Mowing stripes converging on a vanishing point at the band's centre.
            float u = (x - 256.0f) / (0.4f + depth * 2.0f);
            bool stripe = int(std::floor(u / 40.0f)) % 2 == 0;
            Color c = stripe ? Color{0.06f, 0.2f, 0.09f} : Color{0.05f, 0.16f, 0.07f};
            c = scale(c, 0.85f + 0.3f * fbm(x / 40.0f, y / 40.0f, 16, 3, 121u));
            img.at(x, y) = c;
        }
}

} // namespace

Image paintSplash() {
    Image img(SIZE, SIZE);
    sky(img);
    skyline(img);
    rider(img, 150, 58, 1.0f, {0.5f, 1.0f, 1.0f});
    rider(img, 360, 44, -1.0f, {1.0f, 0.8f, 0.4f});
    band(img);
    pitch(img);
    return img;
}

Image paintStar() {
    Image img(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            float dx = (x + 0.5f - 32.0f) / 32.0f, dy = (y + 0.5f - 32.0f) / 32.0f;
            float r = std::sqrt(dx * dx + dy * dy);
            float core = std::exp(-r * r * 30.0f);
            float halo = 0.35f * std::exp(-r * r * 6.0f);
            float spikes = std::exp(-std::fabs(dx) * 40.0f) + std::exp(-std::fabs(dy) * 40.0f);
            spikes *= std::max(0.0f, 1.0f - r) * 0.8f;
            float v = std::min(1.0f, core + halo + spikes);
            // Fade to pure black before the edge so additive blending leaves no square.
            v *= std::max(0.0f, std::min(1.0f, (1.0f - r) * 4.0f));
            img.at(x, y) = {v, v, v * 0.95f + 0.05f * core};
        }
    return img;
}

} // namespace tex
