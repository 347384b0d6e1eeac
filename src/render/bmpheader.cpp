// Bitmap header parsing: file header, core and info headers, colour table, bit-field masks.
#include "render/bmpformat_local.h"

#include <cstring>

#include "render/bytereader_local.h"
#include "render/image.h"

namespace {

constexpr uint32_t CoreHeaderSize = 12;
constexpr uint32_t InfoHeaderSize = 40;
constexpr uint64_t FileHeaderSize = 14;

uint32_t DefaultTableEntries(uint16_t bitCount) {
    switch (bitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

bool SupportedForm(uint16_t bitCount, uint32_t compression) {
    switch (compression) {
    case BMP_RGB:
        return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 ||
               bitCount == 24 || bitCount == 32;
    case BMP_RLE8:
        return bitCount == 8;
    case BMP_RLE4:
        return bitCount == 4;
    case BMP_BITFIELDS:
        return bitCount == 16 || bitCount == 32;
    default:
        return false;
    }
}

} // namespace

BmpStatus ParseBmpHeader(const uint8_t* bytes, size_t size, BmpInfo* info) {
    std::memset(info, 0, sizeof *info);

    uint64_t header = 0;
    bool fileHeader = size >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
    uint32_t fileBitsOffset = 0;
    if (fileHeader) {
        if (!ReadU32(bytes, size, 10, &fileBitsOffset))
            return BMP_UNKNOWN_FORMAT;
        header = FileHeaderSize;
    }

    uint32_t headerSize;
    if (!ReadU32(bytes, size, header, &headerSize))
        return BMP_UNKNOWN_FORMAT;
    if (headerSize != CoreHeaderSize && headerSize != InfoHeaderSize)
        return BMP_UNKNOWN_FORMAT;
    if (!SpanFits(size, header, headerSize))
        return BMP_UNKNOWN_FORMAT;

    uint32_t entries;
    uint32_t entrySize;
    uint32_t clrUsed = 0;
    if (headerSize == CoreHeaderSize) {
        uint16_t w = 0, h = 0, bits = 0;
        ReadU16(bytes, size, header + 4, &w);
        ReadU16(bytes, size, header + 6, &h);
        ReadU16(bytes, size, header + 10, &bits);
        info->width = w;
        info->height = h;
        info->bitCount = bits;
        info->compression = BMP_RGB;
        entries = DefaultTableEntries(bits);
        entrySize = 3;
    } else {
        uint16_t bits = 0;
        ReadI32(bytes, size, header + 4, &info->width);
        ReadI32(bytes, size, header + 8, &info->height);
        ReadU16(bytes, size, header + 14, &bits);
        ReadU32(bytes, size, header + 16, &info->compression);
        ReadU32(bytes, size, header + 20, &info->sizeImage);
        ReadU32(bytes, size, header + 32, &clrUsed);
        info->bitCount = bits;
        entries = clrUsed != 0 ? clrUsed : DefaultTableEntries(bits);
        entrySize = 4;
    }

    if (!SupportedForm(info->bitCount, info->compression))
        return BMP_CONVERSION_ERROR;
    if (info->width <= 0 || info->height == 0 || info->height == INT32_MIN)
        return BMP_CONVERSION_ERROR;
    info->topDown = info->height < 0;
    info->rows = static_cast<uint32_t>(info->topDown ? -info->height : info->height);
    if (static_cast<uint64_t>(info->width) * info->rows > MaxImagePixels)
        return BMP_OUT_OF_MEMORY;

    // Bit-field masks sit between an info header and its colour table.
    uint64_t table = header + headerSize;
    if (info->compression == BMP_BITFIELDS) {
        for (int i = 0; i < 3; ++i)
            if (!ReadU32(bytes, size, table + 4u * i, &info->masks[i]))
                return BMP_CONVERSION_ERROR;
        table += 12;
    } else if (info->bitCount == 16) {
        info->masks[0] = 0x7C00;
        info->masks[1] = 0x03E0;
        info->masks[2] = 0x001F;
    } else if (info->bitCount == 32) {
        info->masks[0] = 0x00FF0000;
        info->masks[1] = 0x0000FF00;
        info->masks[2] = 0x000000FF;
    }

    uint64_t tableBytes = static_cast<uint64_t>(entries) * entrySize;
    if (!SpanFits(size, table, tableBytes))
        return BMP_CONVERSION_ERROR;
    for (uint32_t i = 0; i < entries && i < 256; ++i) {
        const uint8_t* e = bytes + table + static_cast<uint64_t>(i) * entrySize;
        info->palette[i][0] = e[2];
        info->palette[i][1] = e[1];
        info->palette[i][2] = e[0];
    }

    info->bitsOffset = fileHeader ? fileBitsOffset : table + tableBytes;
    if (info->bitsOffset > size)
        return BMP_CONVERSION_ERROR;
    info->bitsSize = size - info->bitsOffset;
    if ((info->compression == BMP_RLE8 || info->compression == BMP_RLE4) && info->sizeImage != 0 &&
        info->sizeImage < info->bitsSize)
        info->bitsSize = info->sizeImage;
    return BMP_OK;
}
