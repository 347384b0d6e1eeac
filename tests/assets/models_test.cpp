// The model generator: closed outward shapes under any transform; models load and fit the world.
#include "assetgen/models/modelfile.h"
#include "platform/headless.h"
#include "render/maxmesh.h"
#include "scene3ds/scene3ds.h"
#include "support/datafolder.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <numeric>
#include <set>

namespace {

using P3 = std::array<float, 3>;
using Tri = std::array<int, 3>;

// A piece of triangles joined by shared corner positions (seams with duplicated vertices still
// join): closed when every edge is met once in each direction; its volume positive when its
// faces look outward.
struct Piece {
    bool closed = true;
    double volume = 0;
};

template <class Position, class Corner>
std::vector<Piece> pieces(size_t faces, Position position, Corner corner) {
    std::map<std::array<long, 3>, int> ids;
    std::vector<Tri> corners(faces);
    for (size_t f = 0; f < faces; ++f)
        for (int k = 0; k < 3; ++k) {
            const P3 p = position(corner(f, k));
            std::array<long, 3> key{std::lround(p[0] * 1000), std::lround(p[1] * 1000),
                                    std::lround(p[2] * 1000)};
            corners[f][k] = ids.emplace(key, int(ids.size())).first->second;
        }
    std::vector<int> root(ids.size());
    std::iota(root.begin(), root.end(), 0);
    auto find = [&](int i) {
        while (root[i] != i)
            i = root[i] = root[root[i]];
        return i;
    };
    for (const Tri& c : corners)
        root[find(c[1])] = root[find(c[2])] = find(c[0]);
    std::map<int, Piece> byRoot;
    std::map<std::pair<int, int>, int> edges;
    for (size_t f = 0; f < faces; ++f) {
        const Tri& c = corners[f];
        if (c[0] == c[1] || c[1] == c[2] || c[0] == c[2])
            continue; // no area, no volume
        const P3 a = position(corner(f, 0)), b = position(corner(f, 1)), d = position(corner(f, 2));
        byRoot[find(c[0])].volume += (a[0] * (double(b[1]) * d[2] - double(b[2]) * d[1]) -
                                      a[1] * (double(b[0]) * d[2] - double(b[2]) * d[0]) +
                                      a[2] * (double(b[0]) * d[1] - double(b[1]) * d[0])) /
                                     6.0;
        for (int k = 0; k < 3; ++k)
            edges[{c[k], c[(k + 1) % 3]}] += 1;
    }
    for (const auto& [e, n] : edges) {
        auto back = edges.find({e.second, e.first});
        if (back == edges.end() || back->second != n)
            byRoot[find(e.first)].closed = false;
    }
    std::vector<Piece> out;
    for (const auto& entry : byRoot)
        out.push_back(entry.second);
    return out;
}

std::vector<Piece> pieces(const model::Mesh& m) {
    return pieces(
        m.tri.size() / 3,
        [&](int i) {
            return P3{m.pos[i].x, m.pos[i].y, m.pos[i].z};
        },
        [&](size_t f, int k) { return m.tri[3 * f + k]; });
}

std::vector<Piece> pieces(const MESH& m) {
    return pieces(
        m.numFaces,
        [&](int i) {
            const Vector3f& p = m.verts[i].pos;
            return P3{p.x, p.y, p.z};
        },
        [&](size_t f, int k) { return int(m.faces[f].vert[k]); });
}

// Loads from the data folder, as the game does from its working directory.
struct DataModel {
    headless::OffscreenGL gl;
    testdata::WorkingDir cwd{testdata::dataDir()};
    std::unique_ptr<maxMesh> model;
    explicit DataModel(const char* file) {
        ClearErrList3ds();
        if (cwd.ok())
            model = std::make_unique<maxMesh>(file);
    }
};

} // namespace

TEST(ModelShapes, SolidsAreClosedAndFaceOutwardUnderEveryTransform) {
    using namespace model;
    const Xform transforms[] = {
        Xform(), Xform::rotateY(37).then(Xform::translate({5, -2, 9})),
        Xform::scale({-1, 1, 1}),                            // mirror
        Xform::rotateX(90).then(Xform::scale({2, 0.5f, 1})), // squash; every one keeps volume
    };
    const double pi = 3.14159265358979;
    for (size_t i = 0; i < std::size(transforms); ++i) {
        const Xform& x = transforms[i];
        std::vector<std::pair<Mesh, double>> shapes(4, {Mesh("shape", "mat"), 0.0});
        addBox(shapes[0].first, x, {1, 2, 3}, {2, 3, 4});
        shapes[0].second = 24;
        addCylinder(shapes[1].first, x, 2.0f, 1.0f, 4.0f, 48, true);
        shapes[1].second = 24 * 4.0 * std::sin(2 * pi / 48) * 3; // a 48-gon prism
        addEllipsoid(shapes[2].first, x, {1, 2, 3}, 32, 24);
        shapes[2].second = 4.0 / 3 * pi * 6;
        addPrism(shapes[3].first, x, {0, 0, 0, 2, 2, 2, 2, 0}, -1, 2); // a clockwise outline
        shapes[3].second = 12;
        for (const auto& [mesh, volume] : shapes) {
            auto parts = pieces(mesh);
            ASSERT_EQ(parts.size(), 1u) << "transform " << i;
            EXPECT_TRUE(parts[0].closed) << "transform " << i;
            EXPECT_NEAR(parts[0].volume, volume, volume * 0.03) << "transform " << i;
            EXPECT_EQ(mesh.pos.size(), mesh.u.size());
        }
    }
}

