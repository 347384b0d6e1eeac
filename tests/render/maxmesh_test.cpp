// Models built from scene files: geometry, normals, bounding spheres, texture coordinates,
// materials and their matching, and damaged input.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cmath>

#include "modeltest.h"

using namespace scenebuild;
using rendertest::ModelTest;

namespace {

constexpr float Eps = 1e-5f;

float Dot(const Vector3f& a, const Vector3f& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Mesh Quad(const std::string& name, float z = 0.0f) {
    Mesh m;
    m.name = name;
    m.verts = {{-1, -1, z}, {1, -1, z}, {1, 1, z}, {-1, 1, z}};
    m.faces = {{0, 1, 2}, {0, 2, 3}};
    return m;
}

} // namespace

TEST_F(ModelTest, CubeSpheresNormalsAndArrays) {
    Mesh box = scenebuild::cube();
    auto model = Load({}, {box});
    ASSERT_EQ(model->numMeshes, 1);
    const MESH& m = model->meshes[0];
    ASSERT_EQ(m.numVerts, 8);
    ASSERT_EQ(m.numFaces, 12);

    EXPECT_NEAR(m.bounds.center.x, 1.0f, Eps);
    EXPECT_NEAR(m.bounds.center.y, 1.0f, Eps);
    EXPECT_NEAR(m.bounds.center.z, 1.0f, Eps);
    EXPECT_NEAR(m.bounds.radius, std::sqrt(3.0f), Eps);

    for (int f = 0; f < 12; ++f) {
        const FACE& face = m.faces[f];
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(face.vert[k], box.faces[f][k]);
            EXPECT_EQ(m.indices[3 * f + k], box.faces[f][k]);
        }
        Vector3f p[3];
        for (int k = 0; k < 3; ++k)
            p[k] = m.verts[face.vert[k]].pos;
        Vector3f centroid((p[0].x + p[1].x + p[2].x) / 3, (p[0].y + p[1].y + p[2].y) / 3,
                          (p[0].z + p[1].z + p[2].z) / 3);
        EXPECT_NEAR(face.bounds.center.x, centroid.x, Eps);
        EXPECT_NEAR(face.bounds.center.y, centroid.y, Eps);
        EXPECT_NEAR(face.bounds.center.z, centroid.z, Eps);
        float far = 0;
        for (int k = 0; k < 3; ++k)
            far = std::max(far, centroid.difference(p[k]).length);
        EXPECT_NEAR(face.bounds.radius, far, Eps);
        // Twice the area of a right triangle with legs 2, pointing out of the cube along one axis.
        EXPECT_NEAR(face.normal.length, 4.0f, Eps);
        Vector3f outward = centroid.difference(m.bounds.center);
        EXPECT_NEAR(Dot(face.normal, outward), 4.0f, Eps) << "face " << f;
    }

    for (int j = 0; j < 8; ++j) {
        const VERTEX& v = m.verts[j];
        EXPECT_EQ(m.vertexArray[3 * j], box.verts[j].x);
        EXPECT_EQ(m.vertexArray[3 * j + 1], box.verts[j].y);
        EXPECT_EQ(m.vertexArray[3 * j + 2], box.verts[j].z);
        EXPECT_GE(v.faceCount, 3);
        Vector3f n(m.normalArray[3 * j], m.normalArray[3 * j + 1], m.normalArray[3 * j + 2]);
        EXPECT_NEAR(n.length, 1.0f, Eps);
        EXPECT_EQ(n.x, v.normal.x);
        // The smoothed normal leans out of the cube on every axis at a corner.
        Vector3f out = v.pos.difference(m.bounds.center);
        EXPECT_GT(n.x * out.x, 0.0f);
        EXPECT_GT(n.y * out.y, 0.0f);
        EXPECT_GT(n.z * out.z, 0.0f);
    }
}

