// The window icon file: a 32-bit uncompressed bitmap with alpha, as the asset generator writes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba; // top row first, 4 bytes a pixel
};

// Decodes a whole file held in memory; false for anything but a 32-bit uncompressed bitmap of
// 1 to 1024 pixels a side whose pixels all lie inside the file.
bool decodeIconBmp(const uint8_t* bytes, size_t size, IconImage& out);
