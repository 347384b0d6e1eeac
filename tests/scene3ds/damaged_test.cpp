// Damaged files: every malformed structure is reported and the reading stops, without reading
// out of bounds, allocating what the file merely claims, or looping.
#include "scene3ds/chunkdata3ds.h"
#include "scene3ds/scenetest.h"

using namespace scenetest;

namespace {

const std::vector<uint32_t> kBuildFailure = {ERR_READING_DATABASE, ERR_CREATING_DATABASE};

std::vector<uint32_t> chain(uint32_t first) {
    std::vector<uint32_t> out{first};
    out.insert(out.end(), kBuildFailure.begin(), kBuildFailure.end());
    return out;
}

class DamagedTest : public SceneTest {
  protected:
    database3ds* build(const ChunkWriter& w) {
        file_ = OpenFile3ds(write(w).c_str(), "r");
        database3ds* db = nullptr;
        InitDatabase3ds(&db);
        CreateDatabase3ds(file_, db);
        owned_.push_back(db);
        return db;
    }
    ~DamagedTest() override {
        for (database3ds* db : owned_)
            ReleaseDatabase3ds(&db);
    }
    file3ds* file_ = nullptr;

  private:
    std::vector<database3ds*> owned_;
};

} // namespace

TEST_F(DamagedTest, ChunkSizeBelowSixStopsTheWalk) {
    for (uint32_t size : {0u, 1u, 5u}) {
        ChunkWriter w;
        w.begin(MESH_FILE);
        w.begin(EDITOR_BLOCK);
        w.begin(0x0002);
        w.u32(1);
        w.end();
        w.header(0x4321, size);
        w.u32(0);
        w.end();
        w.end();
        database3ds* db = build(w);
        EXPECT_EQ(pendingErrors(), chain(ERR_INVALID_CHUNK)) << size;
        // The chunks read so far stay.
        ASSERT_NE(db->root->children, nullptr);
        chunk3ds* editor = db->root->children;
        ASSERT_NE(editor->children, nullptr);
        EXPECT_EQ(editor->children->tag, 0x0002u);
        EXPECT_EQ(editor->children->sibling, nullptr);
        CloseAllFiles3ds();
        ClearErrList3ds();
    }
}

TEST_F(DamagedTest, ChildRunningPastItsParentIsRefused) {
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(EDITOR_BLOCK);
    w.header(OBJECT_BLOCK, 40); // the editor block ends long before
    w.string("Box");
    w.end();
    w.begin(0x0002);
    w.u32(1);
    w.end();
    w.end();
    database3ds* db = build(w);
    EXPECT_EQ(pendingErrors(), chain(ERR_INVALID_CHUNK));
    EXPECT_EQ(db->root->children->children, nullptr);
}

TEST_F(DamagedTest, WalkTerminatesWhenIgnoringErrors) {
    ignoreftkerr3ds = 1;
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(EDITOR_BLOCK);
    w.header(0x4321, 2);
    w.end();
    w.begin(EDITOR_BLOCK);
    w.header(0x1234, 3);
    w.end();
    w.end();
    database3ds* db = build(w);
    EXPECT_TRUE(hasError(ERR_INVALID_CHUNK));
    EXPECT_TRUE(hasError(ERR_CREATING_DATABASE));
    // Ignoring errors, the walk goes on with the root's next child.
    EXPECT_EQ(db->root->children->sibling->tag, EDITOR_BLOCK);
}

TEST_F(DamagedTest, TruncatedFileEndsTheBuild) {
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(EDITOR_BLOCK);
    scenebuild::mesh(w, scenebuild::strip("Box", 4));
    w.end();
    w.end();
    ChunkWriter cut;
    cut.raw(w.bytes().data(), w.size() - 20);
    build(cut);
    EXPECT_TRUE(hasError(ERR_CREATING_DATABASE));
    EXPECT_TRUE(hasError(ERR_READING_FILE) || hasError(ERR_INVALID_CHUNK));
    // Ignoring errors the same file still terminates.
    CloseAllFiles3ds();
    ClearErrList3ds();
    ignoreftkerr3ds = 1;
    database3ds* db = build(cut);
    DisconnectDatabase3ds(db);
    EXPECT_EQ(GetMeshCount3ds(db), 1u);
}

