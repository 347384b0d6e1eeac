// Mesh extraction: the fields the game reads, detached or read on demand, and fetching by name and
// index.
#include "scene3ds/scenetest.h"

using namespace scenetest;

namespace {

class MeshTest : public SceneTest {};

} // namespace

TEST_F(MeshTest, FieldsDetachedOrReadOnDemand) {
    scenebuild::Mesh full; // optional parts, an empty group, smoothing one mask short
    full.name = "Full";
    full.objectFlags = {0x4010, 0x4015};
    full.verts = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {-1, -2, -3}};
    full.vertexFlags = {0x11, 0x22};
    full.uvs = {{0.5f, 0.25f}, {1, 0}, {0, 1}};
    full.faces = {{0, 1, 2, FaceABVisable3ds | FaceUWrap3ds}, {1, 2, 3, 0x1F}, {3, 2, 1, 0}};
    full.groups = {{"Red", {0, 2}}, {"Empty", {}}, {"Blue", {1}}};
    full.smoothing = {1, 0x80000000u};
    full.boxMap.assign(6, "0123456789ABCDEF"); // parts the game never reads, passed over
    full.localMatrix.assign(12, 0.5f);
    full.mapping.assign(21, 100.0f);
    for (bool detach : {true, false}) {
        SCOPED_TRACE(detach ? "detached" : "on demand");
        database3ds* db = load(editor([&](ChunkWriter& w) {
                                   scenebuild::mesh(w, full);
                                   scenebuild::mesh(w, scenebuild::strip("Second", 3));
                               }),
                               detach);
        mesh3ds* m = nullptr;
        GetMeshByName3ds(db, "Full", &m);
        ASSERT_NE(m, nullptr);
        ASSERT_EQ(m->vertexcount, 4);
        EXPECT_EQ(m->vertices[1].y, 5.0f);
        EXPECT_EQ(m->vertices[3].z, -3.0f);
        ASSERT_EQ(m->texvertcount, 3);
        EXPECT_EQ(m->texverts[0].v, 0.25f);
        ASSERT_EQ(m->facecount, 3);
        EXPECT_EQ(m->faces[0].v1, 0);
        EXPECT_EQ(m->faces[0].v2, 1);
        EXPECT_EQ(m->faces[2].v1, 3);
        EXPECT_EQ(m->faces[0].flag, FaceABVisable3ds | FaceUWrap3ds);
        ASSERT_EQ(m->matgroupcount, 3);
        EXPECT_STREQ(m->matgroups[2].name, "Blue");
        ASSERT_EQ(m->matgroups[0].facecount, 2);
        EXPECT_EQ(m->matgroups[0].faces[1], 2);
        EXPECT_EQ(m->matgroups[1].faces, nullptr);
        ASSERT_NE(m->smoothing, nullptr);
        EXPECT_EQ(m->smoothing[1], 0x80000000u);
        EXPECT_EQ(m->smoothing[2], 0u) << "padded to one mask per face";
        GetMeshByName3ds(db, "Second", &m); // the reused record keeps no masks of the last
        EXPECT_EQ(m->smoothing, nullptr);
        RelMeshObj3ds(&m);
        EXPECT_EQ(m, nullptr);
        EXPECT_EQ(ftkerr3ds, 0);
    }
}

// Names differ by case; of duplicates the first wins; a light is no mesh; a miss leaves the record.
TEST_F(MeshTest, OnlyObjectsWithATriangleMeshAreMeshes) {
    database3ds* db = load(editor([&](ChunkWriter& w) {
        chunk(w, OBJECT_BLOCK, [&] {
            w.string("Light");
            chunk(w, 0x4600, [&] { w.raw("123456789012", 12); });
        });
        for (int n : {4, 5, 6})
            scenebuild::mesh(w, scenebuild::strip(n == 4 ? "two" : "Two", n));
    }));
    EXPECT_EQ(GetMeshCount3ds(db), 3u);
    mesh3ds* m = nullptr;
    GetMeshByName3ds(db, "Two", &m);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->vertexcount, 5);
    GetMeshByIndex3ds(db, 0, &m);
    EXPECT_EQ(m->vertexcount, 4);
    for (const char* miss : {"Light", "Nobody"})
        GetMeshByName3ds(db, miss, &m);
    EXPECT_EQ(m->vertexcount, 4);
    RelMeshObj3ds(&m);
    EXPECT_EQ(ftkerr3ds, 0);
}
