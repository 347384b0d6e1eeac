// Mesh building for the model generator: vertices with texture coordinates, triangles wound
// counter-clockwise seen from the front, and the shapes the models are assembled from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace model {

struct Vec3 {
    float x, y, z;
};

Vec3 operator+(Vec3 a, Vec3 b);
Vec3 operator-(Vec3 a, Vec3 b);
Vec3 operator*(Vec3 a, float k);
Vec3 cross(Vec3 a, Vec3 b);
float dot(Vec3 a, Vec3 b);
float length(Vec3 a);

// Linear part plus translation, applied to every vertex a shape adds; compose with then().
struct Xform {
    float m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    Vec3 t{0, 0, 0};
    static Xform translate(Vec3 t);
    static Xform rotateX(float degrees);
    static Xform rotateY(float degrees);
    static Xform rotateZ(float degrees);
    static Xform scale(Vec3 s);
    Xform then(const Xform& outer) const; // this applied first, then `outer`
    Vec3 apply(Vec3 p) const;
    bool mirrors() const; // negative determinant: windings must be flipped
};

struct Mesh {
    std::string name;     // object name, at most 10 characters
    std::string material; // material name, at most 16 characters
    std::vector<Vec3> pos;
    std::vector<float> u, v;
    std::vector<uint16_t> tri; // 3 per triangle, counter-clockwise from the front

    Mesh(std::string n, std::string m) : name(std::move(n)), material(std::move(m)) {}
    int vertex(Vec3 p, float tu, float tv);
    void triangle(int a, int b, int c);
    void quad(int a, int b, int c, int d); // a b c d counter-clockwise
    size_t triangles() const { return tri.size() / 3; }
};

// A flat quad through four corners given counter-clockwise from the front, texture repeated
// `uRepeat` times from a to b and `vRepeat` times from a to d; `doubleSided` adds the back.
void addQuad(Mesh& m, const Xform& x, Vec3 a, Vec3 b, Vec3 c, Vec3 d, float uRepeat = 1,
             float vRepeat = 1, bool doubleSided = false);
// A grid of `cols` x `rows` quads over the same corners (for big surfaces).
void addGrid(Mesh& m, const Xform& x, Vec3 a, Vec3 b, Vec3 c, Vec3 d, int cols, int rows,
             float uRepeat, float vRepeat);
// Axis-aligned box (before the transform) around `center`, faces outward.
void addBox(Mesh& m, const Xform& x, Vec3 center, Vec3 size, float uvPerUnit = 0.25f);

struct ProfilePoint {
    float r, y;
};
// Surface of revolution about the y axis through the profile points (listed bottom to top, so
// the faces look outward); a radius of 0 closes the shape at that end.
void addLathe(Mesh& m, const Xform& x, const std::vector<ProfilePoint>& profile, int segments,
              float uRepeat = 1, float vRepeat = 1);
// Cylinder along y from y0 to y1, optionally capped.
void addCylinder(Mesh& m, const Xform& x, float radius, float y0, float y1, int segments, bool caps,
                 float uRepeat = 1, float vRepeat = 1);
// Ellipsoid centred at the origin (before the transform) with the given radii.
void addEllipsoid(Mesh& m, const Xform& x, Vec3 radii, int segments, int rings);
// A ring in the x-y plane facing +-z with a rounded cross-section: its outline follows the
// superellipse |x|^n + |y|^n = a^n (n = 2 is a circle, larger n squarer), from half-width
// `inner` to `outer`, `depth` deep along z.
void addRing(Mesh& m, const Xform& x, float inner, float outer, float depth, float exponent,
             int segments, float uRepeat = 4);
// Prism: a convex polygon in the x-y plane (either orientation) extruded from
// z = z0 to z1 (z0 < z1), with both caps.
void addPrism(Mesh& m, const Xform& x, const std::vector<float>& polygonXY, float z0, float z1,
              float uvPerUnit = 0.5f);
// A limb or strut: a tapered cylinder from a to b (radii ra, rb), open ends closed with caps.
void addStrut(Mesh& m, Vec3 a, Vec3 b, float ra, float rb, int segments);

} // namespace model