TEST_F(ModelTest, VertexNormalIsTheNormalisedAverageOfItsFaceNormals) {
    // Two triangles meeting at a right angle along the edge (0,0,0)-(1,0,0): one in the z = 0
    // plane facing +z, one in the y = 0 plane facing -y; the shared vertices' normals bisect them.
    Mesh m;
    m.name = "fold";
    m.verts = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    m.faces = {{0, 1, 2}, {0, 1, 3}};
    auto model = Load({}, {m});
    const MESH& mesh = model->meshes[0];
    // Each face has area 1/2, so its normal has length 1.
    EXPECT_NEAR(mesh.faces[0].normal.z, 1.0f, Eps);
    EXPECT_NEAR(mesh.faces[1].normal.y, -1.0f, Eps);
    const float h = std::sqrt(0.5f);
    for (int j : {0, 1}) {
        EXPECT_EQ(mesh.verts[j].faceCount, 2);
        EXPECT_NEAR(mesh.normalArray[3 * j + 0], 0.0f, Eps);
        EXPECT_NEAR(mesh.normalArray[3 * j + 1], -h, Eps);
        EXPECT_NEAR(mesh.normalArray[3 * j + 2], h, Eps);
    }
    // A corner of one face keeps that face's direction, not bent towards its position.
    EXPECT_NEAR(mesh.normalArray[3 * 2 + 2], 1.0f, Eps);
    EXPECT_NEAR(mesh.normalArray[3 * 3 + 1], -1.0f, Eps);
}

TEST_F(ModelTest, TextureCoordinatesAreKeptOnlyWhenTheirCountMatches) {
    Mesh with = Quad("with");
    with.uvs = {{0, 0}, {1, 0}, {1, 1}, {0.25f, 0.75f}};
    Mesh without = Quad("without");
    without.uvs = {{0.5f, 0.5f}, {0.5f, 0.5f}, {0.5f, 0.5f}}; // one short
    auto model = Load({}, {with, without});
    ASSERT_EQ(model->numMeshes, 2);
    const MESH& a = model->meshes[0];
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(a.texCoordArray[2 * j], with.uvs[j][0]);
        EXPECT_EQ(a.texCoordArray[2 * j + 1], with.uvs[j][1]);
        EXPECT_EQ(a.verts[j].u, with.uvs[j][0]);
    }
    const MESH& b = model->meshes[1];
    ASSERT_EQ(b.numVerts, 4);
    ASSERT_EQ(b.numFaces, 2);
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(b.texCoordArray[2 * j], 0.0f);
        EXPECT_EQ(b.texCoordArray[2 * j + 1], 0.0f);
        EXPECT_EQ(b.vertexArray[3 * j], without.verts[j].x);
        EXPECT_NEAR(b.normalArray[3 * j + 2], 1.0f, Eps);
    }
}

