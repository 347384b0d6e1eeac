// RGB pictures the texture generator paints, and the 24-bit BMP file writer.
#include "assetgen/textures/image.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace tex {

namespace {

void put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(uint8_t(v & 0xFF));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t((v >> (8 * i)) & 0xFF));
}

uint8_t toByte(float v) {
    v = std::max(0.0f, std::min(1.0f, v));
    return uint8_t(std::lround(v * 255.0f));
}

} // namespace

Color mix(Color a, Color b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Color scale(Color c, float k) {
    return {c.r * k, c.g * k, c.b * k};
}

Color& Image::wrap(int x, int y) {
    x %= width;
    y %= height;
    if (x < 0)
        x += width;
    if (y < 0)
        y += height;
    return at(x, y);
}

void Image::blend(int x, int y, Color c, float alpha) {
    Color& p = wrap(x, y);
    p = mix(p, c, std::max(0.0f, std::min(1.0f, alpha)));
}

void Image::fillRect(int x0, int y0, int x1, int y1, Color c, float alpha) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            blend(x, y, c, alpha);
}

std::vector<uint8_t> encodeBmp(const Image& img) {
    const uint32_t rowBytes = (uint32_t(img.width) * 3 + 3) & ~3u;
    const uint32_t pixelBytes = rowBytes * uint32_t(img.height);
    std::vector<uint8_t> out;
    out.reserve(54 + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + pixelBytes);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, uint32_t(img.width));
    put32(out, uint32_t(img.height)); // positive: bottom row first
    put16(out, 1);
    put16(out, 24);
    put32(out, 0); // no compression
    put32(out, pixelBytes);
    put32(out, 2835); // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = img.height - 1; y >= 0; --y) {
        size_t rowStart = out.size();
        for (int x = 0; x < img.width; ++x) {
            const Color& c = img.at(x, y);
            out.push_back(toByte(c.b));
            out.push_back(toByte(c.g));
            out.push_back(toByte(c.r));
        }
        while (out.size() - rowStart < rowBytes)
            out.push_back(0);
    }
    return out;
}

bool writeBmp(const std::string& path, const Image& img) {
    std::vector<uint8_t> bytes = encodeBmp(img);
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!f)
        return false;
    return std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
}

} // namespace tex
