// SGI and "BMF" file building for tests.
#include "sgiwriter.h"

#include <cstring>

namespace {

void putBE(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(uint8_t(v >> (8 * i)));
}

std::vector<uint8_t> header(int width, int height, int channels, bool rle) {
    std::vector<uint8_t> out;
    putBE(out, 474, 2);
    out.push_back(rle ? 1 : 0);
    out.push_back(1);
    putBE(out, 3, 2);
    putBE(out, uint32_t(width), 2);
    putBE(out, uint32_t(height), 2);
    putBE(out, uint32_t(channels), 2);
    out.resize(512, 0);
    return out;
}

} // namespace

std::vector<uint8_t> sgiVerbatim(int width, int height, int channels,
                                 const std::vector<uint8_t>& planes) {
    auto out = header(width, height, channels, false);
    out.insert(out.end(), planes.begin(), planes.end());
    return out;
}

std::vector<uint8_t> sgiRle(int width, int height, int channels,
                            const std::vector<uint8_t>& planes) {
    auto out = header(width, height, channels, true);
    size_t rows = size_t(height) * channels;
    std::vector<std::vector<uint8_t>> encoded(rows);
    for (size_t r = 0; r < rows; ++r) {
        const uint8_t* row = &planes[r * width];
        for (int x = 0; x < width;) {
            int n = std::min(127, width - x);
            encoded[r].push_back(uint8_t(0x80 | n));
            encoded[r].insert(encoded[r].end(), row + x, row + x + n);
            x += n;
        }
        encoded[r].push_back(0);
    }
    size_t offset = 512 + rows * 8;
    for (size_t r = 0; r < rows; ++r) {
        putBE(out, uint32_t(offset), 4);
        offset += encoded[r].size();
    }
    for (size_t r = 0; r < rows; ++r)
        putBE(out, uint32_t(encoded[r].size()), 4);
    for (auto& e : encoded)
        out.insert(out.end(), e.begin(), e.end());
    return out;
}

std::vector<uint8_t> bmfFile(const std::vector<CellSpec>& cells, const std::vector<uint8_t>& sgi) {
    std::vector<uint8_t> out = {'B', 'M', 'F'};
    out.resize(3 + 96, 0);
    std::memcpy(out.data() + 3, "bitmap test", 11);
    float table[256][4] = {};
    for (const CellSpec& c : cells) {
        table[c.code][0] = c.x;
        table[c.code][1] = c.y;
        table[c.code][2] = c.width;
        table[c.code][3] = c.height;
    }
    for (auto& cell : table)
        for (float f : cell) {
            uint32_t bits;
            std::memcpy(&bits, &f, 4);
            for (int i = 0; i < 4; ++i)
                out.push_back(uint8_t(bits >> (8 * i)));
        }
    out.insert(out.end(), sgi.begin(), sgi.end());
    return out;
}
