// RGB pictures the texture generator paints, and the 24-bit BMP file writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tex {

struct Color {
    float r, g, b; // 0..1
};

Color mix(Color a, Color b, float t);
Color scale(Color c, float k);

// Row 0 is the top row; x grows right. Pixels as floats until written.
struct Image {
    int width = 0, height = 0;
    std::vector<Color> px;
    Image(int w, int h, Color fill = {0, 0, 0}) : width(w), height(h), px(size_t(w) * h, fill) {}
    Color& at(int x, int y) { return px[size_t(y) * width + x]; }
    const Color& at(int x, int y) const { return px[size_t(y) * width + x]; }
    // Wraps coordinates, so painters can draw across the seams of tiling textures.
    Color& wrap(int x, int y);
    // Alpha-blends a colour over a pixel (wrapping).
    void blend(int x, int y, Color c, float alpha);
    void fillRect(int x0, int y0, int x1, int y1, Color c, float alpha = 1.0f);
};

// File bytes of an uncompressed 24-bit bottom-up BMP with a 40-byte info header.
std::vector<uint8_t> encodeBmp(const Image& img);
bool writeBmp(const std::string& path, const Image& img);

} // namespace tex
