// Our spheres against the desktop quadric sphere they stand in for, drawn lit and pixel-compared.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/headless.h"
#include "render/sphere.h"

namespace {

// Both drawings of one sphere: the pixels that differ at all, and the largest channel difference.
struct Difference {
    int pixels = 0, largest = 0;
};

Difference compare(bool wire, void (*ours)(float, int, int)) {
    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 640.0 / 480.0, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -2.0f);
    glRotatef(30.0f, 1.0f, 0.3f, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const float light[4] = {1.0f, 2.0f, 3.0f, 0.0f}, spec[4] = {0.7f, 0.6f, 0.5f, 1.0f};
    const float shiny = 20.0f;
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, spec);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, &shiny);
    std::vector<unsigned char> frames[2];
    for (auto& px : frames) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (&px == frames) {
            GLUquadric* q = gluNewQuadric();
            gluQuadricNormals(q, GLU_SMOOTH);
            gluQuadricDrawStyle(q, wire ? GLU_LINE : GLU_FILL);
            gluSphere(q, 0.6, 15, 15);
            gluDeleteQuadric(q);
        } else {
            ours(0.6f, 15, 15);
        }
        px = headless::readFramebuffer();
    }
    Difference d;
    for (size_t p = 0; p < frames[0].size(); p += 4) {
        int most = 0;
        for (int c = 0; c < 3; ++c)
            most = std::max(most, std::abs(frames[0][p + c] - frames[1][p + c]));
        d.pixels += most > 0;
        d.largest = std::max(d.largest, most);
    }
    return d;
}

} // namespace

// The solid sphere covers about 90,000 pixels: a few may round differently, by one level.
TEST(Sphere, SolidAndWireDrawTheQuadricSpheresPicture) {
    headless::OffscreenGL gl;
    ASSERT_TRUE(gl.ok());
    for (bool wire : {false, true}) {
        Difference d = compare(wire, wire ? drawWireSphere : drawSolidSphere);
        EXPECT_LE(d.pixels, 50) << (wire ? "wire" : "solid");
        EXPECT_LE(d.largest, 2) << (wire ? "wire" : "solid");
    }
}