TEST_F(ModelTest, MaterialsAreCopiedInListOrderWithTheirTextures) {
    WriteTexture("stone.bmp");
    Material plain{"plain", {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, 25, ""};
    Material stone{"stone", {51, 51, 51}, {255, 128, 0}, {10, 20, 30}, 80, "stone.bmp"};
    Material lost{"lost", {1, 2, 3}, {4, 5, 6}, {7, 8, 9}, 0, "MISSING.BMP"};
    auto model = Load({plain, stone, lost}, {});
    ASSERT_EQ(model->numMats, 3);

    const MATERIAL& p = model->mats[0];
    EXPECT_STREQ(p.name, "plain");
    EXPECT_FLOAT_EQ(p.ambient[0], 1.0f);
    EXPECT_FLOAT_EQ(p.diffuse[1], 1.0f);
    EXPECT_FLOAT_EQ(p.specular[2], 1.0f);
    EXPECT_EQ(p.ambient[3], 0.0f);
    EXPECT_EQ(p.diffuse[3], 0.0f);
    EXPECT_EQ(p.specular[3], 0.0f);
    EXPECT_FLOAT_EQ(p.shininess, 0.25f); // as the database holds it, not rescaled
    EXPECT_STREQ(p.texFile, "");
    EXPECT_FALSE(p.hasTexture);

    const MATERIAL& s = model->mats[1];
    EXPECT_STREQ(s.name, "stone");
    EXPECT_FLOAT_EQ(s.diffuse[1], 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(s.shininess, 0.8f);
    EXPECT_STREQ(s.texFile, "stone.bmp");
    EXPECT_TRUE(s.hasTexture);
    EXPECT_NE(s.texture, 0u);
    EXPECT_TRUE(glIsTexture(s.texture));

    // A texture file that is missing leaves the material textured with name 0, silently.
    const MATERIAL& l = model->mats[2];
    EXPECT_TRUE(l.hasTexture);
    EXPECT_EQ(l.texture, 0u);
    EXPECT_TRUE(headless::messageBoxes().empty());
}

TEST_F(ModelTest, MeshesTakeTheFirstMaterialOfTheirFirstGroupsName) {
    Material first{"dup", {0, 0, 0}, {255, 0, 0}, {0, 0, 0}, 0, ""};
    Material second{"dup", {0, 0, 0}, {0, 255, 0}, {0, 0, 0}, 0, ""};
    Material other{"other", {0, 0, 0}, {0, 0, 255}, {0, 0, 0}, 0, ""};
    Mesh a = Quad("a");
    a.groups = {"dup"};
    Mesh b = Quad("b");
    b.groups = {"other", "dup"}; // only the first group counts
    Mesh c = Quad("c");
    c.groups = {"Other"}; // names are case-sensitive
    Mesh d = Quad("d");   // no group at all
    auto model = Load({first, second, other}, {a, b, c, d});
    ASSERT_EQ(model->numMats, 3);
    ASSERT_EQ(model->numMeshes, 4);
    EXPECT_EQ(model->meshes[0].matIndex, 0);
    EXPECT_EQ(model->meshes[1].matIndex, 2);
    EXPECT_EQ(model->meshes[2].matIndex, -1);
    EXPECT_EQ(model->meshes[3].matIndex, -1);
}

TEST_F(ModelTest, MeshesKeepFileOrderAndEachHasItsOwnSphere) {
    Mesh near = Quad("near", 0.0f);
    Mesh far = Quad("far", 50.0f);
    Mesh box = scenebuild::cube("cube");
    auto model = Load({}, {far, near, box});
    ASSERT_EQ(model->numMeshes, 3);
    EXPECT_NEAR(model->meshes[0].bounds.center.z, 50.0f, Eps);
    EXPECT_NEAR(model->meshes[0].bounds.radius, std::sqrt(2.0f), Eps);
    // The extents start afresh for every mesh.
    EXPECT_NEAR(model->meshes[1].bounds.center.z, 0.0f, Eps);
    EXPECT_NEAR(model->meshes[1].bounds.radius, std::sqrt(2.0f), Eps);
    EXPECT_NEAR(model->meshes[2].bounds.center.x, 1.0f, Eps);
    EXPECT_NEAR(model->meshes[2].bounds.radius, std::sqrt(3.0f), Eps);
}

TEST_F(ModelTest, DamagedAndDegenerateMeshesStaySafe) {
    // Faces naming vertices past the count are dropped; the rest of the mesh is kept.
    Mesh bad = Quad("bad");
    bad.faces = {{0, 1, 2}, {0, 2, 4}, {4, 1, 0}, {0, 2, 3}}; // 4 is one past the last vertex
    // A vertex used by no face, and a mesh with no vertices at all.
    Mesh lonely = Quad("lonely");
    lonely.verts.push_back({5, 5, 5});
    Mesh empty;
    empty.name = "empty";
    empty.faces = {{0, 1, 2}};
    auto model = Load({}, {bad, lonely, empty});
    ASSERT_EQ(model->numMeshes, 3);

    const MESH& b = model->meshes[0];
    ASSERT_EQ(b.numFaces, 2);
    EXPECT_EQ(b.indices[3], 0);
    EXPECT_EQ(b.indices[4], 2);
    EXPECT_EQ(b.indices[5], 3);
    EXPECT_EQ(b.faces[1].vert[2], 3);
    for (int j = 0; j < 4; ++j)
        EXPECT_NEAR(b.normalArray[3 * j + 2], 1.0f, Eps);
    EXPECT_EQ(b.verts[1].faceCount, 1);

    const MESH& l = model->meshes[1];
    EXPECT_EQ(l.verts[4].faceCount, 0);
    EXPECT_EQ(l.normalArray[12], 0.0f);
    EXPECT_EQ(l.normalArray[13], 1.0f);
    EXPECT_EQ(l.normalArray[14], 0.0f);

    const MESH& e = model->meshes[2];
    EXPECT_EQ(e.numVerts, 0);
    EXPECT_EQ(e.numFaces, 0);
    EXPECT_EQ(e.bounds.radius, 0.0f);
    EXPECT_EQ(e.bounds.center.x, 0.0f);
    EXPECT_EQ(e.bounds.center.y, 0.0f);
    EXPECT_EQ(e.bounds.center.z, 0.0f);
}

TEST_F(ModelTest, MissingFileGivesAnEmptyModel) {
    ClearErrList3ds();
    maxMesh model("no-such-model.3ds");
    EXPECT_EQ(model.numMeshes, 0);
    EXPECT_EQ(model.numMats, 0);
    model.draw(); // nothing to draw, and nothing breaks
    EXPECT_TRUE(headless::messageBoxes().empty());
}
