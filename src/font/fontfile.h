// The .glf outline-font file: its in-memory records, parsing and writing (no GL).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct FontFileSymbol {
    uint8_t vertexCount = 0;
    uint8_t triangleCount = 0;
    uint8_t contourCount = 0;
    std::vector<float> vertices;     // x, y pairs
    std::vector<uint8_t> triangles;  // three vertex indexes per triangle
    std::vector<uint8_t> contourEnd; // index of the last vertex of each contour
    float minX = 10, maxX = -10, minY = 10, maxY = -10;
};

struct FontFileData {
    char name[97] = {};
    uint8_t symbolCount = 0;
    std::unique_ptr<FontFileSymbol> symbols[256];
};

enum FontFileStatus {
    FONT_FILE_OK,
    FONT_FILE_BAD_MAGIC,
    FONT_FILE_REPEATED_SYMBOL,
    FONT_FILE_TRUNCATED,
    FONT_FILE_BAD_INDEX, // a triangle or contour end names a vertex the glyph does not have
};

// Fills `font` from a whole file held in memory; on failure `font` is left empty.
FontFileStatus parseFontFile(const uint8_t* data, size_t size, FontFileData& font);

// Serialises a font, symbols in character-code order; empty when it holds more than 255 symbols.
std::vector<uint8_t> writeFontFile(const FontFileData& font);

// Reads a whole file; false when it cannot be opened or read.
bool readWholeFile(const char* fileName, std::vector<uint8_t>& out);
