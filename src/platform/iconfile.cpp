// Reading the window icon: 32-bit BGRA bitmaps, either row order, every field bounds-checked.
#include "platform/iconfile.h"

namespace {

uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

} // namespace

bool decodeIconBmp(const uint8_t* bytes, size_t size, IconImage& out) {
    constexpr size_t kFileHeader = 14, kInfoHeader = 40;
    if (!bytes || size < kFileHeader + kInfoHeader || bytes[0] != 'B' || bytes[1] != 'M') {
        return false;
    }
    const uint8_t* info = bytes + kFileHeader;
    const uint32_t offset = le32(bytes + 10);
    const int32_t width = static_cast<int32_t>(le32(info + 4));
    const int32_t stored = static_cast<int32_t>(le32(info + 8));
    const uint16_t bits = le16(info + 14);
    const uint32_t compression = le32(info + 16);
    const bool topDown = stored < 0;
    const int64_t height = topDown ? -static_cast<int64_t>(stored) : stored;
    if (le32(info) < kInfoHeader || bits != 32 || (compression != 0 && compression != 3) ||
        width < 1 || width > 1024 || height < 1 || height > 1024) {
        return false;
    }
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    if (offset > size || size - offset < rowBytes * static_cast<size_t>(height)) {
        return false;
    }
    out.width = width;
    out.height = static_cast<int>(height);
    out.rgba.assign(rowBytes * static_cast<size_t>(height), 0);
    for (int64_t row = 0; row < height; ++row) {
        const int64_t fileRow = topDown ? row : height - 1 - row;
        const uint8_t* src = bytes + offset + rowBytes * static_cast<size_t>(fileRow);
        uint8_t* dst = out.rgba.data() + rowBytes * static_cast<size_t>(row);
        for (int32_t x = 0; x < width; ++x) {
            dst[x * 4 + 0] = src[x * 4 + 2];
            dst[x * 4 + 1] = src[x * 4 + 1];
            dst[x * 4 + 2] = src[x * 4 + 0];
            dst[x * 4 + 3] = src[x * 4 + 3];
        }
    }
    return true;
}
