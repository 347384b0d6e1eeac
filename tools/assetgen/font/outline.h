// Glyph outlines from FreeType, flattened into closed polygons in font units.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <vector>

struct Point2 {
    double x, y;
};

using Contour = std::vector<Point2>; // closed: the last point joins the first

// Flattens the glyph's curves so no chord strays more than `tolerance` font units from its curve.
// Repeated points and the closing duplicate are dropped; contours of fewer than 3 points vanish.
std::vector<Contour> flattenOutline(const FT_Outline& outline, double tolerance);

size_t pointCount(const std::vector<Contour>& contours);
