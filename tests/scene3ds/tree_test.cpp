// Building the chunk tree: database kinds, the prefix rule, leaves, extension data, the
// parent-name pass, loading on demand, detaching, copying and searching.
#include "scene3ds/chunkdata3ds_local.h"
#include "scene3ds/scenetest.h"

using namespace scenetest;

namespace {

class TreeTest : public SceneTest {
  protected:
    // Builds without detaching; the file stays open (closed by the fixture).
    database3ds* build(const ChunkWriter& w, file3ds** fileOut = nullptr) {
        file3ds* f = OpenFile3ds(write(w).c_str(), "r");
        database3ds* db = nullptr;
        InitDatabase3ds(&db);
        CreateDatabase3ds(f, db);
        owned_.push_back(db);
        if (fileOut)
            *fileOut = f;
        return db;
    }
    ~TreeTest() override {
        for (database3ds* db : owned_)
            ReleaseDatabase3ds(&db);
    }

    static std::vector<chunktag3ds> childTags(chunk3ds* c) {
        std::vector<chunktag3ds> out;
        for (chunk3ds* k = c ? c->children : nullptr; k; k = k->sibling)
            out.push_back(k->tag);
        return out;
    }

  private:
    std::vector<database3ds*> owned_;
};

} // namespace

TEST_F(TreeTest, PrefixRuleSkipsOwnDataAndUnlistedTagsAreLeaves) {
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(EDITOR_BLOCK);
    // An unlisted tag holding a well-formed subchunk keeps no children.
    w.begin(0x4321);
    w.begin(0x0002);
    w.u32(1);
    w.end();
    w.end();
    // A light (12-byte prefix) with a subchunk after it.
    w.begin(OBJECT_BLOCK);
    w.string("Lamp");
    w.begin(0x4600);
    w.f32(1);
    w.f32(2);
    w.f32(3);
    w.begin(0x4610);
    for (int i = 0; i < 5; ++i)
        w.f32(0);
    w.end();
    w.end();
    w.end();
    // A keyframer node header: string, then six bytes, then subchunks.
    w.begin(0xB010);
    w.string("node");
    w.u16(0);
    w.u16(0);
    w.i16(-1);
    w.begin(0x80F0);
    w.string("x");
    w.end();
    w.end();
    // The three-part prefix of 0xB00A.
    w.begin(0xB00A);
    w.u16(5);
    w.string("some text");
    w.u32(9);
    w.begin(0x0002);
    w.u32(2);
    w.end();
    w.end();
    w.end();
    w.end();
    database3ds* db = build(w);
    EXPECT_EQ(ftkerr3ds, 0);
    chunk3ds* editor = db->root->children;
    EXPECT_EQ(childTags(editor), (std::vector<chunktag3ds>{0x4321, OBJECT_BLOCK, 0xB010, 0xB00A}));
    EXPECT_TRUE(childTags(editor->children).empty());
    chunk3ds* light = editor->children->sibling->children;
    EXPECT_EQ(childTags(light), std::vector<chunktag3ds>{0x4610});
    EXPECT_EQ(childTags(editor->children->sibling->sibling), std::vector<chunktag3ds>{0x80F0});
    EXPECT_EQ(childTags(editor->children->sibling->sibling->sibling),
              std::vector<chunktag3ds>{0x0002});
    // A prefixed tag without a record of its own keeps just its prefix bytes.
    auto* prefix = static_cast<RawData3ds*>(LoadChunkData3ds(light));
    ASSERT_NE(prefix, nullptr);
    EXPECT_EQ(prefix->size, 12u);
    // A leaf of an unknown tag keeps its whole body.
    auto* leaf = static_cast<RawData3ds*>(LoadChunkData3ds(editor->children));
    ASSERT_NE(leaf, nullptr);
    EXPECT_EQ(leaf->size, 10u);
}

TEST_F(TreeTest, ExtensionDataNestsOnlyExtensionTags) {
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(EXTENSION_DATA);
    w.begin(0x8002); // kept, with its own extension child
    w.begin(0x8003);
    w.u8(1);
    w.end();
    w.end();
    w.header(0x8004, 1000); // runs past the parent: dropped, reading resumes after its header
    w.begin(0x8005);
    w.end();
    w.begin(0x1234); // any other tag ends the block
    w.end();
    w.begin(0x8006);
    w.end();
    w.end();
    w.begin(EDITOR_BLOCK);
    w.end();
    w.end();
    database3ds* db = build(w);
    EXPECT_EQ(ftkerr3ds, 0);
    chunk3ds* ext = db->root->children;
    EXPECT_EQ(childTags(db->root), (std::vector<chunktag3ds>{EXTENSION_DATA, EDITOR_BLOCK}));
    EXPECT_EQ(childTags(ext), (std::vector<chunktag3ds>{0x8002, 0x8005}));
    EXPECT_EQ(childTags(ext->children), std::vector<chunktag3ds>{0x8003});
    // The extension block's whole body is its record.
    auto* raw = static_cast<RawData3ds*>(LoadChunkData3ds(ext));
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(raw->size, ext->size - 6);
}

