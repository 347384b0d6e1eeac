// Builds SGI image and "BMF" files in memory for the bitmap-font tests.
#pragma once

#include <cstdint>
#include <vector>

// planes: channel-major, bottom row first, width x height samples per channel.
std::vector<uint8_t> sgiVerbatim(int width, int height, int channels,
                                 const std::vector<uint8_t>& planes);
// Run-length encoded, each row as literal runs of at most 127 samples.
std::vector<uint8_t> sgiRle(int width, int height, int channels,
                            const std::vector<uint8_t>& planes);

struct CellSpec {
    unsigned char code;
    float x, y, width, height;
};
std::vector<uint8_t> bmfFile(const std::vector<CellSpec>& cells, const std::vector<uint8_t>& sgi);
