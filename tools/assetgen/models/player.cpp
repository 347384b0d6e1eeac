// The rider on a hover-sled: faces -z, origin at the rider's chest, trail nozzle at the tail.
#include "assetgen/models/models.h"

namespace model {

namespace {

// Both sides of the body from one description (x mirrored).
void pairStrut(Mesh& m, Vec3 a, Vec3 b, float ra, float rb) {
    addStrut(m, a, b, ra, rb, 7);
    addStrut(m, {-a.x, a.y, a.z}, {-b.x, b.y, b.z}, ra, rb, 7);
}

void hull(Model& m) {
    Mesh& h = m.mesh("sledhull", "SledWood");
    // Lathed along y, laid along z with the nose at -z, flattened vertically.
    Xform lay = Xform::scale({0.72f, 1.0f, 0.42f})
                    .then(Xform::rotateX(90))
                    .then(Xform::translate({0, -0.78f, 0}));
    addLathe(h, lay,
             {{0, -2.0f},
              {0.22f, -1.92f},
              {0.5f, -1.6f},
              {0.72f, -1.0f},
              {0.8f, -0.2f},
              {0.78f, 1.0f},
              {0.7f, 2.2f},
              {0.55f, 3.0f},
              {0.4f, 3.25f},
              {0, 3.3f}},
             14, 1, 2);
    // Seat saddle.
    addBox(h, Xform(), {0, -0.52f, 0.85f}, {0.5f, 0.14f, 0.7f});
}

void trim(Model& m) {
    Mesh& f = m.mesh("sledtrim", "SledBrass");
    // Tail fin standing up, side stabilisers, and two hover pods under the hull.
    Xform upright = Xform::rotateY(90);
    addPrism(f, upright, {-2.4f, -0.05f, -3.2f, -0.05f, -3.5f, 0.65f, -3.1f, 0.7f}, -0.05f, 0.05f);
    Xform flat = Xform::rotateX(90).then(Xform::translate({0, -0.72f, 0}));
    addPrism(f, flat, {0.6f, 2.2f, 1.45f, 3.0f, 1.45f, 3.4f, 0.55f, 3.2f}, -0.05f, 0.05f);
    addPrism(f, flat, {-0.6f, 2.2f, -1.45f, 3.0f, -1.45f, 3.4f, -0.55f, 3.2f}, -0.05f, 0.05f);
    for (float z : {-0.9f, 2.0f})
        for (float x : {-0.62f, 0.62f})
            addEllipsoid(f, Xform::translate({x, -1.02f, z}), {0.18f, 0.12f, 0.4f}, 8, 5);
    // Nozzle housing around the trail's origin.
    Xform alongZ = Xform::rotateX(90).then(Xform::translate({0, -0.35f, 0}));
    addLathe(f, alongZ, {{0.16f, 2.55f}, {0.28f, 3.05f}, {0.3f, 3.3f}, {0.2f, 3.3f}}, 10);
}

void glow(Model& m) {
    Mesh& g = m.mesh("nozzle", "NozzleGlow");
    Xform alongZ = Xform::rotateX(90).then(Xform::translate({0, -0.35f, 0}));
    addLathe(g, alongZ, {{0.2f, 3.28f}, {0.12f, 3.36f}, {0, 3.38f}}, 10);
    // Glowing strip along each flank of the hull.
    for (float side : {-1.0f, 1.0f}) {
        float x = side * 0.79f;
        Vec3 a{x, -0.8f, 1.6f}, b{x, -0.8f, -0.6f}, c{x, -0.7f, -0.6f}, d{x, -0.7f, 1.6f};
        if (side > 0)
            addQuad(g, Xform(), a, b, c, d);
        else
            addQuad(g, Xform(), b, a, d, c);
    }
}

void body(Model& m) {
    Mesh& c = m.mesh("coat", "RiderCoat");
    // Torso leaning into the flight.
    addEllipsoid(c, Xform::rotateX(-28).then(Xform::translate({0, 0.08f, 0.5f})),
                 {0.36f, 0.52f, 0.27f}, 10, 7);
    // Arms reach forward to hold a ball one unit ahead.
    pairStrut(c, {0.3f, 0.38f, 0.35f}, {0.46f, 0.02f, -0.05f}, 0.12f, 0.1f);
    pairStrut(c, {0.46f, 0.02f, -0.05f}, {0.42f, -0.04f, -0.5f}, 0.1f, 0.08f);
    // Legs tucked jockey-style along the sled.
    pairStrut(c, {0.2f, -0.38f, 0.8f}, {0.32f, -0.2f, 0.05f}, 0.15f, 0.12f);
    pairStrut(c, {0.32f, -0.2f, 0.05f}, {0.3f, -0.55f, -0.35f}, 0.11f, 0.09f);
    // Coat tails flying behind.
    addPrism(c, Xform::rotateY(90).then(Xform::translate({0, 0, 0})),
             {-0.75f, -0.3f, -1.35f, -0.55f, -1.25f, -0.3f, -0.8f, 0.05f}, -0.3f, 0.3f);
}

void skin(Model& m) {
    Mesh& s = m.mesh("skin", "RiderSkin");
    addEllipsoid(s, Xform::translate({0, 0.8f, 0.28f}), {0.2f, 0.25f, 0.22f}, 10, 7);
    for (float x : {-0.42f, 0.42f})
        addEllipsoid(s, Xform::translate({x, -0.05f, -0.56f}), {0.1f, 0.1f, 0.12f}, 6, 4);
}

void gear(Model& m) {
    Mesh& g = m.mesh("gear", "RiderLeather");
    // Flying cap with ear flaps, and boots.
    addEllipsoid(g, Xform::translate({0, 0.9f, 0.32f}), {0.235f, 0.2f, 0.255f}, 10, 5);
    for (float x : {-0.2f, 0.2f})
        addBox(g, Xform::rotateZ(x > 0 ? -8.0f : 8.0f), {x, 0.72f, 0.33f}, {0.06f, 0.22f, 0.16f});
    for (float x : {-0.3f, 0.3f})
        addBox(g, Xform(), {x, -0.58f, -0.45f}, {0.18f, 0.16f, 0.34f});
}

void goggles(Model& m) {
    Mesh& g = m.mesh("goggles", "GoggleGlass");
    for (float x : {-0.085f, 0.085f})
        addEllipsoid(g, Xform::translate({x, 0.86f, 0.08f}), {0.075f, 0.06f, 0.05f}, 8, 4);
}

void scarf(Model& m) {
    Mesh& s = m.mesh("scarf", "RiderScarf");
    // A ribbon streaming back from the neck, rippling as it goes.
    const int pieces = 6;
    Vec3 prev{0, 0.55f, 0.52f};
    for (int i = 1; i <= pieces; ++i) {
        float t = float(i) / pieces;
        Vec3 next{0.18f * t + 0.1f * (i % 2 ? 1.0f : -1.0f) * t, 0.55f - 0.25f * t,
                  0.52f + 1.7f * t};
        Vec3 w{0.0f, 0.09f, 0.0f};
        addQuad(s, Xform(), prev - w, next - w, next + w, prev + w, 1, 1, true);
        prev = next;
    }
}

} // namespace

Model buildPlayer() {
    Model m;
    m.materials = {
        {"SledWood", {90, 60, 35}, {200, 150, 100}, {30, 25, 20}, 20, "sled.bmp"},
        {"SledBrass", {140, 105, 40}, {230, 180, 80}, {70, 60, 35}, 35, "brass.bmp"},
        {"NozzleGlow", {60, 230, 240}, {90, 250, 255}, {40, 60, 60}, 10, ""},
        {"RiderCoat", {85, 55, 105}, {170, 120, 200}, {20, 15, 25}, 10, "cloth.bmp"},
        {"RiderSkin", {150, 110, 85}, {235, 185, 150}, {20, 15, 12}, 8, ""},
        {"RiderLeather", {60, 38, 24}, {110, 70, 42}, {25, 20, 15}, 15, ""},
        {"GoggleGlass", {40, 70, 80}, {90, 170, 190}, {70, 80, 80}, 40, ""},
        {"RiderScarf", {160, 110, 30}, {240, 175, 50}, {15, 12, 5}, 5, ""},
    };
    hull(m);
    trim(m);
    glow(m);
    body(m);
    skin(m);
    gear(m);
    goggles(m);
    scarf(m);
    return m;
}

} // namespace model
