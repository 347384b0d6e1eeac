// Helpers for the font tests: font, SGI and "BMF" files built in memory, and GL feedback capture.
#pragma once

#include "font/fontfile.h"

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// A rectangle glyph: 4 vertices, 2 triangles, 1 contour.
FontFileSymbol rectSymbol(float x0, float y0, float x1, float y1);
std::vector<uint8_t> fontBytes(const std::vector<std::pair<char, FontFileSymbol>>& symbols);
// The font of the layout tests: A [-0.5,0.5]x[-0.5,0.5], B [-0.3,0.3]x[-0.8,0.6],
// C [-0.6,0.2]x[-0.4,0.9], a symbol for ' ', e-acute [-0.25,0.25]x[-0.5,0.75].
std::vector<uint8_t> layoutFontBytes();

// SGI images of width x height samples per channel, planes channel-major and bottom row first;
// run-length files hold each row as literal runs.
std::vector<uint8_t> sgiFile(int width, int height, int channels,
                             const std::vector<uint8_t>& planes, bool rle);
struct CellSpec {
    unsigned char code;
    float x, y, width, height;
};
std::vector<uint8_t> bmfFile(const std::vector<CellSpec>& cells, const std::vector<uint8_t>& sgi);

struct FbPrimitive {
    enum Kind { POLYGON, LINE, POINT } kind;
    std::vector<std::array<float, 3>> vertices; // object x, y, z under the capture's projection
};
// What reached the rasteriser while `draw` ran, in object units under the text tests' view: an
// orthographic projection of 10 pixels per unit centred on the origin (x -32..32, y -24..24,
// z -10..10) on the whole 640 x 480 window.
std::vector<FbPrimitive> captureFeedback(const std::function<void()>& draw);
size_t countKind(const std::vector<FbPrimitive>& prims, FbPrimitive::Kind kind);

// Glyphs of two triangles each reduced to their x/y extents.
struct Box {
    float minX, minY, maxX, maxY;
};
std::vector<Box> glyphBoxes(const std::vector<FbPrimitive>& prims);
