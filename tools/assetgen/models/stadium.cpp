// The stadium: a striped pitch with markings, tiered stands on four sides under striped
// canopies, stone towers at the corners, and each end dressed in its team's colours.
#include "assetgen/models/models.h"

#include <cmath>

namespace model {

namespace {

constexpr float PI = 3.14159265f;
constexpr float LINE_Y = 0.05f;

// A marking stripe from a to b on the ground, `w` wide, facing up.
void groundStripe(Mesh& m, float ax, float az, float bx, float bz, float w) {
    float dx = bx - ax, dz = bz - az, len = std::sqrt(dx * dx + dz * dz);
    float nx = -dz / len * w * 0.5f, nz = dx / len * w * 0.5f;
    Vec3 p0{ax - nx, LINE_Y, az - nz}, p1{bx - nx, LINE_Y, bz - nz};
    Vec3 p2{bx + nx, LINE_Y, bz + nz}, p3{ax + nx, LINE_Y, az + nz};
    // Up-facing whichever way the stripe runs.
    if (cross(p1 - p0, p2 - p0).y > 0)
        addQuad(m, Xform(), p0, p1, p2, p3);
    else
        addQuad(m, Xform(), p1, p0, p3, p2);
}

void arc(Mesh& m, float cx, float cz, float r, float a0, float a1, int pieces, float w) {
    for (int i = 0; i < pieces; ++i) {
        float t0 = a0 + (a1 - a0) * i / pieces, t1 = a0 + (a1 - a0) * (i + 1) / pieces;
        groundStripe(m, cx + r * std::cos(t0), cz + r * std::sin(t0), cx + r * std::cos(t1),
                     cz + r * std::sin(t1), w);
    }
}

void pitch(Model& m) {
    Mesh& g = m.mesh("ground", "Grass");
    addGrid(g, Xform(), {-80, 0, 140}, {80, 0, 140}, {80, 0, -140}, {-80, 0, -140}, 16, 28, 8, 14);
    Mesh& l = m.mesh("markings", "PitchLine");
    const float w = 0.7f;
    groundStripe(l, -36, -92, 36, -92, w);
    groundStripe(l, 36, -92, 36, 92, w);
    groundStripe(l, 36, 92, -36, 92, w);
    groundStripe(l, -36, 92, -36, -92, w);
    groundStripe(l, -36, 0, 36, 0, w);
    arc(l, 0, 0, 10, 0, 2 * PI, 40, w);
    arc(l, 0, 0, 0.8f, 0, 2 * PI, 8, 1.2f);
    // Scoring areas: an arc around each end's three hoops.
    arc(l, 0, 92, 34, PI * 1.1f, PI * 1.9f, 28, w);
    arc(l, 0, -92, 34, PI * 0.1f, PI * 0.9f, 28, w);
    // Spots where the hoops stand.
    const float hoops[6][2] = {{0, -60}, {-25, -45}, {25, -42}, {0, 60}, {-25, 45}, {25, 42}};
    for (const auto& h : hoops)
        arc(l, h[0], h[1], 2.6f, 0, 2 * PI, 16, 0.5f);
}

struct StandStyle {
    const char* crowd; // mesh name suffix and crowd material
    const char* crowdMat;
    const char* roofMat;
    const char* bannerA;
    const char* bannerB;
};

// One stand in a local frame: the pitch lies towards -x, the stand runs along z from -half to
// half, its front wall at x = front. `place` turns the local frame into the world.
void stand(Model& m, const Xform& place, float front, float half, const StandStyle& s,
           const char* tag) {
    const float depth = 30, rise = 37, wallH = 5;
    const float x0 = front, x1 = front + depth;
    std::string t(tag);
    Mesh& crowd = m.mesh("crowd" + t, s.crowdMat);
    addGrid(crowd, place, {x0, wallH, -half}, {x0, wallH, half}, {x1, wallH + rise, half},
            {x1, wallH + rise, -half}, 8, 4, half * 2 / 16, 3);

    Mesh& wood = m.mesh("wall" + t, "Planks");
    // Front hoarding and top parapet facing the pitch, with a cap on the hoarding.
    addQuad(wood, place, {x0, 0, -half}, {x0, 0, half}, {x0, wallH, half}, {x0, wallH, -half},
            half / 4, 1);
    addQuad(wood, place, {x1, wallH + rise, -half}, {x1, wallH + rise, half},
            {x1, wallH + rise + 5, half}, {x1, wallH + rise + 5, -half}, half / 4, 1);

    Mesh& stone = m.mesh("stone" + t, "Stone");
    // Closing walls at both ends of the stand and the pillars that carry the canopy.
    const std::vector<float> side = {x0 - 0.5f,        0,         x1 + 1,   0, x1 + 1,
                                     wallH + rise + 6, x0 - 0.5f, wallH + 1};
    addPrism(stone, Xform::translate({0, 0, -half - 1}).then(place), side, 0, 1, 0.15f);
    addPrism(stone, Xform::translate({0, 0, half}).then(place), side, 0, 1, 0.15f);
    const int pillars = int(half * 2 / 30) + 1;
    for (int i = 0; i < pillars; ++i) {
        float z = -half + (2 * half) * i / (pillars - 1);
        addBox(stone, place, {x1 - 1, wallH + rise + 10, z}, {1.6f, 20, 1.6f}, 0.15f);
    }

    Mesh& roof = m.mesh("roof" + t, s.roofMat);
    // Canopy seen from below (the pitch) and from above (flying over it).
    const float cy0 = wallH + rise + 16, cy1 = wallH + rise + 20;
    addQuad(roof, place, {x0 + 10, cy0, half}, {x0 + 10, cy0, -half}, {x1 + 2, cy1, -half},
            {x1 + 2, cy1, half}, half * 2 / 12, 2, true);
    // Scalloped valance along the canopy's front edge.
    const int scallops = static_cast<int>(std::ceil((2 * half - 0.1f) / 4.0f));
    for (int k = 0; k < scallops; ++k) {
        const float z = -half + 4.0f * static_cast<float>(k);
        addQuad(roof, place, {x0 + 10, cy0, z}, {x0 + 10, cy0, z + 4}, {x0 + 10, cy0 - 1.5f, z + 2},
                {x0 + 10, cy0 - 1.5f, z + 2}, 0.3f, 0.2f, true);
    }

    Mesh& banners = m.mesh("flag" + t, s.bannerA);
    Mesh& banners2 = m.mesh("flg2" + t, s.bannerB);
    // Banners hang from the canopy edge, alternating when the stand has two colours.
    const int count = int(half * 2 / 36);
    for (int i = 0; i < count; ++i) {
        float z = -half + (2 * half) * (i + 0.5f) / count;
        Mesh& b = (i % 2 == 0) ? banners : banners2;
        float bx = x0 + 10.2f;
        addQuad(b, place, {bx - 0.01f, cy0 - 15, z + 3.5f}, {bx - 0.01f, cy0 - 15, z - 3.5f},
                {bx - 0.01f, cy0 - 1, z - 3.5f}, {bx - 0.01f, cy0 - 1, z + 3.5f}, 1, 1);
    }
}

void tower(Model& m, float x, float z, const char* roofMat, const char* tag) {
    std::string t(tag);
    Mesh& stone = m.mesh("twr" + t, "Stone");
    Xform at = Xform::translate({x, 0, z});
    addLathe(stone, at, {{9.5f, 0}, {9, 4}, {8.5f, 58}, {10, 60}, {10, 64}, {9, 64}, {0, 64.01f}},
             20, 8, 6);
    Mesh& roof = m.mesh("spire" + t, roofMat);
    addLathe(roof, at, {{11, 63}, {10.5f, 64}, {5, 74}, {1.5f, 84}, {0, 88}}, 20, 6, 1);
    Mesh& pole = m.mesh("mast" + t, "Planks");
    addCylinder(pole, at, 0.25f, 86, 98, 6, true);
    Mesh& pennant = m.mesh("pnt" + t, roofMat);
    float dir = x > 0 ? 1.0f : -1.0f;
    addQuad(pennant, at, {0, 92, 0}, {dir * 9, 95, 0}, {dir * 9, 95.5f, 0}, {0, 98, 0}, 1, 1, true);
}

void endBanners(Model& m, float z, const char* mat, const char* tag) {
    // Tall poles in front of an end stand carrying that end's team banners, facing the pitch.
    std::string t(tag);
    Mesh& poles = m.mesh("bpole" + t, "Planks");
    Mesh& cloth = m.mesh("bnr" + t, mat);
    float face = z > 0 ? -1.0f : 1.0f; // towards the pitch
    for (float x : {-30.0f, -10.0f, 10.0f, 30.0f}) {
        addCylinder(poles, Xform::translate({x, 0, z}), 0.35f, 0, 31, 8, true);
        addBox(poles, Xform(), {x, 29.6f, z}, {8.4f, 0.5f, 0.5f});
        float zz = z + face * 0.4f;
        Vec3 a{x - 3.6f * face, 14, zz}, b{x + 3.6f * face, 14, zz};
        Vec3 c{x + 3.6f * face, 29.3f, zz}, d{x - 3.6f * face, 29.3f, zz};
        addQuad(cloth, Xform(), b, a, d, c);
        addQuad(cloth, Xform(), a, b, c, d);
    }
}

} // namespace

Model buildStadium() {
    Model m;
    m.materials = {
        {"Grass", {70, 130, 55}, {140, 215, 110}, {8, 10, 8}, 5, "grass.bmp"},
        {"PitchLine", {200, 200, 195}, {245, 245, 240}, {10, 10, 10}, 5, ""},
        {"CrowdMixed", {150, 150, 150}, {235, 235, 235}, {10, 10, 10}, 5, "crowdmix.bmp"},
        {"CrowdEmber", {150, 150, 150}, {235, 235, 235}, {10, 10, 10}, 5, "crowdred.bmp"},
        {"CrowdStorm", {150, 150, 150}, {235, 235, 235}, {10, 10, 10}, 5, "crowdblu.bmp"},
        {"Planks", {110, 80, 55}, {210, 170, 130}, {15, 12, 10}, 8, "wood.bmp"},
        {"Stone", {130, 125, 115}, {225, 218, 205}, {10, 10, 10}, 5, "stone.bmp"},
        {"RoofEmber", {150, 100, 70}, {245, 215, 190}, {20, 15, 12}, 10, "roofred.bmp"},
        {"RoofStorm", {105, 115, 125}, {215, 222, 230}, {15, 15, 18}, 10, "roofblu.bmp"},
        {"BannerEmber", {170, 90, 40}, {245, 235, 225}, {20, 15, 10}, 10, "banner1.bmp"},
        {"BannerStorm", {85, 100, 115}, {230, 234, 240}, {15, 15, 18}, 10, "banner2.bmp"},
    };
    pitch(m);
    const StandStyle sideE{"side", "CrowdMixed", "RoofEmber", "BannerEmber", "BannerStorm"};
    const StandStyle sideS{"side", "CrowdMixed", "RoofStorm", "BannerStorm", "BannerEmber"};
    const StandStyle endE{"end", "CrowdEmber", "RoofEmber", "BannerEmber", "BannerEmber"};
    const StandStyle endS{"end", "CrowdStorm", "RoofStorm", "BannerStorm", "BannerStorm"};
    stand(m, Xform(), 44, 88, sideE, "E");
    stand(m, Xform::scale({-1, 1, 1}), 44, 88, sideS, "W");
    stand(m, Xform::rotateY(-90), 102, 40, endE, "N");
    stand(m, Xform::rotateY(90), 102, 40, endS, "S");
    tower(m, 64, 118, "RoofEmber", "NE");
    tower(m, -64, 118, "RoofEmber", "NW");
    tower(m, 64, -118, "RoofStorm", "SE");
    tower(m, -64, -118, "RoofStorm", "SW");
    endBanners(m, 97, "BannerEmber", "N");
    endBanners(m, -97, "BannerStorm", "S");
    return m;
}

} // namespace model
