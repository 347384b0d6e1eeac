// The model generator's shapes: outward winding under every transform, closed solids with the
// expected volume, texture coordinates per vertex, and the chunk encoding read back.
#include "assetgen/models/modelfile.h"
#include "assets/geometry.h"
#include "scene3ds/scene3ds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

using namespace model;

namespace {

assets::Triangles toTriangles(const Mesh& m) {
    assets::Triangles t;
    for (const Vec3& p : m.pos)
        t.pos.push_back({p.x, p.y, p.z});
    for (size_t i = 0; i < m.tri.size(); i += 3)
        t.tri.push_back({m.tri[i], m.tri[i + 1], m.tri[i + 2]});
    return t;
}

// One closed piece with outward faces and the given volume (relative tolerance).
void expectSolid(const Mesh& m, double volume, double tolerance) {
    auto parts = assets::pieces(toTriangles(m));
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_TRUE(parts[0].closed);
    EXPECT_NEAR(parts[0].volume, volume, volume * tolerance);
    EXPECT_EQ(m.pos.size(), m.u.size());
    EXPECT_EQ(m.pos.size(), m.v.size());
}

const Xform TRANSFORMS[] = {
    Xform(),
    Xform::rotateY(37).then(Xform::translate({5, -2, 9})),
    Xform::scale({-1, 1, 1}),                            // mirror
    Xform::rotateX(90).then(Xform::scale({2, 0.5f, 1})), // squash
    Xform::scale({1, -1, 1}).then(Xform::rotateZ(-20)),  // mirror and turn
};

double det(const Xform& x) {
    return x.m[0][0] * (x.m[1][1] * x.m[2][2] - x.m[1][2] * x.m[2][1]) -
           x.m[0][1] * (x.m[1][0] * x.m[2][2] - x.m[1][2] * x.m[2][0]) +
           x.m[0][2] * (x.m[1][0] * x.m[2][1] - x.m[1][1] * x.m[2][0]);
}

} // namespace

TEST(MeshShapes, BoxesAreClosedAndFaceOutwardUnderEveryTransform) {
    for (const Xform& x : TRANSFORMS) {
        Mesh m("box", "mat");
        addBox(m, x, {1, 2, 3}, {2, 3, 4});
        EXPECT_EQ(m.triangles(), 12u);
        expectSolid(m, 24.0 * std::fabs(det(x)), 1e-4);
    }
}

TEST(MeshShapes, LatheCylinderAndEllipsoidEnclosePositiveVolume) {
    for (const Xform& x : TRANSFORMS) {
        Mesh cyl("cyl", "mat");
        addCylinder(cyl, x, 2.0f, 1.0f, 4.0f, 48, true);
        // A 48-gon prism: area = n/2 r^2 sin(2 pi / n).
        double area = 24 * 4.0 * std::sin(2 * 3.14159265 / 48);
        expectSolid(cyl, area * 3 * std::fabs(det(x)), 1e-3);

        Mesh ell("ell", "mat");
        addEllipsoid(ell, x, {1, 2, 3}, 32, 24);
        expectSolid(ell, 4.0 / 3 * 3.14159265 * 6 * std::fabs(det(x)), 0.03);
    }
}

TEST(MeshShapes, RingPrismAndStrutAreOutwardSolids) {
    Mesh ring("ring", "mat");
    addRing(ring, Xform(), 4, 5, 1, 2, 64);
    auto parts = assets::pieces(toTriangles(ring));
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_TRUE(parts[0].closed);
    EXPECT_GT(parts[0].volume, 0.0);

    // A clockwise outline is accepted and still faces outward.
    for (bool clockwise : {false, true}) {
        Mesh prism("prism", "mat");
        std::vector<float> square = {0, 0, 2, 0, 2, 2, 0, 2};
        if (clockwise)
            square = {0, 0, 0, 2, 2, 2, 2, 0};
        addPrism(prism, Xform::scale({-1, 1, 1}), square, -1, 2);
        expectSolid(prism, 12.0, 1e-4);
    }

    Mesh strut("strut", "mat");
    addStrut(strut, {1, 1, 1}, {4, -3, 1}, 0.5f, 0.5f, 32);
    double area = 16 * 0.25 * std::sin(2 * 3.14159265 / 32);
    expectSolid(strut, area * 5.0, 1e-3);
}

