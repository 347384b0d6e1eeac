// The scene database: bookkeeping, damaged files, and the meshes and materials the game extracts.
#include "scene3ds/chunkdata3ds_local.h"
#include "scene3ds/scene3ds.h"
#include "support/datafolder.h"
#include "support/scenebuilder.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace scenebuild;

#if !defined(__SANITIZE_ADDRESS__)
// While set, every calloc of at least this many bytes fails (not so in the sanitizer's build).
size_t callocFailsFrom = 0;
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* calloc(size_t count, size_t size) {
    return callocFailsFrom && count * size >= callocFailsFrom ? nullptr
                                                              : __libc_calloc(count, size);
}
#endif

namespace {

std::vector<uint32_t> pendingErrors() {
    std::vector<uint32_t> out;
    const errrec3ds* list = ReturnErrorList3ds();
    for (int i = 0; i < ErrListOverflow3ds - 1 && list[i].id != NO_FTK_ERRORS; ++i)
        out.push_back(list[i].id);
    return out;
}

// A mesh file whose editor block holds what `body` writes; chunks it leaves open are closed.
template <class Body> ChunkWriter editor(Body body) {
    ChunkWriter w;
    w.begin(MESH_FILE), w.begin(EDITOR_BLOCK), body(w);
    while (w.depth() > 0)
        w.end();
    return w;
}

class SceneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ignoreftkerr3ds = 0, ClearErrList3ds();
        ReturnErrorList3ds()[ErrListOverflow3ds].id = NO_FTK_ERRORS;
    }
    void TearDown() override {
        for (database3ds* db : dbs_)
            ReleaseDatabase3ds(&db);
        CloseAllFiles3ds(), SetUp();
    }
    std::string write(const ChunkWriter& w, const std::string& name = "scene.3ds") {
        EXPECT_TRUE(w.writeFile(dir.file(name)));
        return dir.file(name);
    }
    // Builds; detaches and closes the file as the model loader does, or leaves it open for demand.
    database3ds* load(const ChunkWriter& w, bool detach = true) {
        file3ds* f = OpenFile3ds(write(w, "s" + std::to_string(dbs_.size()) + ".3ds").c_str(), "r");
        dbs_.push_back(nullptr), InitDatabase3ds(&dbs_.back());
        CreateDatabase3ds(f, dbs_.back());
        if (detach)
            DisconnectDatabase3ds(dbs_.back()), CloseFile3ds(f);
        return dbs_.back();
    }
    testdata::ScratchDir dir;

  private:
    std::vector<database3ds*> dbs_;
};

using TreeTest = SceneTest;
using DamagedTest = SceneTest;
using MeshTest = SceneTest;

// An object "Box" whose triangle mesh holds what `body` writes.
template <class Body> ChunkWriter trimesh(Body body) {
    return editor([&](ChunkWriter& w) {
        w.begin(OBJECT_BLOCK), w.string("Box"), w.begin(TRIMESH_BLOCK), body(w);
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
                         w.header(0x4321, size), w.u32(0);
                     })});
    for (uint32_t size : {40u, 11u}) // the object holds 10 bytes; 11 is one past its parent
        c.push_back({"child running past its parent", {Invalid}, {}, editor([=](ChunkWriter& w) {
                         w.header(OBJECT_BLOCK, size), w.string("Box"), w.end();
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
                     w.begin(OBJECT_BLOCK), w.raw("ABCDEFGHIJK", 11), w.u8(0);
                 })});
    c.push_back({"ten-character object name", {}, {}, editor([](ChunkWriter& w) {
                     mesh(w, strip("ABCDEFGHIJ", 3));
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
                     beginFaces(w, {{0, 1, 2, 0}});
                     w.begin(FACE_MATERIAL_GROUP), w.raw("0123456789ABCDEFGHIJ", 20);
                 })});
    c.push_back({"smoothing list past sixteen bits", {}, {Invalid}, trimesh([](ChunkWriter& w) {
                     beginFaces(w, {{0, 1, 2, 0}}), w.begin(SMOOTHING_LIST);
                     for (int i = 0; i < 65536; ++i)
                         w.u32(1);
                 })});
    return c;
}

class MaterialTest : public SceneTest {
  protected:
    // The only material, "Mat", holds what body writes; one record is reused across fetches.
    template <class Body> material3ds* fetch(Body body) {
        auto file = editor([&](ChunkWriter& w) {
            w.begin(MATERIAL_BLOCK), stringChunk(w, MATERIAL_NAME, "Mat"), body(w);
        });
        return GetMaterialByName3ds(load(file), "Mat", &mat_), mat_;
    }
    ~MaterialTest() override { ReleaseMaterial3ds(&mat_); }

