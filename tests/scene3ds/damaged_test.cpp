// Damaged scene files: every malformed structure is reported and the reading stops, without
// reading out of bounds, allocating what the file merely claims, or looping; a detach that fails
// half-way leaves nothing tied to the file. The fuzzer does the rest, errors ignored too.
#include "scene3ds/scenetest.h"

using namespace scenetest;

namespace {

class DamagedTest : public SceneTest {};

// An object "Box" whose triangle mesh holds what `body` writes.
template <class Body> ChunkWriter trimesh(Body body) {
    return editor([&](ChunkWriter& w) {
        w.begin(OBJECT_BLOCK);
        w.string("Box");
        w.begin(TRIMESH_BLOCK);
        body(w);
    });
}

ChunkWriter material(const char* texture) {
    return editor([&](ChunkWriter& w) { scenebuild::material(w, {"M", {}, {}, {}, 0, texture}); });
}

const uint32_t Invalid = ERR_INVALID_CHUNK, Reading = ERR_READING_FILE;

struct Case {
    const char* what;
    std::vector<uint32_t> build;  // errors of building; the two build failures follow any first one
    std::vector<uint32_t> detach; // errors of detaching afterwards (reading what was left)
    ChunkWriter file;
};

std::vector<Case> cases() {
    std::vector<Case> c;
    for (uint32_t size : {0u, 1u, 5u})
        c.push_back({"chunk size below six", {Invalid}, {}, editor([=](ChunkWriter& w) {
                         w.header(0x4321, size);
                         w.u32(0);
                     })});
    for (uint32_t size : {40u, 11u}) // the object holds 10 bytes; 11 is one past its parent
        c.push_back({"child running past its parent", {Invalid}, {}, editor([=](ChunkWriter& w) {
                         w.header(OBJECT_BLOCK, size);
                         w.string("Box");
                         w.end();
                         chunk(w, 0x0002, [&] { w.u32(3); });
                     })});
    c.push_back({"face count past the face list", {Reading}, {}, trimesh([](ChunkWriter& w) {
                     w.begin(FACE_LIST);
                     for (uint16_t v : {500, 0, 1, 2, 0})
                         w.u16(v);
                 })});
    c.push_back({"deep nesting", {Invalid}, {}, editor([](ChunkWriter& w) {
                     for (int i = 0; i < 20000; ++i)
                         w.begin(EDITOR_BLOCK);
                 })});
    c.push_back({"object name without terminator", {Reading}, {}, editor([](ChunkWriter& w) {
                     w.begin(OBJECT_BLOCK);
                     w.raw("ABCDEFGHIJK", 11);
                     w.u8(0);
                 })});
    c.push_back({"ten-character object name", {}, {}, editor([](ChunkWriter& w) {
                     scenebuild::mesh(w, scenebuild::strip("ABCDEFGHIJ", 3));
                 })});
    c.push_back({"thirteen-character map name", {Reading}, {}, material("abcdefghi.bmp")});
    c.push_back({"twelve-character map name", {}, {}, material("abcdefgh.bmp")});
    for (size_t n : {0u, 5u}) {
        c.push_back({"empty or tiny file", {Reading, ERR_CREATING_DATABASE}, {}, {}});
        c.back().file.raw("MMMMM", n);
    }
    c.push_back({"file chunk of size three", {Invalid, ERR_CREATING_DATABASE}, {}, {}});
    c.back().file.header(MESH_FILE, 3);
    // Read only on demand: the build passes, detaching reads the damage.
    c.push_back({"group name without terminator", {}, {Reading}, trimesh([](ChunkWriter& w) {
                     scenebuild::beginFaces(w, {{0, 1, 2, 0}});
                     w.begin(FACE_MATERIAL_GROUP);
                     w.raw("0123456789ABCDEFGHIJ", 20);
                 })});
    c.push_back({"smoothing list past sixteen bits", {}, {Invalid}, trimesh([](ChunkWriter& w) {
                     scenebuild::beginFaces(w, {{0, 1, 2, 0}});
                     chunk(w, SMOOTHING_LIST, [&] {
                         for (int i = 0; i < 65536; ++i)
                             w.u32(1);
                     });
                 })});
    return c;
}

} // namespace

TEST_F(DamagedTest, DamagedFilesAreReportedAndStopTheReading) {
    for (const Case& c : cases()) {
        database3ds* db = load(c.file, false);
        std::vector<uint32_t> expected = c.build;
        if (expected.size() == 1)
            expected.insert(expected.end(), {ERR_READING_DATABASE, ERR_CREATING_DATABASE});
        EXPECT_EQ(pendingErrors(), expected) << c.what;
        ClearErrList3ds();
        DisconnectDatabase3ds(db);
        if (c.build.empty()) {
            EXPECT_EQ(pendingErrors(), c.detach) << c.what;
        }
        CloseAllFiles3ds();
        ClearErrList3ds();
    }
}

TEST_F(DamagedTest, FailedDetachNeverReadsTheNextFileInTheSameSlot) {
    // "Broken" claims more vertices than its list holds, so reading it fails; "Whole" comes after
    // it and is only read if the detach goes on past the failure.
    auto scene = [](float first) {
        return editor([&](ChunkWriter& w) {
            for (uint16_t claimed : {40, 3})
                chunk(w, OBJECT_BLOCK, [&] {
                    w.string(claimed == 3 ? "Whole" : "Broken");
                    chunk(w, TRIMESH_BLOCK, [&] {
                        chunk(w, VERTEX_LIST, [&] {
                            w.u16(claimed);
                            for (int i = 0; i < 3; ++i)
                                for (float v : {first + i, first + 10 + i, first + 20 + i})
                                    w.f32(v);
                        });
                    });
                });
        });
    };
    database3ds* db = load(scene(1), false);
    ASSERT_EQ(ftkerr3ds, 0);
    DisconnectDatabase3ds(db);
    EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{Reading}) << "the broken vertex list";
    CloseAllFiles3ds();
    ClearErrList3ds(); // the caller carries on; another file now takes the freed slot
    ASSERT_NE(OpenFile3ds(write(scene(500), "theirs.3ds").c_str(), "r"), nullptr);
    mesh3ds* mesh = nullptr;
    GetMeshByName3ds(db, "Whole", &mesh);
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(mesh->vertexcount, 3);
    EXPECT_EQ(mesh->vertices[0].x, 1.0f);
    EXPECT_EQ(mesh->vertices[2].z, 23.0f);
    RelMeshObj3ds(&mesh);
}
