// Mesh building for the model generator: vertices with texture coordinates, triangles wound
// counter-clockwise seen from the front, and the shapes the models are assembled from.
#include "assetgen/models/meshbuilder.h"

#include <cmath>

namespace model {

namespace {

constexpr float PI = 3.14159265358979f;

// Adds a triangle, flipping it when the transform mirrors so it still faces the same way.
void face(Mesh& m, const Xform& x, int a, int b, int c) {
    if (x.mirrors())
        m.triangle(a, c, b);
    else
        m.triangle(a, b, c);
}

Vec3 normalize(Vec3 a) {
    float l = length(a);
    return l > 0 ? a * (1.0f / l) : a;
}

} // namespace

Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 operator*(Vec3 a, float k) {
    return {a.x * k, a.y * k, a.z * k};
}
Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
float length(Vec3 a) {
    return std::sqrt(dot(a, a));
}

Xform Xform::translate(Vec3 t) {
    Xform x;
    x.t = t;
    return x;
}

Xform Xform::rotateX(float degrees) {
    float c = std::cos(degrees * PI / 180), s = std::sin(degrees * PI / 180);
    Xform x;
    x.m[1][1] = c;
    x.m[1][2] = -s;
    x.m[2][1] = s;
    x.m[2][2] = c;
    return x;
}

Xform Xform::rotateY(float degrees) {
    float c = std::cos(degrees * PI / 180), s = std::sin(degrees * PI / 180);
    Xform x;
    x.m[0][0] = c;
    x.m[0][2] = s;
    x.m[2][0] = -s;
    x.m[2][2] = c;
    return x;
}

Xform Xform::rotateZ(float degrees) {
    float c = std::cos(degrees * PI / 180), s = std::sin(degrees * PI / 180);
    Xform x;
    x.m[0][0] = c;
    x.m[0][1] = -s;
    x.m[1][0] = s;
    x.m[1][1] = c;
    return x;
}

Xform Xform::scale(Vec3 s) {
    Xform x;
    x.m[0][0] = s.x;
    x.m[1][1] = s.y;
    x.m[2][2] = s.z;
    return x;
}

Xform Xform::then(const Xform& outer) const {
    Xform r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            r.m[i][j] = 0;
            for (int k = 0; k < 3; ++k)
                r.m[i][j] += outer.m[i][k] * m[k][j];
        }
    r.t = outer.apply(t);
    return r;
}

Vec3 Xform::apply(Vec3 p) const {
    return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + t.x,
            m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + t.y,
            m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + t.z};
}

bool Xform::mirrors() const {
    float det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    return det < 0;
}

int Mesh::vertex(Vec3 p, float tu, float tv) {
    pos.push_back(p);
    u.push_back(tu);
    v.push_back(tv);
    return int(pos.size()) - 1;
}

void Mesh::triangle(int a, int b, int c) {
    tri.push_back(uint16_t(a));
    tri.push_back(uint16_t(b));
    tri.push_back(uint16_t(c));
}

void Mesh::quad(int a, int b, int c, int d) {
    triangle(a, b, c);
    triangle(a, c, d);
}

void addQuad(Mesh& m, const Xform& x, Vec3 a, Vec3 b, Vec3 c, Vec3 d, float uRepeat, float vRepeat,
             bool doubleSided) {
    addGrid(m, x, a, b, c, d, 1, 1, uRepeat, vRepeat);
    if (doubleSided)
        addGrid(m, x, b, a, d, c, 1, 1, uRepeat, vRepeat);
}

void addGrid(Mesh& m, const Xform& x, Vec3 a, Vec3 b, Vec3 c, Vec3 d, int cols, int rows,
             float uRepeat, float vRepeat) {
    int first = int(m.pos.size());
    for (int j = 0; j <= rows; ++j) {
        float t = float(j) / rows;
        for (int i = 0; i <= cols; ++i) {
            float s = float(i) / cols;
            Vec3 bottom = a + (b - a) * s, top = d + (c - d) * s;
            m.vertex(x.apply(bottom + (top - bottom) * t), s * uRepeat, t * vRepeat);
        }
    }
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < cols; ++i) {
            int p = first + j * (cols + 1) + i;
            face(m, x, p, p + 1, p + cols + 2);
            face(m, x, p, p + cols + 2, p + cols + 1);
        }
}

void addBox(Mesh& m, const Xform& x, Vec3 c, Vec3 size, float uvPerUnit) {
    const Vec3 h = size * 0.5f;
    struct Side {
        Vec3 n, u, v;
    };
    const Side sides[6] = {
        {{1, 0, 0}, {0, 0, -1}, {0, 1, 0}}, {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}, {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
        {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},  {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}},
    };
    for (const Side& s : sides) {
        auto scaled = [&](Vec3 a) { return Vec3{a.x * h.x, a.y * h.y, a.z * h.z}; };
        Vec3 n = scaled(s.n), u = scaled(s.u), v = scaled(s.v);
        Vec3 ctr = c + n;
        float ur = 2 * length(u) * uvPerUnit, vr = 2 * length(v) * uvPerUnit;
        addQuad(m, x, ctr - u - v, ctr + u - v, ctr + u + v, ctr - u + v, ur, vr);
    }
}