TEST_F(DamagedTest, CountsPastTheChunkEndAreShortReads) {
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(EDITOR_BLOCK);
    w.begin(OBJECT_BLOCK);
    w.string("Box");
    w.begin(TRIMESH_BLOCK);
    w.begin(VERTEX_LIST);
    w.u16(3); // claims three vertices, holds one
    w.f32(1);
    w.f32(2);
    w.f32(3);
    w.end();
    // Plenty of bytes right after, which must not be taken as vertices.
    scenebuild::texCoords(w, {{1, 2}, {3, 4}, {5, 6}, {7, 8}});
    w.end();
    w.end();
    w.end();
    w.end();
    database3ds* db = build(w);
    EXPECT_EQ(ftkerr3ds, 0);
    chunk3ds* verts = nullptr;
    FindChunkInTree3ds(db->root, VERTEX_LIST, &verts);
    EXPECT_EQ(LoadChunkData3ds(verts), nullptr);
    EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{ERR_READING_FILE});
    ClearErrList3ds();
    DisconnectDatabase3ds(db);
    EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{ERR_READING_FILE});
}

TEST_F(DamagedTest, FaceCountPastTheFaceListIsCaughtByTheWalk) {
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(EDITOR_BLOCK);
    w.begin(OBJECT_BLOCK);
    w.string("Box");
    w.begin(TRIMESH_BLOCK);
    w.begin(FACE_LIST);
    w.u16(500);
    w.u16(0);
    w.u16(1);
    w.u16(2);
    w.u16(0);
    w.end();
    w.end();
    w.end();
    w.end();
    w.end();
    build(w);
    EXPECT_EQ(pendingErrors(), chain(ERR_READING_FILE));
}

TEST_F(DamagedTest, DeepNestingIsRefused) {
    ChunkWriter w;
    w.begin(MESH_FILE);
    for (int i = 0; i < 20000; ++i)
        w.begin(EDITOR_BLOCK);
    while (w.depth() > 0)
        w.end();
    database3ds* db = build(w);
    EXPECT_EQ(pendingErrors(), chain(ERR_INVALID_CHUNK));
    DisconnectDatabase3ds(db); // the kept part is shallow enough to walk
    ignoreftkerr3ds = 1;
    ClearErrList3ds();
    CloseAllFiles3ds();
    build(w);
    EXPECT_TRUE(hasError(ERR_INVALID_CHUNK));

    ChunkWriter ext;
    ext.begin(MESH_FILE);
    ext.begin(EXTENSION_DATA);
    for (int i = 0; i < 20000; ++i)
        ext.begin(0x8002);
    while (ext.depth() > 0)
        ext.end();
    ignoreftkerr3ds = 0;
    ClearErrList3ds();
    CloseAllFiles3ds();
    build(ext);
    EXPECT_TRUE(hasError(ERR_INVALID_CHUNK));
}

TEST_F(DamagedTest, StringsWithoutTerminatorWithinTheirLimit) {
    // Object name: 11 bytes without NUL ends the build.
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(EDITOR_BLOCK);
    w.begin(OBJECT_BLOCK);
    w.raw("ABCDEFGHIJK", 11);
    w.u8(0);
    w.end();
    w.end();
    w.end();
    build(w);
    EXPECT_EQ(pendingErrors(), chain(ERR_READING_FILE));

    // A ten-character name is the longest accepted.
    CloseAllFiles3ds();
    ClearErrList3ds();
    ChunkWriter ok;
    ok.begin(MESH_FILE);
    ok.begin(EDITOR_BLOCK);
    scenebuild::mesh(ok, scenebuild::strip("ABCDEFGHIJ", 3));
    ok.end();
    ok.end();
    database3ds* db = build(ok);
    DisconnectDatabase3ds(db);
    EXPECT_EQ(ftkerr3ds, 0);
    mesh3ds* mesh = nullptr;
    GetMeshByName3ds(db, "ABCDEFGHIJ", &mesh);
    ASSERT_NE(mesh, nullptr);
    EXPECT_STREQ(mesh->name, "ABCDEFGHIJ");
    RelMeshObj3ds(&mesh);

    // A material group name (read only on demand) without NUL fails the detach.
    CloseAllFiles3ds();
    ClearErrList3ds();
    ChunkWriter group;
    group.begin(MESH_FILE);
    group.begin(EDITOR_BLOCK);
    group.begin(OBJECT_BLOCK);
    group.string("Box");
    group.begin(TRIMESH_BLOCK);
    scenebuild::beginFaces(group, {{0, 1, 2, 0}});
    group.begin(FACE_MATERIAL_GROUP);
    group.raw("0123456789ABCDEFGHIJ", 20);
    group.end();
    group.end();
    group.end();
    group.end();
    group.end();
    group.end();
    db = build(group);
    EXPECT_EQ(ftkerr3ds, 0);
    DisconnectDatabase3ds(db);
    EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{ERR_READING_FILE});
}

