// Bitmap files of every form made in memory, for the image tests, the fuzz seeds and the benches.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace bmptest {

using Rgb = std::array<uint8_t, 3>;
// Colour of picture pixel (x, y), y counted from the bottom row.
using Picture = std::function<Rgb(int x, int y)>;
using Indices = std::function<uint8_t(int x, int y)>;

struct BmpLayout {
    int32_t width = 1;
    int32_t height = 1; // negative: rows stored top row first
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    bool fileHeader = true;
    bool coreHeader = false;         // the old 12-byte header (3-byte colour entries)
    uint32_t headerSize = 0;         // 0: 12 or 40 as coreHeader says; else written as is
    uint32_t clrUsed = 0;            // info header field
    uint32_t sizeImage = 0;          // info header field
    std::vector<Rgb> palette;        // written as the colour table
    std::vector<uint32_t> masks;     // written after an info header (bit fields)
    std::vector<uint8_t> bits;       // pixel bits exactly as stored
    int64_t bitsOffsetOverride = -1; // file header offset field, when >= 0
};

inline void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

inline std::vector<uint8_t> BuildBmp(const BmpLayout& s) {
    std::vector<uint8_t> dib;
    uint32_t headerSize = s.headerSize ? s.headerSize : (s.coreHeader ? 12 : 40);
    put32(dib, headerSize);
    if (s.coreHeader) {
        put16(dib, static_cast<uint32_t>(s.width));
        put16(dib, static_cast<uint32_t>(s.height));
        put16(dib, 1);
        put16(dib, s.bitCount);
    } else {
        put32(dib, static_cast<uint32_t>(s.width));
        put32(dib, static_cast<uint32_t>(s.height));
        put16(dib, 1);
        put16(dib, s.bitCount);
        put32(dib, s.compression);
        put32(dib, s.sizeImage);
        put32(dib, 2835);
        put32(dib, 2835);
        put32(dib, s.clrUsed);
        put32(dib, 0);
        while (dib.size() < headerSize)
            dib.push_back(0);
        for (uint32_t m : s.masks)
            put32(dib, m);
    }
    for (const Rgb& c : s.palette) {
        dib.push_back(c[2]);
        dib.push_back(c[1]);
        dib.push_back(c[0]);
        if (!s.coreHeader)
            dib.push_back(0);
    }
    std::vector<uint8_t> out;
    if (s.fileHeader) {
        uint32_t offset = s.bitsOffsetOverride >= 0 ? static_cast<uint32_t>(s.bitsOffsetOverride)
                                                    : static_cast<uint32_t>(14 + dib.size());
        out.push_back('B');
        out.push_back('M');
        put32(out, static_cast<uint32_t>(14 + dib.size() + s.bits.size()));
        put32(out, 0);
        put32(out, offset);
    }
    out.insert(out.end(), dib.begin(), dib.end());
    out.insert(out.end(), s.bits.begin(), s.bits.end());
    return out;
}

inline size_t Stride(int width, int bitCount) {
    return (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
}

// File row r holds picture row y: bottom-up files start at the bottom.
inline int PictureRow(int fileRow, int rows, bool topDown) {
    return topDown ? rows - 1 - fileRow : fileRow;
}

inline std::vector<uint8_t> Pack24(int width, int rows, bool topDown, const Picture& pic) {
    std::vector<uint8_t> bits;
    size_t stride = Stride(width, 24);
    for (int r = 0; r < rows; ++r) {
        size_t start = bits.size();
        int y = PictureRow(r, rows, topDown);
        for (int x = 0; x < width; ++x) {
            Rgb c = pic(x, y);
            bits.push_back(c[2]);
            bits.push_back(c[1]);
            bits.push_back(c[0]);
        }
        bits.resize(start + stride, 0);
    }
    return bits;
}

inline std::vector<uint8_t> PackIndexed(int width, int rows, int bitCount, bool topDown,
                                        const Indices& index) {
    std::vector<uint8_t> bits;
    size_t stride = Stride(width, bitCount);
    for (int r = 0; r < rows; ++r) {
        std::vector<uint8_t> row(stride, 0);
        int y = PictureRow(r, rows, topDown);
        for (int x = 0; x < width; ++x) {
            int bitPos = x * bitCount;
            int shift = 8 - bitCount - bitPos % 8;
            row[bitPos / 8] |= static_cast<uint8_t>((index(x, y) & ((1 << bitCount) - 1)) << shift);
        }
        bits.insert(bits.end(), row.begin(), row.end());
    }
    return bits;
}

// 16- or 32-bit pixels given as raw values.
inline std::vector<uint8_t> PackWords(int width, int rows, int bitCount, bool topDown,
                                      const std::function<uint32_t(int, int)>& value) {
    std::vector<uint8_t> bits;
    size_t stride = Stride(width, bitCount);
    for (int r = 0; r < rows; ++r) {
        size_t start = bits.size();
        int y = PictureRow(r, rows, topDown);
        for (int x = 0; x < width; ++x) {
            if (bitCount == 16)
                put16(bits, value(x, y));
            else
                put32(bits, value(x, y));
        }
        bits.resize(start + stride, 0);
    }
    return bits;
}

// A run-length 8-bit stream that encodes each row as repeated runs of equal indices.
inline std::vector<uint8_t> EncodeRle8(int width, int rows, const Indices& index) {
    std::vector<uint8_t> out;
    for (int y = 0; y < rows; ++y) {
        int x = 0;
        while (x < width) {
            uint8_t v = index(x, y);
            int n = 1;
            while (x + n < width && n < 255 && index(x + n, y) == v)
                ++n;
            out.push_back(static_cast<uint8_t>(n));
            out.push_back(v);
            x += n;
        }
        out.push_back(0);
        out.push_back(0);
    }
    out.push_back(0);
    out.push_back(1);
    return out;
}

// A 24-bit picture with a different colour in every pixel (for pixel-by-pixel checks).
inline Rgb Gradient(int x, int y) {
    return Rgb{static_cast<uint8_t>(x * 37 + y * 11 + 1), static_cast<uint8_t>(y * 53 + 7),
               static_cast<uint8_t>(x * 5 + y * 3 + 200)};
}

// A 256-entry palette whose entries differ in every channel.
inline std::vector<Rgb> TestPalette(int entries) {
    std::vector<Rgb> p;
    p.reserve(static_cast<size_t>(entries));
    for (int i = 0; i < entries; ++i)
        p.push_back(Rgb{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                        static_cast<uint8_t>(i * 7 + 3)});
    return p;
}

inline bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    // An empty file is legal here; fwrite must not be handed the null pointer of an empty vector.
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace bmptest
