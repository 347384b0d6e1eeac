// The "BMF" bitmap-font file: name, 256 glyph cells and an SGI image (no GL).
#pragma once

#include "font/sgiimage.h"

#include <cstddef>
#include <cstdint>

struct BmfCell {
    float x = 0, y = 0, width = 0, height = 0; // in texture coordinates
};

struct BmfFile {
    char name[97] = {};
    BmfCell cells[256];
    SgiImage image;
};

// False for a wrong magic, a file too short for its cells, or a bad image.
bool bmfParse(const uint8_t* data, size_t size, BmfFile& file);