TEST(Models, EveryModelLoadsCleanlyWithinItsBudgetAndFacesOutward) {
    const struct {
        const char* file;
        int maxTriangles, minMaterials;
    } models[] = {
        {"mesh/stadium.3ds", 20000, 6}, {"mesh/goal.3ds", 1000, 2}, {"mesh/player.3ds", 2000, 4}};
    for (const auto& entry : models) {
        SCOPED_TRACE(entry.file);
        DataModel d(entry.file);
        ASSERT_TRUE(d.model);
        const maxMesh& m = *d.model;
        EXPECT_EQ(ftkerr3ds, 0) << "scene database reported an error";
        ASSERT_GT(m.numMeshes, 0);
        EXPECT_GE(m.numMats, entry.minMaterials);
        std::set<int> used;
        int faces = 0;
        for (int i = 0; i < m.numMeshes; ++i) {
            used.insert(m.meshes[i].matIndex);
            faces += m.meshes[i].numFaces;
            // A double-sided sheet closes on itself with no volume; a solid turned inside out
            // has a clearly negative one.
            for (const Piece& p : pieces(m.meshes[i]))
                EXPECT_TRUE(!p.closed || p.volume > -1e-3)
                    << "a piece of mesh " << i << " faces inward";
        }
        EXPECT_LE(faces, entry.maxTriangles);
        EXPECT_EQ(used.count(-1), 0u) << "a mesh names no material of the file";
        EXPECT_EQ(int(used.size()), m.numMats) << "a material is never used";
        for (int i = 0; i < m.numMats; ++i)
            EXPECT_TRUE(!m.mats[i].hasTexture || m.mats[i].texture != 0) << m.mats[i].texFile;
    }
}

TEST(Models, HoopOpeningHoldsTheScoringBoxAndHugsIt) {
    DataModel d("mesh/goal.3ds");
    ASSERT_TRUE(d.model);
    const maxMesh& m = *d.model;
    float minY = 1e9f, nearest = 1e9f;
    for (int i = 0; i < m.numMeshes; ++i)
        for (int f = 0; f < m.meshes[i].numFaces; ++f) {
            // Sample each triangle densely: no point may enter the scoring box.
            const Vector3f* c[3];
            for (int k = 0; k < 3; ++k)
                c[k] = &m.meshes[i].verts[m.meshes[i].faces[f].vert[k]].pos;
            for (int s = 0; s <= 12; ++s)
                for (int r = 0; r <= 12 - s; ++r) {
                    float u = s / 12.0f, v = r / 12.0f, w = 1 - u - v;
                    float x = c[0]->x * w + c[1]->x * u + c[2]->x * v;
                    float y = c[0]->y * w + c[1]->y * u + c[2]->y * v;
                    float z = c[0]->z * w + c[1]->z * u + c[2]->z * v;
                    ASSERT_FALSE(std::fabs(x) < 3.8f && std::fabs(y - 23.8f) < 3.8f &&
                                 std::fabs(z) < 2.05f)
                        << "hoop surface at " << x << "," << y << "," << z;
                    if (std::fabs(z) < 0.5f && std::fabs(y - 23.8f) < 6 && std::fabs(x) < 6)
                        nearest = std::min(nearest, std::max(std::fabs(x), std::fabs(y - 23.8f)));
                    minY = std::min(minY, y);
                }
        }
    EXPECT_NEAR(minY, 0.0f, 1e-4f) << "the hoop stands on the ground";
    EXPECT_GE(nearest, 3.8f);
    EXPECT_LE(nearest, 4.6f) << "the ring's inner edge is about the box's half-width away";
}

TEST(Models, StadiumLeavesThePlayVolumeClearAndRiderCarriesTheTrailNozzle) {
    DataModel stadium("mesh/stadium.3ds");
    ASSERT_TRUE(stadium.model);
    const maxMesh& m = *stadium.model;
    for (int i = 0; i < m.numMeshes; ++i)
        for (int f = 0; f < m.meshes[i].numFaces; ++f) {
            const FACE& face = m.meshes[i].faces[f];
            // Nothing but flat ground markings inside the volume balls and players use.
            if (std::fabs(face.bounds.center.x) < 34 && std::fabs(face.bounds.center.z) < 90) {
                EXPECT_LT(face.bounds.center.y, 0.2f) << m.mats[m.meshes[i].matIndex].name;
            }
        }
    DataModel rider("mesh/player.3ds");
    ASSERT_TRUE(rider.model);
    float nozzle = 1e9f, minZ = 1e9f;
    for (int i = 0; i < rider.model->numMeshes; ++i)
        for (int v = 0; v < rider.model->meshes[i].numVerts; ++v) {
            const Vector3f& p = rider.model->meshes[i].verts[v].pos;
            minZ = std::min(minZ, p.z);
            nozzle = std::min(nozzle, std::hypot(p.x, p.y + 0.35f, p.z - 3.35f));
        }
    EXPECT_LT(minZ, -1.5f) << "the sled's nose points to -z";
    EXPECT_LT(nozzle, 0.05f) << "the trail starts at the nozzle";
}