  private:
    material3ds* mat_ = nullptr;
};

} // namespace

// Parent names (with instance) lead each header, replace stale ones, outlive the file; ids from 0.
TEST_F(TreeTest, ParentNamePassNamesEachNodesParent) {
    for (int base : {10, 0}) { // ids from 10, or none
        SCOPED_TRACE(base);
        const std::pair<const char*, int> nodes[] = {
            {"Body", -1}, {"Arm", base}, {"Ghost", 99}, {"Hand", base + 1}}; // parent ids
        ChunkWriter w;
        w.begin(MESH_FILE), w.begin(KEYFRAMER_BLOCK);
        for (int i = 0; i < 4; ++i)
            chunk(w, 0xB002, [&] {
                if (base)
                    chunk(w, NODE_ID, [&] { w.i16(static_cast<int16_t>(base + i)); });
                chunk(w, NODE_HEADER, [&] {
                    w.string(nodes[i].first), w.u32(0), w.i16(int16_t(nodes[i].second));
                    if (i == 3) // a stale name as long as a name may be, replaced
                        stringChunk(w, PARENT_NAME, std::string(63, 'O'));
                    chunk(w, 0x1234, [&] { w.u32(7); });
                });
                if (i == 0)
                    stringChunk(w, INSTANCE_NAME, "inst");
            });
        w.end(), w.end();
        database3ds* db = load(w, false);
        DisconnectDatabase3ds(db), CloseAllFiles3ds();
        ASSERT_EQ(ftkerr3ds, 0);
        std::vector<std::string> names;
        for (chunk3ds* n = db->root->children->children; n; n = n->sibling) {
            chunk3ds *header = nullptr, *pn = nullptr;
            FindChunkInSiblings3ds(n->children, NODE_HEADER, &header);
            ASSERT_NE(header, nullptr);
            FindChunkInSiblings3ds(header->children, PARENT_NAME, &pn);
            auto* s = pn ? static_cast<StringData3ds*>(LoadChunkData3ds(pn)) : nullptr;
            names.push_back(!pn ? "-" : s && s->name ? s->name : "<unread>");
            EXPECT_TRUE(!pn ||
                        (header->children == pn && pn->sibling && pn->sibling->tag == 0x1234 &&
                         !pn->sibling->sibling)); // the header's first child, its only name
        }
        EXPECT_EQ(names, (std::vector<std::string>{"-", "Body.inst", "-", "Arm"}));
    }
}

// Subchunks follow a parent's own data; extension data nests extension tags only, ends at others.
TEST_F(TreeTest, SubchunksFollowTheirParentsOwnData) {
    const std::pair<uint16_t, void (*)(ChunkWriter&)> parents[] = {
        {LOCAL_MATRIX, [](ChunkWriter& w) { w.raw(std::string(48, '\xFF').data(), 48); }},
        {0x4700, [](ChunkWriter& w) { w.raw(std::string(32, '\xFF').data(), 32); }},
        {0x0011, [](ChunkWriter& w) { w.raw("\xFF\xFF\xFF", 3); }},
        {0xB030, [](ChunkWriter& w) { w.u16(0xFFFF); }},
        {0xB00A, [](ChunkWriter& w) { w.u16(5), w.string("name"), w.u32(9); }},
        {0xB010, [](ChunkWriter& w) { w.string("node"), w.u32(0), w.i16(-1); }},
    };
    database3ds* db = load(editor([&](ChunkWriter& w) {
        for (const auto& [tag, prefix] : parents)
            chunk(w, tag, [&] { prefix(w), chunk(w, 0x1234, [&] { w.u32(7); }); });
        chunk(w, EXTENSION_DATA, [&] {
            chunk(w, 0x8002, [&] { chunk(w, 0x8003, [&] { w.u32(1); }); });
            chunk(w, 0x8004, [&] { w.u32(2); });
            chunk(w, 0x1234, [&] { w.u32(3); });
            chunk(w, 0x8005, [&] { w.u32(4); });
        });
    }));
    chunk3ds *block = nullptr, *c = nullptr;
    FindChunkInSiblings3ds(db->root->children, EDITOR_BLOCK, &block);
    ASSERT_NE(block, nullptr);
    for (const auto& [tag, prefix] : parents) {
        FindChunkInSiblings3ds(block->children, tag, &c);
        EXPECT_TRUE(c && c->children && c->children->tag == 0x1234) << std::hex << tag;
    }
    FindChunkInSiblings3ds(block->children, EXTENSION_DATA, &c);
    ASSERT_TRUE(c && c->children && c->children->sibling);
    EXPECT_TRUE(c->children->tag == 0x8002 && c->children->children->tag == 0x8003 &&
                c->children->sibling->tag == 0x8004 && !c->children->sibling->sibling);
    EXPECT_EQ(ftkerr3ds, 0);
}

