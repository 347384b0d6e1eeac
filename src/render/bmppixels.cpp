// Uncompressed bitmap rows (1 to 32 bits per pixel) converted to tightly packed RGB.
#include "render/bmpformat_local.h"

#include <cstring>

namespace {

// A colour mask turned into a shift and a scale to 0..255.
struct Channel {
    uint32_t mask;
    int shift;
    uint32_t max;
};

Channel MakeChannel(uint32_t mask) {
    Channel c{mask, 0, 0};
    if (mask == 0)
        return c;
    while (((mask >> c.shift) & 1u) == 0)
        ++c.shift;
    c.max = mask >> c.shift;
    return c;
}

inline uint8_t Scale(const Channel& c, uint32_t pixel) {
    if (c.max == 0)
        return 0;
    uint64_t v = (pixel & c.mask) >> c.shift;
    return static_cast<uint8_t>((v * 255 + c.max / 2) / c.max);
}

void Row8(const uint8_t* src, const BmpInfo& info, uint8_t* dst) {
    for (int32_t x = 0; x < info.width; ++x) {
        const uint8_t* rgb = info.palette[src[x]];
        dst[0] = rgb[0];
        dst[1] = rgb[1];
        dst[2] = rgb[2];
        dst += 3;
    }
}

void IndexedRow(const uint8_t* src, const BmpInfo& info, uint8_t* dst) {
    const int bits = info.bitCount;
    const int perByte = 8 / bits;
    const uint32_t indexMask = (1u << bits) - 1;
    for (int32_t x = 0; x < info.width; ++x) {
        uint8_t byte = src[x / perByte];
        int shift = 8 - bits * (x % perByte + 1);
        const uint8_t* rgb = info.palette[(byte >> shift) & indexMask];
        dst[0] = rgb[0];
        dst[1] = rgb[1];
        dst[2] = rgb[2];
        dst += 3;
    }
}

void Row24(const uint8_t* src, int32_t width, uint8_t* dst) {
    for (int32_t x = 0; x < width; ++x) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
        src += 3;
        dst += 3;
    }
}

void MaskedRow(const uint8_t* src, const BmpInfo& info, const Channel* ch, uint8_t* dst) {
    const bool wide = info.bitCount == 32;
    for (int32_t x = 0; x < info.width; ++x) {
        uint32_t pixel = wide ? static_cast<uint32_t>(src[0]) | (src[1] << 8) | (src[2] << 16) |
                                    (static_cast<uint32_t>(src[3]) << 24)
                              : static_cast<uint32_t>(src[0] | (src[1] << 8));
        src += wide ? 4 : 2;
        dst[0] = Scale(ch[0], pixel);
        dst[1] = Scale(ch[1], pixel);
        dst[2] = Scale(ch[2], pixel);
        dst += 3;
    }
}

} // namespace

BmpStatus DecodeBmpPixels(const uint8_t* bytes, const BmpInfo& info, uint8_t* out) {
    const uint64_t stride = (static_cast<uint64_t>(info.width) * info.bitCount + 31) / 32 * 4;
    if (stride * info.rows > info.bitsSize)
        return BMP_CONVERSION_ERROR;
    const Channel ch[3] = {MakeChannel(info.masks[0]), MakeChannel(info.masks[1]),
                           MakeChannel(info.masks[2])};
    const uint64_t outStride = static_cast<uint64_t>(info.width) * 3;
    for (uint32_t r = 0; r < info.rows; ++r) {
        const uint8_t* src = bytes + info.bitsOffset + r * stride;
        uint32_t outRow = info.topDown ? info.rows - 1 - r : r;
        uint8_t* dst = out + outRow * outStride;
        switch (info.bitCount) {
        case 1:
        case 4:
            IndexedRow(src, info, dst);
            break;
        case 8:
            Row8(src, info, dst);
            break;
        case 24:
            Row24(src, info.width, dst);
            break;
        default:
            MaskedRow(src, info, ch, dst);
            break;
        }
    }
    return BMP_OK;
}
