// BoundingSphere: centre and radius, shown on request as a wire sphere.
#include "render/boundingsphere.h"

#include "render/sphere.h"

#include <GL/gl.h>

BoundingSphere::BoundingSphere() : radius(-1.0f) {}

void BoundingSphere::draw() {
    glPushMatrix();
    glTranslatef(center.x, center.y, center.z);
    drawWireSphere(radius, 15, 15);
    glPopMatrix();
}