TEST_F(DamagedTest, MapNamesLongerThanTwelveCharactersFailTheBuild) {
    auto scene = [](const char* mapName) {
        ChunkWriter w;
        w.begin(MESH_FILE);
        w.begin(EDITOR_BLOCK);
        scenebuild::material(w, scenebuild::plain("M", mapName));
        w.end();
        w.end();
        return w;
    };
    database3ds* db = build(scene("abcdefgh.bmp"));
    DisconnectDatabase3ds(db);
    EXPECT_EQ(ftkerr3ds, 0);
    material3ds* mat = nullptr;
    GetMaterialByName3ds(db, "M", &mat);
    ASSERT_NE(mat, nullptr);
    EXPECT_STREQ(mat->texmap.name, "abcdefgh.bmp");
    ReleaseMaterial3ds(&mat);
    CloseAllFiles3ds();
    build(scene("abcdefghi.bmp"));
    EXPECT_EQ(pendingErrors(), chain(ERR_READING_FILE));
}

TEST_F(DamagedTest, SmoothingListLongerThanSixteenBitsCanCount) {
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(EDITOR_BLOCK);
    w.begin(OBJECT_BLOCK);
    w.string("Box");
    w.begin(TRIMESH_BLOCK);
    scenebuild::beginFaces(w, {{0, 1, 2, 0}});
    w.begin(SMOOTHING_LIST);
    for (int i = 0; i < 65536; ++i)
        w.u32(1);
    w.end();
    w.end();
    w.end();
    w.end();
    w.end();
    w.end();
    database3ds* db = build(w);
    EXPECT_EQ(ftkerr3ds, 0);
    DisconnectDatabase3ds(db);
    EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{ERR_INVALID_CHUNK});
}

TEST_F(DamagedTest, ClaimedBodiesBeyondTheFileAreNotAllocated) {
    ignoreftkerr3ds = 1;
    ChunkWriter w;
    w.header(MESH_FILE, 0xFFFFFFF0u);
    w.header(0x4321, 0x7FFFFFF0u); // an unknown leaf claiming two gigabytes
    w.u32(0);
    database3ds* db = build(w);
    EXPECT_TRUE(hasError(ERR_READING_FILE));
    ASSERT_NE(db->root->children, nullptr);
    ClearErrList3ds();
    EXPECT_EQ(LoadChunkData3ds(db->root->children), nullptr);
    EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{ERR_READING_FILE});
    ClearErrList3ds();
    DisconnectDatabase3ds(db);
    EXPECT_EQ(db->root->children->data, nullptr);
}

TEST_F(DamagedTest, EmptyAndTinyFiles) {
    for (size_t n : {0u, 1u, 5u}) {
        ChunkWriter w;
        for (size_t i = 0; i < n; ++i)
            w.u8(0x4D);
        database3ds* db = build(w);
        EXPECT_EQ(pendingErrors(), (std::vector<uint32_t>{ERR_READING_FILE, ERR_CREATING_DATABASE}))
            << n;
        EXPECT_EQ(GetMeshCount3ds(db), 0u);
        CloseAllFiles3ds();
        ClearErrList3ds();
    }
    ChunkWriter tiny;
    tiny.header(MESH_FILE, 3);
    build(tiny);
    EXPECT_EQ(pendingErrors(), (std::vector<uint32_t>{ERR_INVALID_CHUNK, ERR_CREATING_DATABASE}));
}
