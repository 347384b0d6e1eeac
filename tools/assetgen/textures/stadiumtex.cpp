// Stadium textures: striped grass, crowded stands, stone, planks, roof canvas and team banners.
#include "assetgen/textures/noise.h"
#include "assetgen/textures/painters.h"

#include <algorithm>
#include <cmath>

namespace tex {

const Color EMBER_ORANGE{0.93f, 0.46f, 0.11f};
const Color EMBER_CHARCOAL{0.17f, 0.16f, 0.16f};
const Color STORM_SLATE{0.33f, 0.40f, 0.47f};
const Color STORM_WHITE{0.95f, 0.96f, 0.97f};

Image paintGrass() {
    Image img(256, 256);
    const Color light{0.36f, 0.62f, 0.22f}, dark{0.27f, 0.50f, 0.17f};
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            // Two mowing stripes per tile, softened at their borders.
            float s = 0.5f + 0.5f * std::cos(x * 6.2831853f / 256.0f);
            s = s * s * (3 - 2 * s);
            Color base = mix(dark, light, s);
            float n = fbm(x / 32.0f, y / 32.0f, 8, 4, 11u);
            float blade = valueNoise(x / 2.0f, y / 5.0f, 128, 12u);
            float k = 0.82f + 0.3f * n + 0.1f * (blade - 0.5f);
            img.at(x, y) = scale(base, k);
        }
    }
    return img;
}

Image paintCrowd(Color teamA, Color teamB, uint32_t seed) {
    Image img(256, 256, {0.16f, 0.15f, 0.17f});
    Rng rng(seed);
    const Color skins[] = {
        {0.96f, 0.80f, 0.66f}, {0.84f, 0.62f, 0.45f}, {0.62f, 0.42f, 0.28f}, {0.42f, 0.27f, 0.17f}};
    const Color neutral[] = {
        {0.92f, 0.92f, 0.88f}, {0.25f, 0.25f, 0.3f}, {0.55f, 0.5f, 0.2f}, {0.2f, 0.5f, 0.3f}};
    const int tier = 32;
    for (int row = 0; row < 256 / tier; ++row) {
        int top = row * tier;
        // Seat backs and the step edge of the tier.
        img.fillRect(0, top + 24, 256, top + 30, {0.33f, 0.31f, 0.30f});
        img.fillRect(0, top + 30, 256, top + 32, {0.55f, 0.53f, 0.5f});
        int x = rng.below(6);
        while (x < 256) {
            int w = 9 + rng.below(4);
            if (rng.below(10) < 8) {
                int pick = rng.below(10);
                Color shirt = pick < 4 ? teamA : pick < 7 ? teamB : neutral[rng.below(4)];
                shirt = scale(shirt, 0.8f + 0.35f * rng.uniform());
                int lift = rng.below(5); // some stand, some sit
                int bodyTop = top + 13 - lift;
                img.fillRect(x + 1, bodyTop, x + w - 1, top + 26, shirt);
                Color skin = skins[rng.below(4)];
                int hx = x + w / 2, hy = bodyTop - 4;
                for (int dy = -4; dy <= 4; ++dy)
                    for (int dx = -4; dx <= 4; ++dx) {
                        float d = std::sqrt(float(dx * dx + dy * dy));
                        if (d < 4.2f)
                            img.blend(hx + dx, hy + dy, skin, std::min(1.0f, 4.2f - d));
                    }
                if (rng.below(6) == 0) { // a raised arm
                    int ax = rng.below(2) ? x : x + w - 3;
                    img.fillRect(ax, bodyTop - 9, ax + 3, bodyTop + 2, shirt);
                }
            }
            x += w;
        }
    }
    return img;
}

Image paintStone() {
    Image img(128, 128);
    Rng rng(31u);
    const int rowH = 32;
    for (int row = 0; row < 4; ++row) {
        int offset = (row % 2) * 32;
        for (int b = 0; b < 2; ++b) {
            float tint = 0.85f + 0.25f * rng.uniform();
            Color base = scale({0.62f, 0.58f, 0.52f}, tint);
            for (int y = row * rowH; y < (row + 1) * rowH; ++y)
                for (int x = 0; x < 64; ++x) {
                    int px = x + b * 64 + offset;
                    float n = fbm(px / 16.0f, y / 16.0f, 8, 4, 33u);
                    bool mortar = x < 2 || y - row * rowH < 2;
                    Color c = mortar ? Color{0.38f, 0.36f, 0.33f} : scale(base, 0.75f + 0.5f * n);
                    // Light top edge and shaded bottom edge give each block some relief.
                    int ly = y - row * rowH;
                    if (!mortar && ly < 5)
                        c = scale(c, 1.1f);
                    if (!mortar && ly > rowH - 4)
                        c = scale(c, 0.82f);
                    img.wrap(px, y) = c;
                }
        }
    }
    return img;
}

