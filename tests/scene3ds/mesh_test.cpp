// Mesh extraction: lists, every field of a mesh record, groups, smoothing, box map, flags,
// record reuse, fetching by name and index, and the failure cases.
#include "scene3ds/scenetest.h"

using namespace scenetest;

namespace {

void faceGroup(ChunkWriter& w, const char* material, const std::vector<uint16_t>& faces) {
    w.begin(FACE_MATERIAL_GROUP);
    w.string(material);
    w.u16(static_cast<uint16_t>(faces.size()));
    for (uint16_t f : faces)
        w.u16(f);
    w.end();
}

class MeshTest : public SceneTest {
  protected:
    // A scene with everything a mesh can hold on its first object.
    ChunkWriter fullScene() {
        ChunkWriter w;
        w.begin(MESH_FILE);
        w.begin(EDITOR_BLOCK);
        w.begin(OBJECT_BLOCK);
        w.string("Full");
        w.begin(0x4010);
        w.end();
        w.begin(0x4012);
        w.end();
        w.begin(0x4015);
        w.end();
        w.begin(0x4017);
        w.end();
        w.begin(TRIMESH_BLOCK);
        scenebuild::vertices(w, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {-1, -2, -3}});
        w.begin(VERTEX_FLAG_LIST);
        w.u16(2);
        w.u16(0x11);
        w.u16(0x22);
        w.end();
        scenebuild::texCoords(w, {{0.5f, 0.25f}, {1, 0}, {0, 1}});
        w.begin(0x4200); // a tag outside the mesh path: passed over
        w.u32(0);
        w.end();
        scenebuild::beginFaces(
            w, {{0, 1, 2, FaceABVisable3ds | FaceUWrap3ds}, {1, 2, 3, 0x1F}, {3, 2, 1, 0}});
        faceGroup(w, "Red", {0, 2});
        faceGroup(w, "Empty", {});
        w.begin(SMOOTHING_LIST);
        w.u32(1);
        w.u32(0x80000000u);
        w.end();
        faceGroup(w, "Blue", {1});
        w.begin(BOX_MAP_NAMES);
        for (const char* n : {"front", "back", "left", "right", "top", "0123456789ABCDEF"})
            w.string(n);
        w.end();
        w.end();
        w.begin(LOCAL_MATRIX);
        for (int i = 0; i < 12; ++i)
            w.f32(i * 0.5f);
        w.end();
        w.begin(OBJECT_COLOR_INDEX);
        w.u8(42);
        w.end();
        w.begin(MAPPING_INFO);
        w.u16(3);
        for (int i = 0; i < 21; ++i)
            w.f32(100.0f + i);
        w.end();
        w.begin(PROCEDURE_NAME);
        w.string("proc12345678");
        w.end();
        w.begin(PROCEDURE_DATA);
        w.u8(9);
        w.u8(8);
        w.u8(7);
        w.end();
        w.end();
        w.end();
        scenebuild::mesh(w, scenebuild::strip("Second", 3));
        w.end();
        w.end();
        return w;
    }
};