// New: an empty root, default mesh arrays (faces 0-1-2); resized ones keep theirs, flags follow.
TEST_F(TreeTest, NewDatabasesAndMeshArraysStartFromDefaults) {
    database3ds* db = nullptr;
    InitDatabase3ds(&db), CreateNewDatabase3ds(db, MaterialFile);
    ASSERT_TRUE(db->root && !db->root->children);
    EXPECT_TRUE(db->root->tag == MATERIAL_FILE && db->root->size == 6 &&
                GetDatabaseType3ds(db) == MaterialFile);
    ReleaseDatabase3ds(&db);
    mesh3ds* m = nullptr;
    InitMeshObj3ds(&m, 2, 2, 0xFF);
    ASSERT_TRUE(m && m->faces && m->vertices && m->smoothing && m->vertexflags);
    for (int f : {0, 1})
        EXPECT_TRUE(m->faces[f].v1 == 0 && m->faces[f].v2 == 1 && m->faces[f].v3 == 2 &&
                    m->faces[f].flag == 0 && m->smoothing[f] == 0 && m->vertices[f].y == 0);
    m->faces[0].v3 = 9, m->vertices[1].y = 5;
    m->facecount = 3, m->vertexcount = 4; // the caller fills what the new counts add
    InitMeshObjField3ds(m, InitFaceArray3ds | InitVertexArray3ds | InitVFlagArray3ds);
    EXPECT_TRUE(m->faces[0].v3 == 9 && m->vertices[1].y == 5 && m->vertexflagcount == 4 &&
                m->vertexflags[3] == 0);
    RelMeshObj3ds(&m);
    EXPECT_EQ(ftkerr3ds, 0);
}

// 19 errors kept in order; the 20th overflows, later ones make it N_ERRORS; dumps newest first.
TEST_F(TreeTest, ErrorListKeepsNineteenThenMarksTheOverflow) {
    // Each code's number leads to its own text (the numbers are the module's published ones).
#define NAMED(code) std::pair<uint32_t, std::string>(code, #code)
    const std::pair<uint32_t, std::string> codes[] = {
        NAMED(ERR_NO_MEM),           NAMED(ERR_INVALID_ARG),       NAMED(ERR_INVALID_DATA),
        NAMED(ERR_INVALID_CHUNK),    NAMED(ERR_INVALID_DATABASE),  NAMED(ERR_WRONG_DATABASE),
        NAMED(ERR_UNFOUND_CHUNK),    NAMED(ERR_WRONG_OBJECT),      NAMED(ERR_NO_SUCH_FILE),
        NAMED(ERR_INIT_FAILED),      NAMED(ERR_OPENING_FILE),      NAMED(ERR_CLOSING_FILE),
        NAMED(ERR_READING_FILE),     NAMED(ERR_CREATING_DATABASE), NAMED(ERR_READING_DATABASE),
        NAMED(ERR_WRITING_DATABASE), NAMED(ERR_WRITING_FILE),      NAMED(ERR_STRING_TOO_LONG),
        NAMED(ERR_TOO_MANY_FILES)};
#undef NAMED
    std::vector<uint32_t> pushed;
    std::string expected; // the dump, newest first
    for (const auto& [code, name] : codes) {
        EXPECT_EQ(std::string(ErrCodeToString3ds(code)).rfind(name + ":", 0), 0u) << name;
        PushErrList3ds(code), pushed.push_back(code);
        expected = ErrCodeToString3ds(code) + ("\n" + expected);
    }
    PushErrList3ds(NO_FTK_ERRORS); // no error at all
    const errrec3ds* overflow = ReturnErrorList3ds() + ErrListOverflow3ds;
    EXPECT_EQ(overflow->id, NO_FTK_ERRORS);
    for (uint32_t code : {ERR_NO_MEM, ERR_NO_MEM}) {
        PushErrList3ds(code);
        EXPECT_EQ(pendingErrors(), pushed);
    }
    EXPECT_EQ(overflow->id, N_ERRORS);
    EXPECT_STREQ(overflow->desc, "N_ERRORS: More errors were reported then could be recorded.");
    char text[8192] = {};
    FILE* out = fmemopen(text, sizeof text - 1, "w");
    DumpErrList3ds(out), std::fclose(out);
    EXPECT_EQ(text, expected);
    EXPECT_STREQ(ErrCodeToString3ds(N_ERRORS - 1), "Unknown error code was encountered");
    ClearErrList3ds();
    EXPECT_TRUE(ftkerr3ds == 0 && pendingErrors().empty() && overflow->id == N_ERRORS);
}

