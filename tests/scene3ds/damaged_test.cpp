// Damaged scene files: every malformed structure is reported and the reading stops, without
// reading out of bounds, allocating what the file merely claims, or looping. The fuzzer does the
// rest.
#include "scene3ds/chunkdata3ds_local.h"
#include "scene3ds/scenetest.h"

#include <functional>

using namespace scenetest;

namespace {

// A mesh file whose editor block holds what `body` writes.
ChunkWriter editor(const std::function<void(ChunkWriter&)>& body) {
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(EDITOR_BLOCK);
    body(w);
    while (w.depth() > 0)
        w.end();
    return w;
}

// An object "Box" whose triangle mesh holds what `body` writes.
ChunkWriter trimesh(const std::function<void(ChunkWriter&)>& body) {
    return editor([&](ChunkWriter& w) {
        w.begin(OBJECT_BLOCK);
        w.string("Box");
        w.begin(TRIMESH_BLOCK);
        body(w);
    });
}

ChunkWriter nested(uint16_t tag) {
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(tag == EDITOR_BLOCK ? EDITOR_BLOCK : EXTENSION_DATA);
    for (int i = 0; i < 20000; ++i)
        w.begin(tag);
    while (w.depth() > 0)
        w.end();
    return w;
}

ChunkWriter bytes(size_t n) {
    ChunkWriter w;
    for (size_t i = 0; i < n; ++i)
        w.u8(0x4D);
    return w;
}

const uint32_t Invalid = ERR_INVALID_CHUNK, Reading = ERR_READING_FILE;
const uint32_t Failed[] = {ERR_READING_DATABASE, ERR_CREATING_DATABASE};

struct Case {
    const char* what;
    ChunkWriter file;
    std::vector<uint32_t> build;  // errors of building; the two build failures follow any first one
    std::vector<uint32_t> detach; // errors of detaching afterwards (reading what was left)
};

std::vector<Case> cases() {
    std::vector<Case> c;
    for (uint32_t size : {0u, 1u, 5u})
        c.push_back({"chunk size below six",
                     editor([=](ChunkWriter& w) {
                         w.header(0x4321, size);
                         w.u32(0);
                     }),
                     {Invalid},
                     {}});
    c.push_back({"child running past its parent",
                 editor([](ChunkWriter& w) {
                     w.header(OBJECT_BLOCK, 40);
                     w.string("Box");
                 }),
                 {Invalid},
                 {}});
    ChunkWriter onePast; // the object holds 10 bytes but claims 11, one past its parent
    onePast.begin(MESH_FILE);
    onePast.begin(EDITOR_BLOCK);
    onePast.header(OBJECT_BLOCK, 11);
    onePast.string("Box");
    onePast.end();
    onePast.begin(0x0002);
    onePast.u32(3);
    onePast.end();
    onePast.end();
    c.push_back({"child running one byte past its parent", onePast, {Invalid}, {}});
    c.push_back({"face count past the face list",
                 trimesh([](ChunkWriter& w) {
                     w.begin(FACE_LIST);
                     for (uint16_t v : {500, 0, 1, 2, 0})
                         w.u16(v);
                 }),
                 {Reading},
                 {}});
    c.push_back({"deep nesting", nested(EDITOR_BLOCK), {Invalid}, {}});
    c.push_back({"deep extension nesting", nested(0x8002), {Invalid}, {}});
    c.push_back({"object name without terminator",
                 editor([](ChunkWriter& w) {
                     w.begin(OBJECT_BLOCK);
                     w.raw("ABCDEFGHIJK", 11);
                     w.u8(0);
                 }),
                 {Reading},
                 {}});
    c.push_back(
        {"ten-character object name",
         editor([](ChunkWriter& w) { scenebuild::mesh(w, scenebuild::strip("ABCDEFGHIJ", 3)); }),
         {},
         {}});
    c.push_back({"thirteen-character map name",
                 editor([](ChunkWriter& w) {
                     scenebuild::material(w, scenebuild::plain("M", "abcdefghi.bmp"));
                 }),
                 {Reading},
                 {}});
    c.push_back({"twelve-character map name",
                 editor([](ChunkWriter& w) {
                     scenebuild::material(w, scenebuild::plain("M", "abcdefgh.bmp"));
                 }),
                 {},
                 {}});
    for (size_t n : {0u, 1u, 5u})
        c.push_back({"empty or tiny file", bytes(n), {Reading, ERR_CREATING_DATABASE}, {}});
    ChunkWriter three;
    three.header(MESH_FILE, 3);
    c.push_back({"file chunk of size three", three, {Invalid, ERR_CREATING_DATABASE}, {}});
    // Read only on demand: the build passes, detaching reads the damage.
    c.push_back({"vertex count past the chunk",
                 trimesh([](ChunkWriter& w) {
                     w.begin(VERTEX_LIST);
                     w.u16(3); // claims three vertices, holds one, then texture coordinates
                     w.f32(1);
                     w.f32(2);
                     w.f32(3);
                     w.end();
                     scenebuild::texCoords(w, {{1, 2}, {3, 4}, {5, 6}, {7, 8}});
                 }),
                 {},
                 {Reading}});
    c.push_back({"group name without terminator",
                 trimesh([](ChunkWriter& w) {
                     scenebuild::beginFaces(w, {{0, 1, 2, 0}});
                     w.begin(FACE_MATERIAL_GROUP);
                     w.raw("0123456789ABCDEFGHIJ", 20);
                 }),
                 {},
                 {Reading}});
    c.push_back({"smoothing list past sixteen bits",
                 trimesh([](ChunkWriter& w) {
                     scenebuild::beginFaces(w, {{0, 1, 2, 0}});
                     w.begin(SMOOTHING_LIST);
                     for (int i = 0; i < 65536; ++i)
                         w.u32(1);
                 }),
                 {},
                 {Invalid}});
    return c;
}

} // namespace

