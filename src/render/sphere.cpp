// Solid and wire spheres from slice and stack rings, in the order and with the triangles of the
// fixed-function quadric sphere of the desktop libraries, so the picture is the same on every
// build. The solid one is built once per size and drawn from arrays in one indexed call, the way
// the models are drawn; the wire one, a debugging aid, is drawn vertex by vertex.
#include "render/sphere.h"

#include "shared/steadymath.h"

#include <GL/gl.h>
#include <memory>
#include <vector>

namespace {

constexpr int MAX_RINGS = 240;
constexpr double PI = 3.14159265358979323846;

// Sines and cosines round z (per slice, the last equal to the first) and from pole to pole (per
// stack, scaled by the radius for positions, unit for normals), the same bits on every build.
// Positions end exactly on the poles; the normals keep the small sine of the computed end angle.
struct Rings {
    int slices, stacks;
    float sinA[MAX_RINGS + 1], cosA[MAX_RINGS + 1];
    float sinB[MAX_RINGS + 1], cosB[MAX_RINGS + 1]; // unit
    float rSinB[MAX_RINGS + 1], rCosB[MAX_RINGS + 1];

    Rings(double radius, int slicesWanted, int stacksWanted)
        : slices(slicesWanted < MAX_RINGS ? slicesWanted : MAX_RINGS - 1),
          stacks(stacksWanted < MAX_RINGS ? stacksWanted : MAX_RINGS - 1) {
        for (int i = 0; i < slices; ++i) {
            const float a = static_cast<float>(2 * PI * i / slices);
            sinA[i] = steadySin(a);
            cosA[i] = steadyCos(a);
        }
        sinA[slices] = sinA[0];
        cosA[slices] = cosA[0];
        for (int j = 0; j <= stacks; ++j) {
            const float b = static_cast<float>(PI * j / stacks);
            sinB[j] = steadySin(b);
            cosB[j] = steadyCos(b);
            rSinB[j] = static_cast<float>(radius * sinB[j]);
            rCosB[j] = static_cast<float>(radius * cosB[j]);
        }
        rSinB[0] = rSinB[stacks] = 0.0f;
    }

    void normal(int i, int j, float* out) const {
        out[0] = sinA[i] * sinB[j];
        out[1] = cosA[i] * sinB[j];
        out[2] = cosB[j];
    }
    void vertex(int i, int j, float* out) const {
        out[0] = rSinB[j] * sinA[i];
        out[1] = rSinB[j] * cosA[i];
        out[2] = rCosB[j];
    }
    void point(int i, int j) const {
        float n[3], v[3];
        normal(i, j, n);
        vertex(i, j, v);
        glNormal3fv(n);
        glVertex3fv(v);
    }
};

bool drawable(float radius, int slices, int stacks) {
    return radius >= 0.0f && slices >= 2 && stacks >= 2;
}

// A solid sphere's vertices (each ring point once, and the two poles) and its triangles.
struct SolidSphere {
    float radius;
    int slices, stacks;
    std::vector<float> normals, vertices;
    std::vector<unsigned short> indices;
};

std::unique_ptr<SolidSphere> buildSolid(float radius, int slicesWanted, int stacksWanted) {
    const Rings r(radius, slicesWanted, stacksWanted);
    auto sphere = std::make_unique<SolidSphere>();
    *sphere = SolidSphere{radius, slicesWanted, stacksWanted, {}, {}, {}};
    const int n = r.slices, last = r.stacks - 1;
    auto add = [&](const float* normal, const float* vertex) {
        sphere->normals.insert(sphere->normals.end(), normal, normal + 3);
        sphere->vertices.insert(sphere->vertices.end(), vertex, vertex + 3);
    };
    // Rings 1 to last, each slice 0 to n (n repeating 0), then the +z and the -z pole, whose
    // normals are those of slice 0 at the pole's angle.
    for (int j = 1; j <= last; ++j) {
        for (int i = 0; i <= n; ++i) {
            float normal[3], vertex[3];
            r.normal(i, j, normal);
            r.vertex(i, j, vertex);
            add(normal, vertex);
        }
    }
    const auto at = [n](int i, int j) {
        return static_cast<unsigned short>((j - 1) * (n + 1) + i);
    };
    const auto top = static_cast<unsigned short>(last * (n + 1));
    const auto bottom = static_cast<unsigned short>(top + 1);
    float normal[3];
    const float topVertex[3] = {0.0f, 0.0f, radius}, bottomVertex[3] = {0.0f, 0.0f, -radius};
    r.normal(0, 0, normal);
    add(normal, topVertex);
    r.normal(0, r.stacks, normal);
    add(normal, bottomVertex);

    auto triangle = [&](unsigned short a, unsigned short b, unsigned short c) {
        sphere->indices.insert(sphere->indices.end(), {a, b, c});
    };
    // The caps as the fans they were: the +z one backwards round the ring so that both face
    // outwards, each triangle the pole and two neighbours in fan order.
    for (int i = n; i > 0; --i) {
        triangle(top, at(i, 1), at(i - 1, 1));
    }
    for (int i = 0; i < n; ++i) {
        triangle(bottom, at(i, last), at(i + 1, last));
    }
    // Each band between two inner rings: per slice a quadrilateral of the ring nearer -z (far)
    // and the one nearer +z (near), split along the diagonal from its first far corner to its
    // second near corner, as the desktop GL splits the quad strip it once was.
    for (int j = 1; j < last; ++j) {
        for (int i = 0; i < n; ++i) {
            triangle(at(i + 1, j + 1), at(i, j + 1), at(i + 1, j));
            triangle(at(i, j + 1), at(i, j), at(i + 1, j));
        }
    }
    return sphere;
}

// The sizes drawn so far (the game draws three).
const SolidSphere& solidSphere(float radius, int slices, int stacks) {
    static std::vector<std::unique_ptr<SolidSphere>> built;
    for (const auto& s : built) {
        if (s->radius == radius && s->slices == slices && s->stacks == stacks) {
            return *s;
        }
    }
    built.push_back(buildSolid(radius, slices, stacks));
    return *built.back();
}

} // namespace

void drawSolidSphere(float radius, int slices, int stacks) {
    if (!drawable(radius, slices, stacks)) {
        return;
    }
    const SolidSphere& s = solidSphere(radius, slices, stacks);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glNormalPointer(GL_FLOAT, 0, s.normals.data());
    glVertexPointer(3, GL_FLOAT, 0, s.vertices.data());
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(s.indices.size()), GL_UNSIGNED_SHORT,
                   s.indices.data());
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void drawWireSphere(float radius, int slices, int stacks) {
    if (!drawable(radius, slices, stacks)) {
        return;
    }
    const Rings r(radius, slices, stacks);
    // Circles of latitude between the poles, then meridians from pole to pole.
    for (int j = 1; j < r.stacks; ++j) {
        glBegin(GL_LINE_STRIP);
        for (int i = 0; i <= r.slices; ++i) {
            r.point(i, j);
        }
        glEnd();
    }
    for (int i = 0; i < r.slices; ++i) {
        glBegin(GL_LINE_STRIP);
        for (int j = 0; j <= r.stacks; ++j) {
            r.point(i, j);
        }
        glEnd();
    }
}
