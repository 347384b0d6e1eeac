// Bitmap files of every form made in memory.
#include "support/bitmapbuilder.h"

namespace bmpbuild {

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

size_t stride(int width, int bitCount) {
    return (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
}

// File row r holds picture row y: bottom-up files start at the bottom.
int pictureRow(int fileRow, int rows, bool topDown) {
    return topDown ? rows - 1 - fileRow : fileRow;
}

} // namespace

std::vector<uint8_t> build(const Layout& s) {
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

std::vector<uint8_t> pack24(int width, int rows, bool topDown, const Picture& pic) {
    std::vector<uint8_t> bits;
    for (int r = 0; r < rows; ++r) {
        size_t start = bits.size();
        int y = pictureRow(r, rows, topDown);
        for (int x = 0; x < width; ++x) {
            Rgb c = pic(x, y);
            bits.push_back(c[2]);
            bits.push_back(c[1]);
            bits.push_back(c[0]);
        }
        bits.resize(start + stride(width, 24), 0);
    }
    return bits;
}

std::vector<uint8_t> packIndexed(int width, int rows, int bitCount, bool topDown,
                                 const Indices& index) {
    std::vector<uint8_t> bits;
    for (int r = 0; r < rows; ++r) {
        std::vector<uint8_t> row(stride(width, bitCount), 0);
        int y = pictureRow(r, rows, topDown);
        for (int x = 0; x < width; ++x) {
            int bitPos = x * bitCount;
            int shift = 8 - bitCount - bitPos % 8;
            row[bitPos / 8] |= static_cast<uint8_t>((index(x, y) & ((1 << bitCount) - 1)) << shift);
        }
        bits.insert(bits.end(), row.begin(), row.end());
    }
    return bits;
}

std::vector<uint8_t> packWords(int width, int rows, int bitCount, bool topDown,
                               const Words& value) {
    std::vector<uint8_t> bits;
    for (int r = 0; r < rows; ++r) {
        size_t start = bits.size();
        int y = pictureRow(r, rows, topDown);
        for (int x = 0; x < width; ++x) {
            if (bitCount == 16)
                put16(bits, value(x, y));
            else
                put32(bits, value(x, y));
        }
        bits.resize(start + stride(width, bitCount), 0);
    }
    return bits;
}

std::vector<uint8_t> encodeRle8(int width, int rows, const Indices& index) {
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

Rgb gradient(int x, int y) {
    return Rgb{static_cast<uint8_t>(x * 37 + y * 11 + 1), static_cast<uint8_t>(y * 53 + 7),
               static_cast<uint8_t>(x * 5 + y * 3 + 200)};
}

std::vector<uint8_t> gradientFile(int width, int height) {
    Layout s;
    s.width = width;
    s.height = height;
    s.bits = pack24(width, height, false, gradient);
    return build(s);
}

std::vector<Rgb> palette(int entries) {
    std::vector<Rgb> p;
    p.reserve(static_cast<size_t>(entries));
    for (int i = 0; i < entries; ++i)
        p.push_back(Rgb{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                        static_cast<uint8_t>(i * 7 + 3)});
    return p;
}

} // namespace bmpbuild