// The first 'r' or 'w' decides (a reader of a file reopened to write moves aside); neither fails.
TEST_F(TreeTest, ModeLettersDecideAndTheFileTableHolds252Files) {
    const std::string path = write(editor([](ChunkWriter& w) { w.u32(7); }));
    auto size = [&] { return static_cast<long>(std::filesystem::file_size(path)); };
    const long whole = size();
    file3ds* reading = OpenFile3ds(path.c_str(), "arw");
    ASSERT_NE(reading, nullptr);
    EXPECT_TRUE(OpenFile3ds(path.c_str(), "rb") == reading && size() == whole);
    for (const char* mode : {"ab", "r"}) // no letter that decides; then refused for the error
        EXPECT_EQ(OpenFile3ds(path.c_str(), mode), nullptr) << mode;
    EXPECT_EQ(pendingErrors(), (std::vector<uint32_t>{ERR_INIT_FAILED, ERR_INIT_FAILED}));
    ClearErrList3ds();
    EXPECT_TRUE(OpenFile3ds(path.c_str(), "wr") && size() == 0); // the reader moves aside
    EXPECT_EQ(std::string(reading->filename).rfind(dir.path() + "/3ds", 0), 0u)
        << reading->filename;
    CloseAllFiles3ds(); // the table holds 252 open files (one that failed to open, none)
    EXPECT_EQ(OpenFile3ds(dir.file("missing").c_str(), "r"), nullptr);
    ClearErrList3ds();
    file3ds* f = nullptr;
    for (int i = 0; i <= 252; ++i) {
        const std::string name = dir.file(std::to_string(i));
        ASSERT_TRUE(testdata::writeFile(name, {0}));
        ASSERT_NE(f = OpenFile3ds(name.c_str(), "r"), nullptr);
        EXPECT_EQ(f->index, i < 252 ? i : NoFileIndex3ds) << i; // the next opens without one
    }
    EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{ERR_TOO_MANY_FILES});
    ClearErrList3ds(), CloseFile3ds(f); // a file without a slot is closed by its owner alone
}

TEST_F(DamagedTest, DamagedFilesAreReportedAndStopTheReading) {
    for (const Case& c : cases()) {
        database3ds* db = load(c.file, false);
        std::vector<uint32_t> expected = c.build;
        if (expected.size() == 1)
            expected.insert(expected.end(), {ERR_READING_DATABASE, ERR_CREATING_DATABASE});
        EXPECT_EQ(pendingErrors(), expected) << c.what;
        ClearErrList3ds(), DisconnectDatabase3ds(db);
        if (c.build.empty()) {
            EXPECT_EQ(pendingErrors(), c.detach) << c.what;
        }
        CloseAllFiles3ds(), ClearErrList3ds();
    }
}

TEST_F(DamagedTest, FailedDetachNeverReadsTheNextFileInTheSameSlot) {
    // "Broken" claims more vertices than it holds; "Whole" after it is read only past the failure.
    auto scene = [](float first) {
        return editor([&](ChunkWriter& w) {
            for (uint16_t claimed : {40, 3}) {
                w.begin(OBJECT_BLOCK), w.string(claimed == 3 ? "Whole" : "Broken");
                w.begin(TRIMESH_BLOCK), w.begin(VERTEX_LIST), w.u16(claimed);
                for (int i = 0; i < 3; ++i)
                    w.f32(first + i), w.f32(first + 10 + i), w.f32(first + 20 + i);
                w.end(), w.end(), w.end();
            }
        });
    };
    database3ds* db = load(scene(1), false);
    ASSERT_EQ(ftkerr3ds, 0);
    DisconnectDatabase3ds(db);
    EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{Reading}) << "the broken vertex list";
    CloseAllFiles3ds(), ClearErrList3ds(); // the caller carries on; another file takes the slot
    ASSERT_NE(OpenFile3ds(write(scene(500), "theirs.3ds").c_str(), "r"), nullptr);
    mesh3ds* mesh = nullptr;
    GetMeshByName3ds(db, "Whole", &mesh);
    ASSERT_TRUE(mesh && mesh->vertexcount == 3);
    EXPECT_TRUE(mesh->vertices[0].x == 1.0f && mesh->vertices[2].z == 23.0f) << "this file's own";
    RelMeshObj3ds(&mesh);
}