TEST(MeshShapes, QuadsAndGridsFaceTheWayTheirCornersTurn) {
    Mesh m("q", "mat");
    addGrid(m, Xform(), {0, 0, 0}, {4, 0, 0}, {4, 0, -4}, {0, 0, -4}, 3, 2, 1, 1);
    EXPECT_EQ(m.triangles(), 12u);
    auto t = toTriangles(m);
    for (size_t f = 0; f < t.tri.size(); ++f)
        EXPECT_GT(assets::faceNormal(t, f).y, 0.0f);
    Mesh two("two", "mat");
    addQuad(two, Xform(), {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, 1, 1, true);
    auto t2 = toTriangles(two);
    ASSERT_EQ(t2.tri.size(), 4u);
    EXPECT_GT(assets::faceNormal(t2, 0).z, 0.0f);
    EXPECT_LT(assets::faceNormal(t2, 2).z, 0.0f);
}

TEST(ModelEncoding, ReadsBackThroughTheSceneDatabaseWithoutErrors) {
    Model m;
    m.materials = {{"Shiny", {10, 20, 30}, {255, 128, 0}, {40, 40, 40}, 25, "tex.bmp"},
                   {"Plain", {1, 2, 3}, {4, 5, 6}, {7, 8, 9}, 0, ""}};
    Mesh& box = m.mesh("crate", "Shiny");
    addBox(box, Xform(), {0, 0, 0}, {2, 2, 2});
    Mesh& ball = m.mesh("ball", "Plain");
    addEllipsoid(ball, Xform(), {1, 1, 1}, 8, 6);
    const std::string path = ::testing::TempDir() + "encoded_model.3ds";
    ASSERT_TRUE(write3ds(path, m));

    ClearErrList3ds();
    file3ds* f = OpenFile3ds(path.c_str(), "r");
    ASSERT_NE(f, nullptr);
    database3ds* db = nullptr;
    InitDatabase3ds(&db);
    CreateDatabase3ds(f, db);
    DisconnectDatabase3ds(db);
    CloseFile3ds(f);
    EXPECT_EQ(ftkerr3ds, 0);
    EXPECT_EQ(GetMeshCount3ds(db), 2u);
    EXPECT_EQ(GetMaterialCount3ds(db), 2u);

    mesh3ds* mesh = nullptr;
    GetMeshByName3ds(db, "crate", &mesh);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->vertexcount, box.pos.size());
    EXPECT_EQ(mesh->texvertcount, box.pos.size());
    EXPECT_EQ(mesh->facecount, 12);
    ASSERT_EQ(mesh->matgroupcount, 1);
    EXPECT_STREQ(mesh->matgroups[0].name, "Shiny");
    EXPECT_EQ(mesh->matgroups[0].facecount, 12);
    EXPECT_EQ(mesh->faces[5].v1, box.tri[15]);
    RelMeshObj3ds(&mesh);

    material3ds* mat = nullptr;
    GetMaterialByName3ds(db, "Shiny", &mat);
    ASSERT_NE(mat, nullptr);
    EXPECT_FLOAT_EQ(mat->diffuse.r, 1.0f);
    EXPECT_NEAR(mat->diffuse.g, 128 / 255.0f, 1e-6);
    EXPECT_NEAR(mat->shininess, 0.25f, 1e-6);
    EXPECT_STREQ(mat->texmap.name, "tex.bmp");
    ReleaseMaterial3ds(&mat);
    EXPECT_EQ(ftkerr3ds, 0);
    ReleaseDatabase3ds(&db);
    std::remove(path.c_str());
}
