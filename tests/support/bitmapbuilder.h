// Bitmap files of every form made in memory, for the image tests, the fuzz seeds and the benches.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace bmpbuild {

using Rgb = std::array<uint8_t, 3>;
// Colour, palette index or stored word of picture pixel (x, y), y counted from the bottom row.
using Picture = std::function<Rgb(int x, int y)>;
using Words = std::function<uint32_t(int x, int y)>;

struct Layout {
    int32_t width = 1, height = 1; // a negative height: rows stored top row first
    uint16_t bitCount = 24;
    uint32_t compression = 0, clrUsed = 0, sizeImage = 0; // info header fields
    bool fileHeader = true, coreHeader = false; // the core header: 12 bytes, 3-byte colour entries
    uint32_t headerSize = 0;         // 0: 12 or 40 as coreHeader says; else written as is
    std::vector<Rgb> palette;        // written as the colour table
    std::vector<uint32_t> masks;     // written after an info header (bit fields)
    std::vector<uint8_t> bits;       // pixel bits exactly as stored
    int64_t bitsOffsetOverride = -1; // file header offset field, when >= 0
};

std::vector<uint8_t> build(const Layout& layout);

// Rows padded to four bytes, top-down ones from the top. Indices below 8 bits pack high bits first;
// wider words are little-endian (so 24-bit pixels come out blue, green, red).
std::vector<uint8_t> pack(int width, int rows, int bitCount, bool topDown, const Words& value);
std::vector<uint8_t> pack24(int width, int rows, bool topDown, const Picture& pic);

// A 24-bit picture with a different colour in every pixel, and a 24-bit file of it.
Rgb gradient(int x, int y);
std::vector<uint8_t> gradientFile(int width, int height);
// A palette whose entries differ in every channel.
std::vector<Rgb> palette(int entries);

} // namespace bmpbuild
