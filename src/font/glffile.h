// The .glf outline-font file: its in-memory records, parsing and writing (no GL).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct GlfSymbol {
    uint8_t vertexCount = 0;
    uint8_t triangleCount = 0;
    uint8_t contourCount = 0;
    std::vector<float> vertices;     // x, y pairs
    std::vector<uint8_t> triangles;  // three vertex indexes per triangle
    std::vector<uint8_t> contourEnd; // index of the last vertex of each contour
    float minX = 10, maxX = -10, minY = 10, maxY = -10;
};

struct GlfFont {
    char name[97] = {};
    uint8_t symbolCount = 0;
    std::unique_ptr<GlfSymbol> symbols[256];
};

enum GlfResult {
    GLF_OK,
    GLF_BAD_MAGIC,
    GLF_REPEATED_SYMBOL,
    GLF_TRUNCATED,
    GLF_BAD_INDEX, // a triangle or contour end names a vertex the glyph does not have
};

// Fills `font` from a whole file held in memory; on failure `font` is left empty.
GlfResult glfParse(const uint8_t* data, size_t size, GlfFont& font);

// Serialises a font, symbols in character-code order; empty when it holds more than 255 symbols.
std::vector<uint8_t> glfWrite(const GlfFont& font);

// Reads a whole file; false when it cannot be opened or read.
bool readWholeFile(const char* fileName, std::vector<uint8_t>& out);
