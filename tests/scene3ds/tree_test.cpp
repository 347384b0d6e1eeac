// Building the chunk tree: the prefix rule, leaves, and the keyframer's parent-name pass.
#include "scene3ds/chunkdata3ds_local.h"
#include "scene3ds/scenetest.h"

using namespace scenetest;

namespace {

std::vector<chunktag3ds> childTags(const chunk3ds* c) {
    std::vector<chunktag3ds> out;
    for (chunk3ds* k = c ? c->children : nullptr; k; k = k->sibling)
        out.push_back(k->tag);
    return out;
}

size_t rawSize(chunk3ds* c) {
    auto* raw = static_cast<RawData3ds*>(LoadChunkData3ds(c));
    return raw ? raw->size : 0;
}

// A keyframer node: its id when one is given (-1 or more), a header naming it and its parent id
// and holding one subchunk, then an instance name when asked.
void node(ChunkWriter& w, uint16_t tag, int id, const char* name, int parent,
          const char* instance = nullptr) {
    chunk(w, tag, [&] {
        if (id >= -1)
            chunk(w, NODE_ID, [&] { w.i16(static_cast<int16_t>(id)); });
        chunk(w, NODE_HEADER, [&] {
            w.string(name);
            w.u32(0);
            w.i16(static_cast<int16_t>(parent));
            chunk(w, 0x1234, [&] { w.u32(7); });
        });
        if (instance)
            chunk(w, INSTANCE_NAME, [&] { w.string(instance); });
    });
}

class TreeTest : public SceneTest {};

} // namespace

TEST_F(TreeTest, PrefixRuleSkipsOwnDataAndUnlistedTagsAreLeaves) {
    database3ds* db = load(editor([](ChunkWriter& w) {
                               // An unlisted tag holding a well-formed subchunk keeps no children.
                               chunk(w, 0x4321, [&] { chunk(w, 0x0002, [&] { w.u32(1); }); });
                               scenebuild::mesh(w, scenebuild::strip("Box", 3));
                               chunk(w, 0xB00A, [&] { // a value, a string, a value
                                   w.u16(5);
                                   w.string("text");
                                   w.u32(9);
                                   chunk(w, 0x0002, [&] { w.u32(2); });
                               });
                           }),
                           false);
    ASSERT_EQ(ftkerr3ds, 0);
    chunk3ds* editor = db->root->children;
    ASSERT_EQ(childTags(editor), (std::vector<chunktag3ds>{0x4321, OBJECT_BLOCK, 0xB00A}));
    EXPECT_TRUE(childTags(editor->children).empty());
    EXPECT_EQ(rawSize(editor->children), 10u) << "a leaf of an unknown tag keeps its whole body";
    EXPECT_EQ(childTags(editor->children->sibling), std::vector<chunktag3ds>{TRIMESH_BLOCK});
    EXPECT_EQ(childTags(editor->children->sibling->sibling), std::vector<chunktag3ds>{0x0002});
}

TEST_F(TreeTest, ParentNamePassNamesEachNodesParentFirstInItsHeader) {
    auto keyframer = [](auto nodes) {
        ChunkWriter w;
        chunk(w, MESH_FILE, [&] { chunk(w, KEYFRAMER_BLOCK, [&] { nodes(w); }); });
        return w;
    };
    database3ds* db = load(keyframer([](ChunkWriter& w) {
                               node(w, 0xB002, 10, "Body", -1, "inst");
                               node(w, 0xB002, 11, "Arm", 10);
                               node(w, 0xB004, 12, "Cam", 11);
                               node(w, 0xB002, 13, "Ghost", 99); // parent missing: untouched
                           }),
                           false);
    // One node without an id numbers them all in file order.
    database3ds* renumbered = load(keyframer([](ChunkWriter& w) {
        node(w, 0xB002, -2, "Leaf", 1);
        node(w, 0xB002, 7, "Root", -1);
    }));
    ASSERT_EQ(ftkerr3ds, 0);
    auto headerOf = [](database3ds* d, int index) {
        chunk3ds* n = d->root->children->children;
        for (int i = 0; i < index; ++i)
            n = n->sibling;
        chunk3ds* header = nullptr;
        FindChunkInSiblings3ds(n->children, NODE_HEADER, &header);
        return header;
    };
    auto parentNames = [&](database3ds* d, int count) {
        std::vector<std::string> out;
        for (int i = 0; i < count; ++i) {
            chunk3ds* pn = nullptr;
            FindChunkInSiblings3ds(headerOf(d, i)->children, PARENT_NAME, &pn);
            auto* s = pn ? static_cast<StringData3ds*>(LoadChunkData3ds(pn)) : nullptr;
            out.push_back(!pn ? "-" : s && s->name ? s->name : "<unread>");
        }
        return out;
    };
    const std::vector<std::string> expected{"-", "Body.inst", "Arm", "-"};
    EXPECT_EQ(headerOf(db, 0)->data, nullptr) << "data the pass loaded was dropped again";
    EXPECT_EQ(parentNames(db, 4), expected);
    EXPECT_EQ(childTags(headerOf(db, 2)), (std::vector<chunktag3ds>{PARENT_NAME, 0x1234}));
    EXPECT_EQ(parentNames(renumbered, 2), (std::vector<std::string>{"Root", "-"}));
    DisconnectDatabase3ds(db);
    CloseAllFiles3ds();
    EXPECT_EQ(parentNames(db, 4), expected) << "the names survive closing the file";
    EXPECT_EQ(ftkerr3ds, 0);
}