void addLathe(Mesh& m, const Xform& x, const std::vector<ProfilePoint>& profile, int segments,
              float uRepeat, float vRepeat) {
    const int rows = int(profile.size());
    const int first = int(m.pos.size());
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i <= segments; ++i) {
            float a = 2 * PI * i / segments;
            Vec3 p{profile[j].r * std::sin(a), profile[j].y, profile[j].r * std::cos(a)};
            m.vertex(x.apply(p), uRepeat * i / segments, vRepeat * j / (rows - 1));
        }
    for (int j = 0; j + 1 < rows; ++j)
        for (int i = 0; i < segments; ++i) {
            int a = first + j * (segments + 1) + i, b = a + 1;
            int d = a + segments + 1, c = d + 1;
            bool bottomClosed = profile[j].r == 0, topClosed = profile[j + 1].r == 0;
            if (bottomClosed && topClosed)
                continue;
            if (bottomClosed)
                face(m, x, a, c, d);
            else if (topClosed)
                face(m, x, a, b, c);
            else {
                face(m, x, a, b, c);
                face(m, x, a, c, d);
            }
        }
}

void addCylinder(Mesh& m, const Xform& x, float radius, float y0, float y1, int segments, bool caps,
                 float uRepeat, float vRepeat) {
    if (caps)
        addLathe(m, x, {{0, y0}, {radius, y0}, {radius, y1}, {0, y1}}, segments, uRepeat, vRepeat);
    else
        addLathe(m, x, {{radius, y0}, {radius, y1}}, segments, uRepeat, vRepeat);
}

void addEllipsoid(Mesh& m, const Xform& x, Vec3 radii, int segments, int rings) {
    std::vector<ProfilePoint> profile;
    for (int j = 0; j <= rings; ++j) {
        float phi = PI * j / rings;
        float r = std::sin(phi);
        profile.push_back({j == 0 || j == rings ? 0.0f : r, -std::cos(phi)});
    }
    addLathe(m, Xform::scale(radii).then(x), profile, segments);
}

void addRing(Mesh& m, const Xform& x, float inner, float outer, float depth, float exponent,
             int segments, float uRepeat) {
    const int sides = 6;
    const float mid = 0.5f * (inner + outer), rc = 0.5f * (outer - inner), hz = 0.5f * depth;
    const int first = int(m.pos.size());
    for (int i = 0; i <= segments; ++i) {
        float t = 2 * PI * i / segments;
        float c = std::cos(t), s = std::sin(t);
        Vec3 shape{std::copysign(std::pow(std::fabs(c), 2 / exponent), c),
                   std::copysign(std::pow(std::fabs(s), 2 / exponent), s), 0};
        for (int j = 0; j <= sides; ++j) {
            float phi = 2 * PI * j / sides;
            Vec3 p = shape * (mid + rc * std::cos(phi)) + Vec3{0, 0, hz * std::sin(phi)};
            m.vertex(x.apply(p), uRepeat * i / segments, float(j) / sides);
        }
    }
    for (int i = 0; i < segments; ++i)
        for (int j = 0; j < sides; ++j) {
            int a = first + i * (sides + 1) + j, b = a + sides + 1, c = b + 1, d = a + 1;
            face(m, x, a, b, c);
            face(m, x, a, c, d);
        }
}

void addPrism(Mesh& m, const Xform& x, const std::vector<float>& polygon, float z0, float z1,
              float uvPerUnit) {
    const int n = int(polygon.size() / 2);
    // Accept either orientation: make the outline counter-clockwise seen from +z.
    float area = 0;
    for (int k = 0; k < n; ++k) {
        int j = (k + 1) % n;
        area += polygon[2 * k] * polygon[2 * j + 1] - polygon[2 * j] * polygon[2 * k + 1];
    }
    std::vector<float> xy = polygon;
    if (area < 0)
        for (int k = 0; k < n; ++k) {
            xy[2 * k] = polygon[2 * (n - 1 - k)];
            xy[2 * k + 1] = polygon[2 * (n - 1 - k) + 1];
        }
    auto pt = [&](int k, float z) { return Vec3{xy[2 * (k % n)], xy[2 * (k % n) + 1], z}; };
    // Caps: fans, front at z1 counter-clockwise, back at z0 reversed.
    int front = int(m.pos.size());
    for (int k = 0; k < n; ++k)
        m.vertex(x.apply(pt(k, z1)), pt(k, z1).x * uvPerUnit, pt(k, z1).y * uvPerUnit);
    int back = int(m.pos.size());
    for (int k = 0; k < n; ++k)
        m.vertex(x.apply(pt(k, z0)), pt(k, z0).x * uvPerUnit, pt(k, z0).y * uvPerUnit);
    for (int k = 1; k + 1 < n; ++k) {
        face(m, x, front, front + k, front + k + 1);
        face(m, x, back, back + k + 1, back + k);
    }
    for (int k = 0; k < n; ++k) {
        Vec3 a = pt(k, z0), b = pt(k + 1, z0);
        float len = length(b - a);
        addGrid(m, x, a, b, pt(k + 1, z1), pt(k, z1), 1, 1, len * uvPerUnit, (z1 - z0) * uvPerUnit);
    }
}

void addStrut(Mesh& m, Vec3 a, Vec3 b, float ra, float rb, int segments) {
    Vec3 d = b - a;
    float len = length(d);
    Vec3 dir = normalize(d);
    Vec3 ref = std::fabs(dir.y) < 0.9f ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
    Vec3 u = normalize(cross(dir, ref));
    Vec3 w = cross(u, dir);
    Xform x;
    x.m[0][0] = u.x;
    x.m[1][0] = u.y;
    x.m[2][0] = u.z;
    x.m[0][1] = dir.x;
    x.m[1][1] = dir.y;
    x.m[2][1] = dir.z;
    x.m[0][2] = w.x;
    x.m[1][2] = w.y;
    x.m[2][2] = w.z;
    x.t = a;
    addLathe(m, x, {{0, 0}, {ra, 0}, {rb, len}, {0, len}}, segments);
}

} // namespace model
