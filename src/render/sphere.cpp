// Solid and wire spheres from slice and stack rings, emitted in the order the fixed-function
// quadric sphere of the desktop libraries uses, so the picture is the same on every build.
#include "render/sphere.h"

#include <GL/gl.h>
#include <cmath>

namespace {

constexpr int MAX_RINGS = 240;
constexpr double PI = 3.14159265358979323846;

// Sines and cosines round z (per slice, the last equal to the first) and from pole to pole (per
// stack, scaled by the radius for positions, unit for normals). Positions end exactly on the
// poles; the normals keep the small sine of the computed end angle.
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
            sinA[i] = static_cast<float>(std::sin(double(a)));
            cosA[i] = static_cast<float>(std::cos(double(a)));
        }
        sinA[slices] = sinA[0];
        cosA[slices] = cosA[0];
        for (int j = 0; j <= stacks; ++j) {
            const float b = static_cast<float>(PI * j / stacks);
            sinB[j] = static_cast<float>(std::sin(double(b)));
            cosB[j] = static_cast<float>(std::cos(double(b)));
            rSinB[j] = static_cast<float>(radius * std::sin(b));
            rCosB[j] = static_cast<float>(radius * std::cos(b));
        }
        rSinB[0] = rSinB[stacks] = 0.0f;
    }

    void normal(int i, int j) const { glNormal3f(sinA[i] * sinB[j], cosA[i] * sinB[j], cosB[j]); }
    void vertex(int i, int j) const {
        glVertex3f(rSinB[j] * sinA[i], rSinB[j] * cosA[i], rCosB[j]);
    }
    void point(int i, int j) const {
        normal(i, j);
        vertex(i, j);
    }
};

bool drawable(float radius, int slices, int stacks) {
    return radius >= 0.0f && slices >= 2 && stacks >= 2;
}

} // namespace

void drawSolidSphere(float radius, int slices, int stacks) {
    if (!drawable(radius, slices, stacks)) {
        return;
    }
    const Rings r(radius, slices, stacks);
    const int n = r.slices, last = r.stacks - 1;

    // The caps are fans round the poles: the +z one runs backwards round the ring so that both
    // face outwards. The pole normals are those of slice 0 at the pole's angle.
    r.normal(0, 0);
    glBegin(GL_TRIANGLE_FAN);
    glVertex3f(0.0f, 0.0f, radius);
    for (int i = n; i >= 0; --i) {
        r.point(i, 1);
    }
    glEnd();

    r.normal(0, r.stacks);
    glBegin(GL_TRIANGLE_FAN);
    glVertex3f(0.0f, 0.0f, -radius);
    for (int i = 0; i <= n; ++i) {
        r.point(i, last);
    }
    glEnd();

    // Each band between two inner rings: per slice a quadrilateral of the ring nearer -z (far)
    // and the one nearer +z (near), split along the diagonal from its first far corner to its
    // second near corner, as the desktop GL splits the quad strip it once was.
    for (int j = 1; j < last; ++j) {
        glBegin(GL_TRIANGLES);
        for (int i = 0; i < n; ++i) {
            r.point(i + 1, j + 1);
            r.point(i, j + 1);
            r.point(i + 1, j);
            r.point(i, j + 1);
            r.point(i, j);
            r.point(i + 1, j);
        }
        glEnd();
    }
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
