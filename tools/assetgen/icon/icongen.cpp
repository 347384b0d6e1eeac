// Paints the desktop icon, a golden hoop on a night-blue disc with a red ball flying through it,
// at every size the icon theme asks for and as the window's own icon bitmap; all sizes sample
// the same resolution-free drawing.
#include "assetgen/icon/pngwrite.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Colour {
    float r, g, b, a;
};

// Coverage-weighted colour of one sample point in icon units (-1..1, y up).
Colour shade(float x, float y) {
    Colour c = {0, 0, 0, 0};
    float d = std::sqrt(x * x + y * y);
    if (d < 0.96f) {
        float t = (y + 1.0f) * 0.5f; // sky gradient, lighter towards the top
        c = {0.06f + 0.10f * t, 0.10f + 0.20f * t, 0.30f + 0.35f * t, 1.0f};
    }
    if (d >= 0.90f && d < 0.96f) {
        c = {0.95f, 0.80f, 0.35f, 1.0f}; // rim
    }
    // Hoop: an upright ellipse ring seen at an angle.
    float hx = x / 0.42f, hy = (y - 0.08f) / 0.58f;
    float hd = std::sqrt(hx * hx + hy * hy);
    if (hd > 0.80f && hd < 1.0f) {
        float light = 0.75f + 0.25f * (hy > 0 ? hy : 0);
        c = {0.98f * light, 0.76f * light, 0.18f * light, 1.0f};
    }
    // Pole below the ring.
    if (std::fabs(x) < 0.05f && y < -0.50f && y > -0.90f) {
        c = {0.70f, 0.55f, 0.20f, 1.0f};
    }
    // Ball passing through, with a short trail.
    float bx = x - 0.10f, by = y - 0.10f;
    float bd = std::sqrt(bx * bx + by * by);
    if (bd < 0.17f) {
        float hi = std::fmax(
            0.0f,
            1.0f - std::sqrt((bx + 0.06f) * (bx + 0.06f) + (by - 0.06f) * (by - 0.06f)) / 0.17f);
        c = {0.85f + 0.15f * hi, 0.15f + 0.5f * hi, 0.15f + 0.4f * hi, 1.0f};
    } else if (bx < 0 && bx > -0.7f && std::fabs(by - bx * 0.35f) < 0.05f * (1.0f + bx / 0.7f)) {
        float f = 1.0f + bx / 0.7f;
        c = {c.r + (0.4f - c.r) * f, c.g + (1.0f - c.g) * f, c.b + (1.0f - c.b) * f, 1.0f};
    }
    return c;
}

std::vector<uint8_t> paint(int size) {
    std::vector<uint8_t> rgba(static_cast<size_t>(size) * size * 4);
    // Supersampling per axis for smooth edges; small sizes take more so thin lines stay soft.
    const int ss = size < 64 ? 8 : 4;
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            float r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < ss; ++sy) {
                for (int sx = 0; sx < ss; ++sx) {
                    float x = ((px + (sx + 0.5f) / ss) / size) * 2.0f - 1.0f;
                    float y = 1.0f - ((py + (sy + 0.5f) / ss) / size) * 2.0f;
                    Colour c = shade(x, y);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            uint8_t* p = &rgba[(static_cast<size_t>(py) * size + px) * 4];
            float n = static_cast<float>(ss * ss);
            auto byte = [](float v) {
                return static_cast<uint8_t>(
                    std::lround(std::fmin(1.0f, std::fmax(0.0f, v)) * 255.0f));
            };
            p[0] = byte(a > 0 ? r / a : 0);
            p[1] = byte(a > 0 ? g / a : 0);
            p[2] = byte(a > 0 ? b / a : 0);
            p[3] = byte(a / n);
        }
    }
    return rgba;
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

// The window icon: the window system takes bitmaps, so a 32-bit bitmap with alpha, bottom row
// first, pixels as blue, green, red, alpha.
bool writeIconBmp(const std::string& path, int size, const std::vector<uint8_t>& rgba) {
    const uint32_t pixels = static_cast<uint32_t>(size) * static_cast<uint32_t>(size) * 4;
    std::vector<uint8_t> out = {'B', 'M'};
    put32(out, 14 + 40 + pixels);
    put32(out, 0);
    put32(out, 14 + 40);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(size));
    put32(out, static_cast<uint32_t>(size));
    put32(out, 1 | 32u << 16); // one plane, 32 bits a pixel
    put32(out, 0);             // uncompressed
    put32(out, pixels);
    put32(out, 2835); // 72 dots an inch, both ways
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const uint8_t* p = &rgba[(static_cast<size_t>(y) * size + x) * 4];
            out.insert(out.end(), {p[2], p[1], p[0], p[3]});
        }
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        return false;
    }
    const bool written = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && written;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: icongen <data folder>\n");
        return 2;
    }
    // The icon theme's sizes; the install copies this tree under share/icons.
    static const int kSizes[] = {16, 32, 48, 64, 128, 256};
    for (int size : kSizes) {
        char rel[64];
        std::snprintf(rel, sizeof rel, "icons/hicolor/%dx%d/apps", size, size);
        const std::filesystem::path dir = std::filesystem::path(argv[1]) / rel;
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        const std::string out = (dir / "hoopwind.png").string();
        if (ec || !WritePNG(out, size, size, paint(size))) {
            std::fprintf(stderr, "icongen: cannot write %s\n", out.c_str());
            return 1;
        }
    }
    const std::string bmp = (std::filesystem::path(argv[1]) / "hoopwind-icon.bmp").string();
    if (!writeIconBmp(bmp, 64, paint(64))) {
        std::fprintf(stderr, "icongen: cannot write %s\n", bmp.c_str());
        return 1;
    }
    return 0;
}