TEST_F(SceneTest, DamagedFilesAreReportedAndStopTheReading) {
    for (const Case& c : cases()) {
        file3ds* f = OpenFile3ds(write(c.file).c_str(), "r");
        database3ds* db = nullptr;
        InitDatabase3ds(&db);
        CreateDatabase3ds(f, db);
        std::vector<uint32_t> expected = c.build;
        if (expected.size() == 1)
            expected.insert(expected.end(), std::begin(Failed), std::end(Failed));
        EXPECT_EQ(pendingErrors(), expected) << c.what;
        ClearErrList3ds();
        DisconnectDatabase3ds(db);
        if (c.build.empty()) {
            EXPECT_EQ(pendingErrors(), c.detach) << c.what;
        }
        ReleaseDatabase3ds(&db);
        CloseAllFiles3ds();
        ClearErrList3ds();
    }
}

TEST_F(SceneTest, DamagedFilesStillEndWhenErrorsAreIgnored) {
    ignoreftkerr3ds = 1;
    // A truncated file, sizes too small to advance, and a body claiming two gigabytes.
    ChunkWriter whole =
        editor([](ChunkWriter& w) { scenebuild::mesh(w, scenebuild::strip("Box", 4)); });
    ChunkWriter cut;
    cut.raw(whole.bytes().data(), whole.size() - 20);
    ChunkWriter small = editor([](ChunkWriter& w) {
        w.header(0x4321, 2);
        w.end();
        w.begin(EDITOR_BLOCK);
        w.header(0x1234, 3);
    });
    ChunkWriter huge;
    huge.header(MESH_FILE, 0xFFFFFFF0u);
    huge.header(0x4321, 0x7FFFFFF0u);
    huge.u32(0);
    for (const ChunkWriter* w : {&cut, &small, &huge}) {
        database3ds* db = load(*w);
        EXPECT_TRUE(hasError(ERR_READING_FILE) || hasError(ERR_INVALID_CHUNK));
        ASSERT_NE(db->root, nullptr);
        ClearErrList3ds();
    }
    database3ds* db = load(cut);
    EXPECT_EQ(GetMeshCount3ds(db), 1u) << "what was read before the cut is kept";
}
