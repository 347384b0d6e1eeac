// Triangulation of flattened glyph contours with GLU's tessellator (no GL context needed).
#pragma once

#include "outline.h"

#include <cstdint>
#include <vector>

struct Triangulation {
    std::vector<Point2> points;      // the contour points in order, then any made at crossings
    std::vector<uint32_t> triangles; // three point indexes each
    bool ok = false;
};

// Fills by the non-zero winding rule, as TrueType outlines are meant to be filled.
Triangulation triangulate(const std::vector<Contour>& contours);
