// Geometry checks shared by the model tests: winding, closed pieces and their signed volumes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace assets {

struct P3 {
    float x, y, z;
};

struct Triangles {
    std::vector<P3> pos;
    std::vector<std::array<int, 3>> tri;
};

P3 faceNormal(const Triangles& t, std::size_t f); // (b - a) x (c - a)
P3 centroid(const Triangles& t, std::size_t f);

// Splits the triangles into pieces joined by shared corner positions; for each piece tells
// whether it is closed (every edge met once in each direction) and its signed volume
// (positive when the faces look outward).
struct Piece {
    bool closed = false;
    double volume = 0;
    std::size_t faces = 0;
};
std::vector<Piece> pieces(const Triangles& t);

} // namespace assets