TEST_F(MeshTest, FieldsDetachedOrReadOnDemand) {
    Mesh full; // optional parts, an empty group, smoothing one mask short
    full.name = "Full", full.objectFlags = {0x4010, 0x4015}, full.vertexFlags = {0x11, 0x22};
    full.verts = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {-1, -2, -3}};
    full.uvs = {{0.5f, 0.25f}, {1, 0}, {0, 1}}, full.smoothing = {1, 0x80000000u};
    full.faces = {{0, 1, 2, FaceABVisable3ds | FaceUWrap3ds}, {1, 2, 3, 0x1F}, {3, 2, 1, 0}};
    full.groups = {{"Red", {0, 2}}, {"Empty", {}}, {"Blue", {1}}};
    full.boxMap.assign(6, "0123456789ABCDEF"); // parts the game never reads, extracted all the same
    full.localMatrix.assign(12, 0.5f), full.mapping.assign(21, 100.0f);
    auto file = editor([&](ChunkWriter& w) { mesh(w, full), mesh(w, strip("Second", 3)); });
    for (bool detach : {true, false}) {
        SCOPED_TRACE(detach ? "detached" : "on demand");
        database3ds* db = load(file, detach);
        mesh3ds* m = nullptr;
        GetMeshByName3ds(db, "Full", &m);
        ASSERT_TRUE(m && m->vertexcount == 4 && m->texvertcount == 3 && m->facecount == 3);
        EXPECT_EQ((std::vector<float>{m->vertices[1].y, m->vertices[3].z, m->texverts[0].v,
                                      float(m->faces[0].v1), float(m->faces[0].v2),
                                      float(m->faces[2].v1), float(m->faces[0].flag)}),
                  (std::vector<float>{5, -3, 0.25f, 0, 1, 3, FaceABVisable3ds | FaceUWrap3ds}));
        ASSERT_TRUE(m->matgroupcount == 3 && m->matgroups[0].facecount == 2);
        EXPECT_STREQ(m->matgroups[2].name, "Blue");
        EXPECT_TRUE(m->matgroups[0].faces[1] == 2 && m->matgroups[1].faces == nullptr);
        ASSERT_NE(m->smoothing, nullptr);
        EXPECT_TRUE(m->smoothing[1] == 0x80000000u && m->smoothing[2] == 0u) << "padded per face";
        EXPECT_TRUE(m->localmatrix[0] == 0.5f && m->localmatrix[11] == 0.5f && m->hasmapping &&
                    m->mapping.mapparams[20] == 100.0f && m->hasboxmap);
        GetMeshByName3ds(db, "Second", &m); // the reused record keeps no masks of the last
        EXPECT_EQ(m->smoothing, nullptr);
        RelMeshObj3ds(&m);
        EXPECT_TRUE(m == nullptr && ftkerr3ds == 0);
    }
}

// Name and group lists (also over a first face list's) that cannot be had are empty: ERR_NO_MEM.
TEST_F(MeshTest, ListsThatCannotBeAllocatedAreEmpty) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "needs an address-space cap and the failing allocator";
#else
    namelist3ds* list = nullptr;
    InitNameList3ds(&list, 3);
    ASSERT_TRUE(list && list->names && list->count == 3 && list->capacity == 3);
    rlimit old{};
    getrlimit(RLIMIT_AS, &old);
    const rlimit capped{rlim_t(8) << 30, old.rlim_max}; // far below the 32 GiB of slots asked next
    setrlimit(RLIMIT_AS, &capped), InitNameList3ds(&list, 0xFFFFFFFFu);
    setrlimit(RLIMIT_AS, &old);
    EXPECT_TRUE(!list->names && list->count == 0 && list->capacity == 0);
    EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{ERR_NO_MEM});
    ReleaseNameList3ds(&list), ClearErrList3ds();
    EXPECT_EQ(list, nullptr);
    database3ds* db = load(trimesh([](ChunkWriter& w) {
        for (int groups : {1, 40}) {
            beginFaces(w, {{0, 1, 2}});
            for (int g = 0; g < groups; ++g)
                chunk(w, FACE_MATERIAL_GROUP, [&] { w.string("G"), w.u16(1), w.u16(0); });
            w.end();
        }
    }));
    mesh3ds* m = nullptr;
    callocFailsFrom = 40 * sizeof(objmat3ds), GetMeshByName3ds(db, "Box", &m);
    callocFailsFrom = 0;
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(m->matgroupcount == 0 && m->matgroups == nullptr);
    EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{ERR_NO_MEM});
    RelMeshObj3ds(&m);