void expectFull(const mesh3ds* m) {
    EXPECT_STREQ(m->name, "Full");
    EXPECT_EQ(m->flag4010, 1);
    EXPECT_EQ(m->flag4011, 0);
    EXPECT_EQ(m->flag4012, 1);
    EXPECT_EQ(m->flag4013, 0);
    EXPECT_EQ(m->flag4014, 0);
    EXPECT_EQ(m->flag4015, 1);
    EXPECT_EQ(m->flag4016, 0);
    EXPECT_EQ(m->flag4017, 1);
    ASSERT_EQ(m->vertexcount, 4);
    EXPECT_EQ(m->vertices[1].y, 5.0f);
    EXPECT_EQ(m->vertices[3].z, -3.0f);
    ASSERT_EQ(m->vertexflagcount, 2);
    EXPECT_EQ(m->vertexflags[1], 0x22);
    ASSERT_EQ(m->texvertcount, 3);
    EXPECT_EQ(m->texverts[0].u, 0.5f);
    EXPECT_EQ(m->texverts[0].v, 0.25f);
    ASSERT_EQ(m->facecount, 3);
    EXPECT_EQ(m->faces[0].v1, 0);
    EXPECT_EQ(m->faces[0].v3, 2);
    EXPECT_EQ(m->faces[0].flag, FaceABVisable3ds | FaceUWrap3ds);
    EXPECT_EQ(m->faces[2].v1, 3);
    EXPECT_EQ(m->faces[1].flag, 0x1F);
    ASSERT_EQ(m->matgroupcount, 3);
    EXPECT_STREQ(m->matgroups[0].name, "Red");
    ASSERT_EQ(m->matgroups[0].facecount, 2);
    EXPECT_EQ(m->matgroups[0].faces[1], 2);
    EXPECT_STREQ(m->matgroups[1].name, "Empty");
    EXPECT_EQ(m->matgroups[1].facecount, 0);
    EXPECT_EQ(m->matgroups[1].faces, nullptr);
    EXPECT_STREQ(m->matgroups[2].name, "Blue");
    EXPECT_EQ(m->matgroups[2].faces[0], 1);
    ASSERT_NE(m->smoothing, nullptr);
    EXPECT_EQ(m->smoothing[0], 1u);
    EXPECT_EQ(m->smoothing[1], 0x80000000u);
    EXPECT_EQ(m->smoothing[2], 0u); // padded to one mask per face
    EXPECT_EQ(m->hasboxmap, 1);
    EXPECT_STREQ(m->boxmap[0], "front");
    EXPECT_STREQ(m->boxmap[5], "0123456789ABCDEF");
    EXPECT_EQ(m->localmatrix[11], 5.5f);
    EXPECT_EQ(m->colorindex, 42);
    EXPECT_EQ(m->hasmapping, 1);
    EXPECT_EQ(m->mapping.maptype, 3);
    EXPECT_EQ(m->mapping.mapparams[0], 100.0f);
    EXPECT_EQ(m->mapping.mapparams[20], 120.0f);
    EXPECT_STREQ(m->procname, "proc12345678");
    ASSERT_EQ(m->procsize, 3u);
    EXPECT_EQ(m->procdata[2], 7);
}

} // namespace

TEST_F(MeshTest, EveryFieldOfAFullMesh) {
    database3ds* db = load(fullScene());
    ASSERT_EQ(ftkerr3ds, 0);
    mesh3ds* m = nullptr;
    GetMeshByName3ds(db, "Full", &m);
    ASSERT_NE(m, nullptr);
    expectFull(m);
    // Fetching again into a fresh record gives the same, and the database still answers.
    mesh3ds* again = nullptr;
    GetMeshByName3ds(db, "Full", &again);
    ASSERT_NE(again, nullptr);
    expectFull(again);
    EXPECT_NE(again->vertices, m->vertices);
    RelMeshObj3ds(&again);
    RelMeshObj3ds(&m);
    EXPECT_EQ(m, nullptr);
    EXPECT_EQ(GetMeshCount3ds(db), 2u);
    EXPECT_EQ(ftkerr3ds, 0);
}

TEST_F(MeshTest, ExtractionWorksOnAnAttachedDatabaseToo) {
    file3ds* f = OpenFile3ds(write(fullScene()).c_str(), "r");
    database3ds* db = nullptr;
    InitDatabase3ds(&db);
    CreateDatabase3ds(f, db);
    mesh3ds* m = nullptr;
    GetMeshByIndex3ds(db, 0, &m);
    ASSERT_NE(m, nullptr);
    expectFull(m);
    RelMeshObj3ds(&m);
    GetMeshByIndex3ds(db, 0, &m); // the moved data reloads from the file
    ASSERT_NE(m, nullptr);
    expectFull(m);
    RelMeshObj3ds(&m);
    EXPECT_EQ(ftkerr3ds, 0);
    ReleaseDatabase3ds(&db);
}

