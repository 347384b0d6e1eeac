// BoundingSphere: centre and radius, plus a quadric to show it as a wire sphere.
#include "render/boundingsphere.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

GLUquadric* NewWireQuadric() {
    GLUquadric* q = gluNewQuadric();
    if (q) {
        gluQuadricNormals(q, GLU_SMOOTH);
        gluQuadricDrawStyle(q, GLU_LINE);
    }
    return q;
}

} // namespace

BoundingSphere::BoundingSphere() : radius(-1.0f), qobj(NewWireQuadric()) {}

BoundingSphere::BoundingSphere(const BoundingSphere& other)
    : radius(other.radius), qobj(NewWireQuadric()) {
    center.assign(other.center);
}

// Assignment copies the sphere, not the quadric: each sphere keeps (and later frees) its own.
// cppcheck-suppress operatorEqVarError
BoundingSphere& BoundingSphere::operator=(const BoundingSphere& other) {
    if (this != &other) {
        center.assign(other.center);
        radius = other.radius;
    }
    return *this;
}

// Each sphere owns its quadric, so the model's thousands of face spheres do not leak theirs.
BoundingSphere::~BoundingSphere() {
    if (qobj)
        gluDeleteQuadric(qobj);
}

void BoundingSphere::draw() {
    if (!qobj)
        return;
    glPushMatrix();
    glTranslatef(center.x, center.y, center.z);
    gluSphere(qobj, radius, 15, 15);
    glPopMatrix();
}
