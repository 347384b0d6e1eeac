// The goal hoop: a rounded-square brass ring on a carved pole, standing on y = 0 at the origin.
#include "assetgen/models/models.h"

namespace model {

Model buildGoal() {
    Model m;
    m.materials = {
        {"HoopBrass", {150, 110, 40}, {235, 185, 80}, {60, 50, 30}, 30, "brass.bmp"},
        {"HoopPole", {90, 60, 35}, {170, 120, 70}, {20, 15, 10}, 10, "wood.bmp"},
        {"HoopStone", {110, 105, 95}, {175, 168, 152}, {10, 10, 10}, 5, "stone.bmp"},
    };
    // The opening is a squared circle (superellipse) so that it holds the whole square scoring
    // box, corners included, while its sides stay close to the box.
    const float inner = 4.35f, outer = 5.2f;
    Mesh& ring = m.mesh("hoopring", "HoopBrass");
    addRing(ring, Xform::translate({0, HOOP_CENTER_Y, 0}), inner, outer, 0.7f, 6.0f, 40, 6);
    // Collar where ring meets pole, and a finial on top.
    addLathe(ring, Xform::translate({0, HOOP_CENTER_Y - outer - 0.6f, 0}),
             {{0, 0}, {0.45f, 0}, {0.6f, 0.3f}, {0.45f, 0.75f}, {0, 0.9f}}, 12);
    addLathe(ring, Xform::translate({0, HOOP_CENTER_Y + outer - 0.15f, 0}),
             {{0, 0}, {0.3f, 0.05f}, {0.42f, 0.4f}, {0.2f, 0.9f}, {0.08f, 1.4f}, {0, 1.5f}}, 12);

    Mesh& pole = m.mesh("hooppole", "HoopPole");
    addLathe(pole, Xform(),
             {{0.42f, 1.2f},
              {0.34f, 2.0f},
              {0.3f, 10.0f},
              {0.36f, 10.4f},
              {0.3f, 10.8f},
              {0.26f, HOOP_CENTER_Y - outer - 0.4f}},
             12, 1, 6);

    Mesh& base = m.mesh("hoopbase", "HoopStone");
    addLathe(
        base, Xform(),
        {{0, 0}, {1.6f, 0}, {1.6f, 0.4f}, {1.2f, 0.6f}, {1.1f, 1.0f}, {0.7f, 1.25f}, {0, 1.3f}}, 16,
        3, 1);
    return m;
}

} // namespace model