TEST_F(MeshTest, ListsCountOnlyObjectsWithATriangleMesh) {
    ChunkWriter w;
    w.begin(PROJECT_FILE); // a project file is read like a mesh file
    w.begin(EDITOR_BLOCK);
    scenebuild::material(w, scenebuild::plain("M"));
    scenebuild::mesh(w, scenebuild::strip("One", 3));
    w.begin(OBJECT_BLOCK);
    w.string("Light");
    w.begin(0x4600);
    w.f32(0);
    w.f32(0);
    w.f32(0);
    w.end();
    w.end();
    scenebuild::mesh(w, scenebuild::strip("two", 4));
    scenebuild::mesh(w, scenebuild::strip("Two", 5));
    scenebuild::mesh(w, scenebuild::strip("Two", 6)); // duplicate name: the first wins
    w.end();
    w.end();
    database3ds* db = load(w);
    EXPECT_EQ(GetMeshCount3ds(db), 4u);
    ASSERT_NE(db->objects, nullptr);
    EXPECT_EQ(db->objects->count, 5u); // the light is a named object too
    namelist3ds* names = nullptr;
    GetMeshNameList3ds(db, &names);
    ASSERT_NE(names, nullptr);
    ASSERT_EQ(names->count, 4u);
    EXPECT_STREQ(names->names[0].name, "One");
    EXPECT_STREQ(names->names[1].name, "two");
    EXPECT_STREQ(names->names[2].name, "Two");
    EXPECT_STREQ(names->names[3].name, "Two");
    ReleaseNameList3ds(&names);

    mesh3ds* m = nullptr;
    GetMeshByName3ds(db, "Two", &m);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->vertexcount, 5);
    GetMeshByName3ds(db, "two", &m); // names differ by case
    EXPECT_EQ(m->vertexcount, 4);
    GetMeshByIndex3ds(db, 3, &m);
    EXPECT_EQ(m->vertexcount, 6);
    GetMeshByIndex3ds(db, 4, &m); // past the last mesh: untouched
    EXPECT_EQ(m->vertexcount, 6);
    GetMeshByName3ds(db, "Light", &m); // not a mesh: untouched, no report
    GetMeshByName3ds(db, "Nobody", &m);
    EXPECT_EQ(m->vertexcount, 6);
    EXPECT_STREQ(m->name, "Two");
    EXPECT_EQ(ftkerr3ds, 0);
    RelMeshObj3ds(&m);

    // Extracting the light directly is the wrong kind of object.
    mesh3ds* light = nullptr;
    ExtractMeshObject3ds(db->objects->entries[1].chunk, &light);
    EXPECT_EQ(light, nullptr);
    EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{ERR_WRONG_OBJECT});
}

TEST_F(MeshTest, MissingOptionalChunks) {
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(EDITOR_BLOCK);
    w.begin(OBJECT_BLOCK);
    w.string("Bare");
    w.begin(TRIMESH_BLOCK);
    scenebuild::vertices(w, {{1, 1, 1}});
    scenebuild::beginFaces(w, {{0, 0, 0, 0}});
    w.begin(SMOOTHING_LIST); // four masks for one face: all kept
    for (uint32_t i = 1; i <= 4; ++i)
        w.u32(i);
    w.end();
    w.end();
    w.end();
    w.end();
    w.end();
    w.end();
    database3ds* db = load(w);
    mesh3ds* m = nullptr;
    GetMeshByName3ds(db, "Bare", &m);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->texvertcount, 0);
    EXPECT_EQ(m->texverts, nullptr);
    EXPECT_EQ(m->matgroupcount, 0);
    EXPECT_EQ(m->matgroups, nullptr);
    ASSERT_NE(m->smoothing, nullptr);
    EXPECT_EQ(m->smoothing[3], 4u);
    RelMeshObj3ds(&m);
}

TEST_F(MeshTest, SmoothingAlwaysCoversEveryFace) {
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(EDITOR_BLOCK);
    // Two face lists: the later one has more faces and no smoothing of its own.
    w.begin(OBJECT_BLOCK);
    w.string("Twice");
    w.begin(TRIMESH_BLOCK);
    scenebuild::beginFaces(w, {{0, 1, 2, 0}});
    w.begin(SMOOTHING_LIST);
    w.u32(5);
    w.end();
    w.end();
    scenebuild::beginFaces(w, {{0, 1, 2, 0}, {0, 1, 2, 0}, {0, 1, 2, 0}, {0, 1, 2, 0}});
    w.end();
    w.end();
    w.end();
    scenebuild::mesh(w, scenebuild::strip("Plain", 12)); // ten faces, no smoothing
    w.end();
    w.end();
    database3ds* db = load(w);
    mesh3ds* m = nullptr;
    GetMeshByName3ds(db, "Twice", &m);
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->facecount, 4);
    ASSERT_NE(m->smoothing, nullptr);
    EXPECT_EQ(m->smoothing[0], 5u);
    EXPECT_EQ(m->smoothing[3], 0u);
    // Reusing the record for a mesh without smoothing must not leave the short array behind.
    GetMeshByName3ds(db, "Plain", &m);
    EXPECT_EQ(m->facecount, 10);
    EXPECT_EQ(m->smoothing, nullptr);
    RelMeshObj3ds(&m);
    EXPECT_EQ(ftkerr3ds, 0);
}
