// Our spheres against the desktop quadric sphere they stand in for, drawn lit and pixel-compared.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "platform/headless.h"
#include "render/sphere.h"

// Both tilted under a specular light. The solid sphere covers about 90,000 pixels; a few channels
// may round differently, by a level (19 channels by 1 on Mesa's llvmpipe).
TEST(Sphere, SolidAndWireDrawTheQuadricSpheresPicture) {
    headless::OffscreenGL gl;
    ASSERT_TRUE(gl.ok());
    glMatrixMode(GL_PROJECTION);
    gluPerspective(45.0, 640.0 / 480.0, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(0.0f, 0.0f, -2.0f);
    glRotatef(30.0f, 1.0f, 0.3f, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const float specular[4] = {0.7f, 0.6f, 0.5f, 1.0f}, shininess = 20.0f;
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, &shininess);
    std::unique_ptr<GLUquadric, void (*)(GLUquadric*)> q(gluNewQuadric(), gluDeleteQuadric);
    gluQuadricNormals(q.get(), GLU_SMOOTH);
    for (bool wire : {false, true}) {
        gluQuadricDrawStyle(q.get(), wire ? GLU_LINE : GLU_FILL);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        gluSphere(q.get(), 0.6, 15, 15);
        const auto theirs = headless::readFramebuffer();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        (wire ? drawWireSphere : drawSolidSphere)(0.6f, 15, 15);
        const auto ours = headless::readFramebuffer();
        int differ = 0, largest = 0;
        for (size_t c = 0; c < ours.size(); ++c) {
            differ += ours[c] != theirs[c];
            largest = std::max(largest, std::abs(ours[c] - theirs[c]));
        }
        EXPECT_LE(differ, 100) << wire;
        EXPECT_LE(largest, 2) << wire;
    }
}
