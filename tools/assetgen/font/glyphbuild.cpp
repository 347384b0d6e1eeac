// Glyph building: coarser flattening is tried until the glyph fits the file's 255-item limits.
#include "glyphbuild.h"

#include "outline.h"
#include "tessellate.h"

#include <algorithm>

namespace {

constexpr size_t kMaxItems = 255;

bool fits(const std::vector<Contour>& contours, const Triangulation& t) {
    return contours.size() <= kMaxItems && t.points.size() <= kMaxItems &&
           t.triangles.size() / 3 <= kMaxItems;
}

} // namespace

bool fontCarriesCode(unsigned code) {
    return (code > 32 && code < 127) || (code > 160 && code < 256);
}

bool buildSymbol(FT_Face face, unsigned long code, const FontFrame& frame, FontFileSymbol& out) {
    FT_UInt index = FT_Get_Char_Index(face, code);
    if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) != 0)
        return false;
    if (face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return false;

    double tolerance = face->units_per_EM / 512.0;
    std::vector<Contour> contours;
    Triangulation tri;
    for (int attempt = 0; attempt < 12; ++attempt, tolerance *= 1.5) {
        contours = flattenOutline(face->glyph->outline, tolerance);
        if (contours.empty())
            return false;
        if (pointCount(contours) > kMaxItems)
            continue;
        tri = triangulate(contours);
        if (tri.ok && !tri.triangles.empty() && fits(contours, tri))
            break;
        tri.ok = false;
    }
    if (!tri.ok)
        return false;

    double minX = tri.points[0].x, maxX = minX;
    for (const Point2& p : tri.points) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
    }
    double centreX = (minX + maxX) / 2;
    double middle = (frame.top + frame.bottom) / 2;
    double scale = 2.0 / (frame.top - frame.bottom);

    out = FontFileSymbol();
    out.vertexCount = uint8_t(tri.points.size());
    out.triangleCount = uint8_t(tri.triangles.size() / 3);
    out.contourCount = uint8_t(contours.size());
    for (const Point2& p : tri.points) {
        float x = float((p.x - centreX) * scale);
        float y = float((p.y - middle) * scale);
        out.vertices.push_back(x);
        out.vertices.push_back(y);
        out.minX = std::min(out.minX, x);
        out.maxX = std::max(out.maxX, x);
        out.minY = std::min(out.minY, y);
        out.maxY = std::max(out.maxY, y);
    }
    for (uint32_t i : tri.triangles)
        out.triangles.push_back(uint8_t(i));
    size_t end = 0;
    for (const Contour& c : contours) {
        end += c.size();
        out.contourEnd.push_back(uint8_t(end - 1));
    }
    return true;
}
