// Vector3f operations; every change of a component refreshes the cached length.
#include "shared/vector3f.h"

#include <cmath>

Vector3f::Vector3f() : x(0.0f), y(0.0f), z(0.0f), length(0.0f) {}

Vector3f::Vector3f(float x_, float y_, float z_) : x(x_), y(y_), z(z_), length(0.0f) {
    updateLength();
}

void Vector3f::updateLength() {
    length = std::sqrt(x * x + y * y + z * z);
}

void Vector3f::assign(const Vector3f& other) {
    x = other.x;
    y = other.y;
    z = other.z;
    updateLength();
}

void Vector3f::add(const Vector3f& other) {
    x += other.x;
    y += other.y;
    z += other.z;
    updateLength();
}

Vector3f Vector3f::difference(const Vector3f& other) const {
    return Vector3f(x - other.x, y - other.y, z - other.z);
}

void Vector3f::setAll(float value) {
    x = y = z = value;
    updateLength();
}

void Vector3f::normalize() {
    if (length != 0.0f) {
        x /= length;
        y /= length;
        z /= length;
        updateLength();
    }
}

Vector3f Vector3f::cross(const Vector3f& o) const {
    return Vector3f(y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x);
}
