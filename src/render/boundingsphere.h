// Bounding spheres of model meshes and faces, read by the collision tests.
#pragma once

#include "shared/vector3f.h"

struct GLUquadric;

class BoundingSphere {
  public:
    Vector3f center;
    float radius;
    GLUquadric* qobj; // for draw: smooth normals, line style

    BoundingSphere();
    // A copy gets its own quadric, so copies may outlive the original.
    BoundingSphere(const BoundingSphere& other);
    BoundingSphere& operator=(const BoundingSphere& other);
    ~BoundingSphere();

    // Wire sphere of 15 slices and 15 stacks around `center` (a debugging aid).
    void draw();
};
