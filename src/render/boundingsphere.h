// Bounding spheres of model meshes and faces, read by the collision tests.
#pragma once

#include "shared/vector3f.h"

class BoundingSphere {
  public:
    Vector3f center;
    float radius;

    BoundingSphere();

    // Wire sphere of 15 slices and 15 stacks around `center` (a debugging aid).
    void draw();
};