TEST_F(TreeTest, ParentNamePassNamesEachNodesParent) {
    auto node = [](ChunkWriter& w, uint16_t tag, int16_t id, const char* name, int16_t parent,
                   const char* instance) {
        w.begin(tag);
        if (id >= -1 && id != -2) {
            w.begin(NODE_ID);
            w.i16(id);
            w.end();
        }
        w.begin(NODE_HEADER);
        w.string(name);
        w.u16(0);
        w.u16(0);
        w.i16(parent);
        w.end();
        if (instance) {
            w.begin(INSTANCE_NAME);
            w.string(instance);
            w.end();
        }
        w.end();
    };
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(KEYFRAMER_BLOCK);
    node(w, 0xB002, 10, "Body", -1, "inst");
    node(w, 0xB002, 11, "Arm", 10, nullptr);
    node(w, 0xB004, 12, "Cam", 11, nullptr);
    node(w, 0xB002, 13, "Ghost", 99, nullptr); // parent missing: untouched
    w.end();
    w.end();
    file3ds* f = nullptr;
    database3ds* db = build(w, &f);
    EXPECT_EQ(ftkerr3ds, 0);
    auto parentNameOf = [&](int index) -> std::string {
        chunk3ds* n = db->root->children->children;
        for (int i = 0; i < index; ++i)
            n = n->sibling;
        chunk3ds* header = nullptr;
        FindChunkInSiblings3ds(n->children, NODE_HEADER, &header);
        chunk3ds* pn = nullptr;
        FindChunkInSiblings3ds(header ? header->children : nullptr, PARENT_NAME, &pn);
        if (!pn)
            return "<none>";
        auto* s = static_cast<StringData3ds*>(LoadChunkData3ds(pn));
        return s && s->name ? s->name : "<null>";
    };
    EXPECT_EQ(parentNameOf(0), "<none>");
    EXPECT_EQ(parentNameOf(1), "Body.inst");
    EXPECT_EQ(parentNameOf(2), "Arm");
    EXPECT_EQ(parentNameOf(3), "<none>");
    // Data the pass loaded from the still-open file was dropped again.
    chunk3ds* header = nullptr;
    FindChunkInTree3ds(db->root, NODE_HEADER, &header);
    EXPECT_EQ(header->data, nullptr);
    // After detaching the names survive closing the file.
    DisconnectDatabase3ds(db);
    CloseFile3ds(f);
    EXPECT_EQ(parentNameOf(2), "Arm");
    EXPECT_EQ(ftkerr3ds, 0);
}

TEST_F(TreeTest, NodesWithoutIdsAreNumberedInFileOrder) {
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(KEYFRAMER_BLOCK);
    for (int i = 0; i < 3; ++i) {
        w.begin(0xB002);
        w.begin(NODE_HEADER);
        w.string(i == 0 ? "Root" : "Leaf");
        w.u16(0);
        w.u16(0);
        w.i16(static_cast<int16_t>(i == 0 ? -1 : 0)); // parents refer to the first node
        w.end();
        w.end();
    }
    w.end();
    w.end();
    database3ds* db = build(w);
    EXPECT_EQ(ftkerr3ds, 0);
    chunk3ds* second = db->root->children->children->sibling;
    chunk3ds* pn = nullptr;
    FindChunkInTree3ds(second, PARENT_NAME, &pn);
    ASSERT_NE(pn, nullptr);
    EXPECT_STREQ(static_cast<StringData3ds*>(LoadChunkData3ds(pn))->name, "Root");
}

TEST_F(TreeTest, DetachedDatabaseAnswersAfterTheFileIsClosed) {
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(EDITOR_BLOCK);
    scenebuild::material(w, scenebuild::plain("Skin", "skin.bmp"));
    scenebuild::mesh(w, scenebuild::strip("Head", 5, "Skin"));
    w.end();
    w.end();
    file3ds* f = nullptr;
    database3ds* db = build(w, &f);
    DisconnectDatabase3ds(db);
    CloseFile3ds(f);
    EXPECT_EQ(ftkerr3ds, 0);
    std::vector<chunk3ds*> stack{db->root};
    while (!stack.empty()) {
        chunk3ds* c = stack.back();
        stack.pop_back();
        EXPECT_EQ(c->readindex, NoFileIndex3ds);
        for (chunk3ds* k = c->children; k; k = k->sibling)
            stack.push_back(k);
    }
    mesh3ds* mesh = nullptr;
    GetMeshByName3ds(db, "Head", &mesh);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->vertexcount, 5);
    EXPECT_STREQ(mesh->matgroups[0].name, "Skin");
    RelMeshObj3ds(&mesh);
    material3ds* mat = nullptr;
    GetMaterialByName3ds(db, "Skin", &mat);
    ASSERT_NE(mat, nullptr);
    EXPECT_STREQ(mat->texmap.name, "skin.bmp");
    ReleaseMaterial3ds(&mat);
    EXPECT_EQ(mat, nullptr);
    EXPECT_EQ(ftkerr3ds, 0);
}

TEST_F(TreeTest, ParentNameGoesBeforeTheHeadersOtherSubchunks) {
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(KEYFRAMER_BLOCK);
    for (int16_t i = 0; i < 2; ++i) {
        w.begin(0xB002);
        w.begin(NODE_ID);
        w.i16(i);
        w.end();
        w.begin(NODE_HEADER);
        w.string(i ? "Arm" : "Body");
        w.u16(0);
        w.u16(0);
        w.i16(static_cast<int16_t>(i - 1));
        w.begin(0x1234); // a subchunk of no particular place
        w.u32(7);
        w.end();
        w.end();
        w.end();
    }
    w.end();
    w.end();
    database3ds* db = build(w);
    chunk3ds* header = nullptr;
    FindChunkInSiblings3ds(db->root->children->children->sibling->children, NODE_HEADER, &header);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(childTags(header), (std::vector<chunktag3ds>{PARENT_NAME, 0x1234}));
}
