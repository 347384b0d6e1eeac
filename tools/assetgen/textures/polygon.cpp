// Filled polygons with a soft edge, used for emblems and splash silhouettes.
#include "assetgen/textures/painters.h"

#include <algorithm>
#include <cmath>

namespace tex {

namespace {

// Distance from p to segment ab.
float segmentDistance(float px, float py, float ax, float ay, float bx, float by) {
    float dx = bx - ax, dy = by - ay;
    float len2 = dx * dx + dy * dy;
    float t =
        len2 > 0 ? std::max(0.0f, std::min(1.0f, ((px - ax) * dx + (py - ay) * dy) / len2)) : 0.0f;
    float cx = ax + t * dx - px, cy = ay + t * dy - py;
    return std::sqrt(cx * cx + cy * cy);
}

} // namespace

void fillPolygon(Image& img, const float* xy, int points, Color c) {
    float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
    for (int i = 0; i < points; ++i) {
        minX = std::min(minX, xy[2 * i]);
        maxX = std::max(maxX, xy[2 * i]);
        minY = std::min(minY, xy[2 * i + 1]);
        maxY = std::max(maxY, xy[2 * i + 1]);
    }
    int x0 = std::max(0, int(minX) - 1), x1 = std::min(img.width - 1, int(maxX) + 1);
    int y0 = std::max(0, int(minY) - 1), y1 = std::min(img.height - 1, int(maxY) + 1);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            float px = x + 0.5f, py = y + 0.5f;
            bool inside = false;
            float edge = 1e9f;
            for (int i = 0, j = points - 1; i < points; j = i++) {
                float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
                if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi)
                    inside = !inside;
                edge = std::min(edge, segmentDistance(px, py, xi, yi, xj, yj));
            }
            float cover = inside ? std::min(1.0f, 0.5f + edge) : std::max(0.0f, 0.5f - edge);
            if (cover > 0.0f)
                img.blend(x, y, c, cover);
        }
    }
}

} // namespace tex