Image paintWood() {
    Image img(128, 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            int plank = x / 32;
            float grain = fbm(x / 3.0f + plank * 7.0f, y / 24.0f, 64, 3, 41u);
            float rings = 0.5f + 0.5f * std::sin(grain * 18.0f + x * 0.35f);
            Color c = mix({0.45f, 0.28f, 0.14f}, {0.62f, 0.42f, 0.22f}, rings);
            c = scale(c, 0.9f + 0.15f * std::sin(plank * 2.1f));
            if (x % 32 < 2)
                c = {0.22f, 0.13f, 0.07f};
            img.at(x, y) = c;
        }
    return img;
}

Image paintRoofStripes(Color team) {
    Image img(128, 128);
    // The roofs stand behind the red head-up lines at the top of the view: weathered, dark canvas
    // in a deep team tone lets the red stand out where a pale or orange canvas swallowed it.
    const Color canvas{0.2f, 0.19f, 0.22f};
    const Color deepTeam = scale(team, 0.45f);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            bool teamStripe = (x / 16) % 2 == 0;
            Color c = teamStripe ? deepTeam : canvas;
            // Canvas sags between the seams.
            float sag = 0.88f + 0.12f * std::sin((x % 16) * 3.14159f / 16.0f);
            float weave = 0.95f + 0.05f * valueNoise(x / 1.5f, y / 1.5f, 64, 51u);
            img.at(x, y) = scale(c, sag * weave);
        }
    return img;
}

namespace {

Image bannerCloth(Color field, Color trim) {
    Image img(128, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 128; ++x) {
            float fold = 0.9f + 0.1f * std::sin(x * 6.2831853f / 42.0f);
            float n = 0.94f + 0.08f * fbm(x / 16.0f, y / 16.0f, 8, 3, 61u);
            Color c = scale(field, fold * n);
            bool border = x < 8 || x >= 120 || y < 8 || y >= 248;
            bool inner = (x >= 12 && x < 14) || (x >= 114 && x < 116) || (y >= 12 && y < 14) ||
                         (y >= 242 && y < 244);
            if (border || inner)
                c = scale(trim, fold);
            img.at(x, y) = c;
        }
    return img;
}

} // namespace

Image paintEmberBanner() {
    Image img = bannerCloth(EMBER_ORANGE, EMBER_CHARCOAL);
    // A three-tongued flame.
    float outer[] = {64, 30,  80, 62,  96, 58,  92, 96,  104, 110, 100, 150, 84, 176,
                     64, 184, 44, 176, 28, 150, 24, 110, 36,  96,  32,  58,  48, 62};
    fillPolygon(img, outer, 14, EMBER_CHARCOAL);
    float inner[] = {64, 80,  74, 110, 84, 104, 82, 140, 72, 160,
                     64, 164, 56, 160, 46, 140, 44, 104, 54, 110};
    fillPolygon(img, inner, 10, {1.0f, 0.72f, 0.30f}); // the glowing heart
    return img;
}

Image paintStormBanner() {
    Image img = bannerCloth(STORM_SLATE, STORM_WHITE);
    // A cloud over a lightning bolt.
    for (int y = 30; y < 90; ++y)
        for (int x = 14; x < 114; ++x) {
            auto blob = [&](float cx, float cy, float r) {
                float d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
                return std::max(0.0f, std::min(1.0f, r - d));
            };
            float a =
                std::max({blob(44, 66, 20), blob(70, 56, 26), blob(92, 70, 18), blob(64, 76, 18)});
            if (a > 0)
                img.blend(x, y, STORM_WHITE, a);
        }
    float bolt[] = {70, 84, 50, 136, 66, 136, 52, 190, 90, 122, 72, 122, 88, 84};
    fillPolygon(img, bolt, 7, {1.0f, 0.95f, 0.45f});
    return img;
}

} // namespace tex
