// Vector3f: the three-float vector with a cached length used for normals, spheres and collisions.
#pragma once

struct Vector3f {
    float x, y, z;
    float length; // sqrt(x*x + y*y + z*z), recomputed by every operation that changes x, y or z

    Vector3f();
    Vector3f(float x, float y, float z);

    void assign(const Vector3f& other);
    void add(const Vector3f& other);
    Vector3f difference(const Vector3f& other) const; // this minus other
    void setAll(float value);
    void normalize(); // divides by length only when it is not 0
    Vector3f cross(const Vector3f& other) const;

    void updateLength();
};
