// Decoding of SGI image files (1 to 4 channels, verbatim or run-length encoded) into RGBA.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct SgiImage {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<uint8_t> rgba; // width x height RGBA, bottom row first
};

// Larger images are refused: no bitmap font needs them and a tiny run-length file could
// otherwise claim gigabytes.
constexpr int SGI_MAX_SIDE = 4096;

// False for a bad magic, unsupported layout, a size beyond the limit, or data that runs out or
// does not fill its rows exactly.
bool sgiDecode(const uint8_t* data, size_t size, SgiImage& image);
