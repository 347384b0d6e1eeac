// Flattening of FreeType outlines (lines, conic and cubic Béziers) into polygons.
#include "outline.h"

#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>

namespace {

struct Flattener {
    double tolerance;
    std::vector<Contour> contours;
    Point2 pen{0, 0};

    void add(Point2 p) {
        Contour& c = contours.back();
        if (!c.empty() && c.back().x == p.x && c.back().y == p.y)
            return;
        c.push_back(p);
        pen = p;
    }

    // Chord error of n uniform steps is at most |second difference| * k / n^2.
    int steps(double secondDifference, double k) const {
        double n = std::ceil(std::sqrt(secondDifference * k / tolerance));
        return std::clamp(int(n), 1, 64);
    }
};

Point2 toPoint(const FT_Vector* v) {
    return {double(v->x), double(v->y)};
}
double len(double x, double y) {
    return std::sqrt(x * x + y * y);
}

int moveTo(const FT_Vector* to, void* user) {
    auto* f = static_cast<Flattener*>(user);
    f->contours.emplace_back();
    f->add(toPoint(to));
    return 0;
}

int lineTo(const FT_Vector* to, void* user) {
    static_cast<Flattener*>(user)->add(toPoint(to));
    return 0;
}

int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto* f = static_cast<Flattener*>(user);
    Point2 p0 = f->pen, p1 = toPoint(control), p2 = toPoint(to);
    int n = f->steps(len(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y), 0.25);
    for (int i = 1; i <= n; ++i) {
        double t = double(i) / n, u = 1 - t;
        f->add({u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x,
                u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y});
    }
    return 0;
}

int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    auto* f = static_cast<Flattener*>(user);
    Point2 p0 = f->pen, p1 = toPoint(c1), p2 = toPoint(c2), p3 = toPoint(to);
    double d = std::max(len(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y),
                        len(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y));
    int n = f->steps(d, 0.75);
    for (int i = 1; i <= n; ++i) {
        double t = double(i) / n, u = 1 - t;
        double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, e = t * t * t;
        f->add(
            {a * p0.x + b * p1.x + c * p2.x + e * p3.x, a * p0.y + b * p1.y + c * p2.y + e * p3.y});
    }
    return 0;
}

} // namespace

std::vector<Contour> flattenOutline(const FT_Outline& outline, double tolerance) {
    Flattener f{tolerance, {}, {0, 0}};
    FT_Outline_Funcs funcs = {};
    funcs.move_to = moveTo;
    funcs.line_to = lineTo;
    funcs.conic_to = conicTo;
    funcs.cubic_to = cubicTo;
    FT_Outline copy = outline;
    if (FT_Outline_Decompose(&copy, &funcs, &f) != 0)
        return {};
    std::vector<Contour> result;
    for (Contour& c : f.contours) {
        while (c.size() > 1 && c.back().x == c.front().x && c.back().y == c.front().y)
            c.pop_back();
        if (c.size() >= 3)
            result.push_back(std::move(c));
    }
    return result;
}

size_t pointCount(const std::vector<Contour>& contours) {
    size_t n = 0;
    for (const Contour& c : contours)
        n += c.size();
    return n;
}
