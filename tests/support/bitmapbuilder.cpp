// Bitmap files of every form made in memory.
#include "support/bitmapbuilder.h"

#include <algorithm>

namespace bmpbuild {

namespace {

void putLE(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

} // namespace

std::vector<uint8_t> build(const Layout& s) {
    std::vector<uint8_t> dib;
    uint32_t headerSize = s.headerSize ? s.headerSize : (s.coreHeader ? 12 : 40);
    const int sizeBytes = s.coreHeader ? 2 : 4;
    putLE(dib, headerSize, 4);
    for (int32_t v : {s.width, s.height})
        putLE(dib, static_cast<uint32_t>(v), sizeBytes);
    putLE(dib, 1, 2), putLE(dib, s.bitCount, 2);
    if (!s.coreHeader) {
        for (uint32_t v : {s.compression, s.sizeImage, 2835u, 2835u, s.clrUsed, 0u})
            putLE(dib, v, 4);
        dib.resize(std::max<size_t>(dib.size(), headerSize), 0);
        for (uint32_t m : s.masks)
            putLE(dib, m, 4);
    }
    for (const Rgb& c : s.palette)
        putLE(dib, static_cast<uint32_t>(c[0] << 16 | c[1] << 8 | c[2]), s.coreHeader ? 3 : 4);
    std::vector<uint8_t> out;
    if (s.fileHeader) {
        const auto offset = static_cast<uint32_t>(
            s.bitsOffsetOverride >= 0 ? s.bitsOffsetOverride : int64_t(14 + dib.size()));
        out = {'B', 'M'};
        for (uint32_t v : {static_cast<uint32_t>(14 + dib.size() + s.bits.size()), 0u, offset})
            putLE(out, v, 4);
    }
    out.insert(out.end(), dib.begin(), dib.end());
    out.insert(out.end(), s.bits.begin(), s.bits.end());
    return out;
}

std::vector<uint8_t> pack(int width, int rows, int bitCount, bool topDown, const Words& value) {
    const size_t stride = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
    std::vector<uint8_t> bits;
    for (int r = 0; r < rows; ++r) {
        std::vector<uint8_t> row;
        const int y = topDown ? rows - 1 - r : r;
        for (int x = 0; x < width; ++x) {
            if (bitCount >= 8) {
                putLE(row, value(x, y), bitCount / 8);
                continue;
            }
            const int at = x * bitCount;
            row.resize(at / 8 + 1, 0);
            row[at / 8] |= static_cast<uint8_t>((value(x, y) & ((1u << bitCount) - 1))
                                                << (8 - bitCount - at % 8));
        }
        row.resize(stride, 0);
        bits.insert(bits.end(), row.begin(), row.end());
    }
    return bits;
}

std::vector<uint8_t> pack24(int width, int rows, bool topDown, const Picture& pic) {
    return pack(width, rows, 24, topDown, [&](int x, int y) {
        Rgb c = pic(x, y);
        return static_cast<uint32_t>(c[0] << 16 | c[1] << 8 | c[2]);
    });
}

Rgb gradient(int x, int y) {
    return Rgb{static_cast<uint8_t>(x * 37 + y * 11 + 1), static_cast<uint8_t>(y * 53 + 7),
               static_cast<uint8_t>(x * 5 + y * 3 + 200)};
}

std::vector<uint8_t> gradientFile(int width, int height) {
    Layout s;
    s.width = width, s.height = height;
    s.bits = pack24(width, height, false, gradient);
    return build(s);
}

std::vector<Rgb> palette(int entries) {
    std::vector<Rgb> p;
    for (int i = 0; i < entries; ++i)
        p.push_back(Rgb{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                        static_cast<uint8_t>(i * 7 + 3)});
    return p;
}

} // namespace bmpbuild
