// The generated models load through the game's model loader with an empty scene-database error
// list, stay within their triangle budgets, face outward, and fit the world that uses them.
#include "assets/geometry.h"
#include "support/datafolder.h"
#include "platform/headless.h"
#include "render/image.h"
#include "render/maxmesh.h"
#include "scene3ds/scene3ds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <unistd.h>

namespace {

// Loads from the data folder, as the game does from its working directory.
struct DataModel {
    headless::OffscreenGL gl;
    std::unique_ptr<maxMesh> model;
    explicit DataModel(const char* file) {
        char cwd[1024];
        std::string back = getcwd(cwd, sizeof cwd) ? cwd : ".";
        ClearErrList3ds();
        if (chdir(testdata::dataDir().c_str()) == 0) {
            model = std::make_unique<maxMesh>(file);
            if (chdir(back.c_str()) != 0)
                ADD_FAILURE() << "cannot return to " << back;
        }
    }
};

assets::Triangles meshTriangles(const MESH& m) {
    assets::Triangles t;
    for (int i = 0; i < m.numVerts; ++i)
        t.pos.push_back({m.verts[i].pos.x, m.verts[i].pos.y, m.verts[i].pos.z});
    for (int f = 0; f < m.numFaces; ++f)
        t.tri.push_back({m.faces[f].vert[0], m.faces[f].vert[1], m.faces[f].vert[2]});
    return t;
}

int totalFaces(const maxMesh& m) {
    int n = 0;
    for (int i = 0; i < m.numMeshes; ++i)
        n += m.meshes[i].numFaces;
    return n;
}

const MESH* findMesh(const maxMesh& m, const char* materialName) {
    for (int i = 0; i < m.numMeshes; ++i)
        if (m.meshes[i].matIndex >= 0 &&
            std::strcmp(m.mats[m.meshes[i].matIndex].name, materialName) == 0)
            return &m.meshes[i];
    return nullptr;
}

// Everything every model must satisfy: loads cleanly, every mesh has its material, textures
// exist as power-of-two 24-bit files named 8.3, specular stays modest, closed pieces face out.
void expectSoundModel(const char* file, int maxTriangles, int minMaterials) {
    SCOPED_TRACE(file);
    DataModel d(file);
    ASSERT_TRUE(d.model);
    const maxMesh& m = *d.model;
    EXPECT_EQ(ftkerr3ds, 0) << "scene database reported an error";
    ASSERT_GT(m.numMeshes, 0);
    EXPECT_GE(m.numMats, minMaterials);
    EXPECT_LE(totalFaces(m), maxTriangles);
    std::set<int> used;
    for (int i = 0; i < m.numMeshes; ++i) {
        const MESH& mesh = m.meshes[i];
        EXPECT_GE(mesh.matIndex, 0) << "mesh " << i << " names no material of the file";
        used.insert(mesh.matIndex);
        EXPECT_GT(mesh.numFaces, 0);
        for (const assets::Piece& p : assets::pieces(meshTriangles(mesh)))
            // A double-sided sheet closes on itself with no volume; a solid turned inside out
            // has a clearly negative one.
            if (p.closed) {
                EXPECT_GT(p.volume, -1e-3) << "a closed piece of mesh " << i << " faces inward";
            }
    }
    EXPECT_EQ(int(used.size()), m.numMats) << "a material is never used";
    for (int i = 0; i < m.numMats; ++i) {
        const MATERIAL& mat = m.mats[i];
        SCOPED_TRACE(mat.name);
        for (int c = 0; c < 3; ++c)
            EXPECT_LE(mat.specular[c], 0.35f);
        EXPECT_GE(mat.shininess, 0.0f);
        EXPECT_LE(mat.shininess, 1.0f);
        if (!mat.hasTexture)
            continue;
        EXPECT_NE(mat.texture, 0u) << mat.texFile << " did not become a texture";
        std::string name = mat.texFile;
        size_t dot = name.find('.');
        ASSERT_NE(dot, std::string::npos);
        EXPECT_LE(dot, 8u);
        EXPECT_LE(name.size() - dot - 1, 3u);
        std::unique_ptr<ImageRec, void (*)(ImageRec*)> img(
            LoadBMP(testdata::dataPath(name).c_str()), FreeImageRec);
        ASSERT_TRUE(img) << name;
        EXPECT_EQ(img->width & (img->width - 1), 0);
        EXPECT_EQ(img->height & (img->height - 1), 0);
    }
}

} // namespace

TEST(Models, StadiumLoadsCleanlyWithinItsBudget) {
    expectSoundModel("mesh/stadium.3ds", 20000, 6);
}
TEST(Models, HoopLoadsCleanlyWithinItsBudget) {
    expectSoundModel("mesh/goal.3ds", 1000, 2);
}
TEST(Models, RiderLoadsCleanlyWithinItsBudget) {
    expectSoundModel("mesh/player.3ds", 2000, 4);
}