#endif
}

// Names differ by case; of duplicates the first wins; a light is no mesh; a miss leaves the record.
TEST_F(MeshTest, OnlyObjectsWithATriangleMeshAreMeshes) {
    database3ds* db = load(editor([&](ChunkWriter& w) {
        chunk(w, OBJECT_BLOCK,
              [&] { w.string("Light"), chunk(w, 0x4600, [&] { w.raw("123456789012", 12); }); });
        for (int n : {4, 5, 6})
            mesh(w, strip(n == 4 ? "two" : "Two", n));
    }));
    mesh3ds* m = nullptr;
    GetMeshByName3ds(db, "Two", &m);
    ASSERT_TRUE(m && m->vertexcount == 5);
    GetMeshByIndex3ds(db, 0, &m);
    std::vector<long> counts = {long(GetMeshCount3ds(db)), m->vertexcount};
    for (const char* miss : {"Light", "Nobody"})
        GetMeshByName3ds(db, miss, &m);
    counts.push_back(m->vertexcount);
    EXPECT_EQ(counts, (std::vector<long>{3, 4, 4}));
    RelMeshObj3ds(&m);
    EXPECT_EQ(ftkerr3ds, 0);
}

// What the model loader reads: colours, the shininess and the texture map's file name.
TEST_F(MaterialTest, ColourPercentageAndMapRulesAndAnUnusableChildStopsTheReading) {
    material3ds* m = fetch([](ChunkWriter& w) {
        chunk(w, MATERIAL_DIFFUSE, [&] { // float colours are never used
            chunk(w, COLOR_FLOAT, [&] { w.raw("123456789012", 12); });
            rgb(w, COLOR_BYTE, 255, 128, 0);
        });
        chunk(w, MATERIAL_AMBIENT, [&] { // the alternate wins, even when it comes first
            rgb(w, COLOR_BYTE_ALT, 1, 2, 3), rgb(w, COLOR_BYTE, 9, 8, 7);
        });
        chunk(w, MATERIAL_SHININESS, [&] { // the integer wins even when it comes later
            chunk(w, PERCENT_FLOAT, [&] { w.f32(0.75f); });
            chunk(w, PERCENT_INT, [&] { w.u16(25); });
        });
        chunk(w, MATERIAL_TEXTURE_MAP, [&] {
            percent(w, 0xA042, 0); // an unhandled child of a map is passed over
            stringChunk(w, MAP_FILE_NAME, "abcdefgh.bmp");
        });
    });
    ASSERT_NE(m, nullptr);
    EXPECT_EQ((std::vector<float>{m->diffuse.r, m->diffuse.g, m->diffuse.b, m->ambient.g,
                                  m->shininess, float(ftkerr3ds)}),
              (std::vector<float>{1, 128 / 255.0f, 0, 2 / 255.0f, 0.25f, 0}));
    EXPECT_STREQ(m->texmap.name, "abcdefgh.bmp");
    // An unusable child stops the reading with its error.
    auto floatColour = [](ChunkWriter& w) {
        chunk(w, MATERIAL_DIFFUSE,
              [&] { chunk(w, COLOR_FLOAT, [&] { w.raw("123456789012", 12); }); });
    };
    auto unknown = [](ChunkWriter& w) { chunk(w, 0xA777, [] {}); };
    const std::pair<void (*)(ChunkWriter&), uint32_t> cases[] = {{floatColour, ERR_UNFOUND_CHUNK},
                                                                 {unknown, ERR_INVALID_CHUNK}};
    for (const auto& [bad, error] : cases) {
        m = fetch([&](ChunkWriter& w) {
            colour(w, MATERIAL_AMBIENT, {255, 0, 0});
            bad(w), percent(w, MATERIAL_SHININESS, 60);
        });
        ASSERT_NE(m, nullptr);
        EXPECT_TRUE(m->ambient.r == 1.0f && m->shininess == 0.0f) << error << ": after the bad one";
        EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{error});
        ClearErrList3ds();
    }
}
