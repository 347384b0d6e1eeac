// Internal to the bitmap decoder: the header as parsed and validated, and the pixel conversion.
#pragma once

#include <cstddef>
#include <cstdint>

enum BmpStatus {
    BMP_OK,
    BMP_UNKNOWN_FORMAT,   // header missing, cut short, or of a size other than 12 or 40
    BMP_CONVERSION_ERROR, // unsupported depth/compression, bad dimensions, data cut short
    BMP_OUT_OF_MEMORY     // the picture is larger than MaxImagePixels
};

enum : uint32_t { BMP_RGB = 0, BMP_RLE8 = 1, BMP_RLE4 = 2, BMP_BITFIELDS = 3 };

struct BmpInfo {
    int32_t width;
    int32_t height; // as stored: negative for top-down rows
    uint16_t bitCount;
    uint32_t compression;
    uint32_t sizeImage;
    uint32_t rows;           // |height|
    bool topDown;            // the file stores the top row first
    uint8_t palette[256][3]; // R, G, B; entries past the file's table are black
    uint32_t masks[3];       // red, green, blue (16 and 32 bits)
    uint64_t bitsOffset;     // start of the pixel bits in the block
    uint64_t bitsSize;       // bytes of pixel bits available from bitsOffset
};

// Reads and checks the headers, colour table and masks of a whole bitmap held in memory.
BmpStatus ParseBmpHeader(const uint8_t* bytes, size_t size, BmpInfo* info);

// Converts the pixel bits into `out` (width * rows * 3 bytes, RGB, bottom row first). `out` must
// be zero-filled for the run-length forms, whose skipped pixels stay black.
BmpStatus DecodeBmpPixels(const uint8_t* bytes, const BmpInfo& info, uint8_t* out);
BmpStatus DecodeBmpRle(const uint8_t* bytes, const BmpInfo& info, uint8_t* out);