TEST(Models, HoopOpeningHoldsTheScoringBoxAndHugsIt) {
    DataModel d("mesh/goal.3ds");
    ASSERT_TRUE(d.model);
    const maxMesh& m = *d.model;
    float minY = 1e9f, maxY = -1e9f, nearest = 1e9f;
    for (int i = 0; i < m.numMeshes; ++i) {
        auto t = meshTriangles(m.meshes[i]);
        for (size_t f = 0; f < t.tri.size(); ++f) {
            // Sample each triangle densely: no point may enter the scoring box.
            const auto &a = t.pos[t.tri[f][0]], &b = t.pos[t.tri[f][1]], &c = t.pos[t.tri[f][2]];
            for (int s = 0; s <= 12; ++s)
                for (int r = 0; r <= 12 - s; ++r) {
                    float u = s / 12.0f, v = r / 12.0f, w = 1 - u - v;
                    float x = a.x * w + b.x * u + c.x * v, y = a.y * w + b.y * u + c.y * v;
                    float z = a.z * w + b.z * u + c.z * v;
                    bool inside =
                        std::fabs(x) < 3.8f && std::fabs(y - 23.8f) < 3.8f && std::fabs(z) < 2.05f;
                    ASSERT_FALSE(inside) << "hoop surface at " << x << "," << y << "," << z;
                    if (std::fabs(z) < 0.5f && std::fabs(y - 23.8f) < 6 && std::fabs(x) < 6)
                        nearest = std::min(nearest, std::max(std::fabs(x), std::fabs(y - 23.8f)));
                }
            for (int k = 0; k < 3; ++k) {
                minY = std::min(minY, t.pos[t.tri[f][k]].y);
                maxY = std::max(maxY, t.pos[t.tri[f][k]].y);
            }
        }
    }
    EXPECT_NEAR(minY, 0.0f, 1e-4f) << "the hoop stands on the ground";
    EXPECT_GT(maxY, 23.8f + 3.8f);
    // The ring closes in on the box: its inner edge is about the box's half-width away.
    EXPECT_GE(nearest, 3.8f);
    EXPECT_LE(nearest, 4.6f);
}

TEST(Models, RiderFacesAheadHoldsTheBallAndCarriesTheTrailNozzle) {
    DataModel d("mesh/player.3ds");
    ASSERT_TRUE(d.model);
    const maxMesh& m = *d.model;
    float minZ = 1e9f, maxZ = -1e9f, nozzle = 1e9f, deepest = 1e9f;
    bool leftHand = false, rightHand = false;
    for (int i = 0; i < m.numMeshes; ++i)
        for (int v = 0; v < m.meshes[i].numVerts; ++v) {
            const Vector3f& p = m.meshes[i].verts[v].pos;
            minZ = std::min(minZ, p.z);
            maxZ = std::max(maxZ, p.z);
            nozzle = std::min(nozzle, std::sqrt(p.x * p.x + (p.y + 0.35f) * (p.y + 0.35f) +
                                                (p.z - 3.35f) * (p.z - 3.35f)));
            // The ball held one unit ahead (radius 0.6).
            float toBall = std::sqrt(p.x * p.x + p.y * p.y + (p.z + 1) * (p.z + 1));
            deepest = std::min(deepest, toBall);
            if (std::fabs(toBall - 0.6f) < 0.2f) {
                leftHand |= p.x < -0.25f;
                rightHand |= p.x > 0.25f;
            }
        }
    EXPECT_LT(minZ, -1.5f) << "the sled's nose points to -z";
    EXPECT_GT(maxZ, 3.2f);
    EXPECT_LT(maxZ, 3.7f);
    EXPECT_LT(nozzle, 0.05f) << "the trail starts at the nozzle";
    EXPECT_TRUE(leftHand && rightHand) << "both hands reach the held ball";
    EXPECT_GT(deepest, 0.3f) << "the held ball would sink into the rider";
    EXPECT_GE(m.numMeshes, 5);
}

TEST(Models, StadiumLeavesThePlayVolumeClearAndFacesThePitch) {
    DataModel d("mesh/stadium.3ds");
    ASSERT_TRUE(d.model);
    const maxMesh& m = *d.model;
    float farthest = 0;
    for (int i = 0; i < m.numMeshes; ++i) {
        const MESH& mesh = m.meshes[i];
        const MATERIAL& mat = m.mats[mesh.matIndex];
        auto t = meshTriangles(mesh);
        for (size_t f = 0; f < t.tri.size(); ++f) {
            assets::P3 c = assets::centroid(t, f), n = assets::faceNormal(t, f);
            // Nothing but flat ground markings inside the volume balls and players use.
            if (std::fabs(c.x) < 34 && std::fabs(c.z) < 90) {
                EXPECT_LT(c.y, 0.2f) << mat.name << " intrudes into the pitch";
            }
            // Crowds are seen from the pitch: their faces turn towards its centre line.
            if (std::strncmp(mat.name, "Crowd", 5) == 0) {
                float tx = -c.x, tz = std::clamp(c.z, -40.0f, 40.0f) - c.z;
                EXPECT_GT(n.x * tx + n.z * tz, 0.0f) << "crowd faces away from the pitch";
            }
            if (std::strcmp(mat.name, "Grass") == 0 || std::strcmp(mat.name, "PitchLine") == 0) {
                EXPECT_GT(n.y, 0.0f);
            }
        }
        for (const auto& p : t.pos)
            for (int zi = -78; zi <= 83; zi += 23) {
                const float z = static_cast<float>(zi);
                farthest = std::max(farthest, std::sqrt(p.x * p.x + (p.y - 24) * (p.y - 24) +
                                                        (p.z - z) * (p.z - z)));
            }
    }
    EXPECT_LT(farthest, 390.0f - 12.0f) << "part of the stadium lies beyond the far plane";
    const MESH* ground = findMesh(m, "Grass");
    ASSERT_NE(ground, nullptr);
    EXPECT_TRUE(m.mats[ground->matIndex].hasTexture);
    EXPECT_NE(findMesh(m, "CrowdEmber"), nullptr);
    EXPECT_NE(findMesh(m, "CrowdStorm"), nullptr);
}
