// Helpers for the font tests: synthetic fonts built in memory, temporary files, GL feedback
// capture.
#pragma once

#include "font/fontfile.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// A rectangle glyph: 4 vertices, 2 triangles, 1 contour.
FontFileSymbol rectSymbol(float x0, float y0, float x1, float y1);

// A font file holding the given symbols.
std::vector<uint8_t> fontBytes(const std::vector<std::pair<char, FontFileSymbol>>& symbols,
                               const char* name = "test font");

// A file in the temporary folder, removed when the object goes.
class TempFile {
  public:
    explicit TempFile(const std::vector<uint8_t>& bytes);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const char* path() const { return path_.c_str(); }

  private:
    std::string path_;
};

// The test font used by the layout tests (glyph extents in comments of fonttestutil.cpp).
std::vector<uint8_t> layoutFontBytes();

struct FbVertex {
    float x, y, z; // object coordinates under the capture's projection
    float color[4];
    float tex[4];
};

struct FbPrimitive {
    enum Kind { POLYGON, LINE, POINT } kind;
    std::vector<FbVertex> vertices;
};

// Runs `draw` in feedback mode under an orthographic projection of 10 pixels per unit centred on
// the origin (x -32..32, y -24..24, z -10..10) and returns what reached the rasteriser.
std::vector<FbPrimitive> captureFeedback(const std::function<void()>& draw);

// Groups of triangles, `perGlyph` triangles each, reduced to their x/y extents.
struct Box {
    float minX, minY, maxX, maxY;
};
std::vector<Box> glyphBoxes(const std::vector<FbPrimitive>& prims, size_t perGlyph = 2);

size_t countKind(const std::vector<FbPrimitive>& prims, FbPrimitive::Kind kind);
