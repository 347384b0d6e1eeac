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
    auto* raw = static_cast<RawData3ds*>(LoadChunkData3ds(editor->children));
    EXPECT_EQ(raw ? raw->size : 0, 10u) << "a leaf of an unknown tag keeps its whole body";
    EXPECT_EQ(childTags(editor->children->sibling), std::vector<chunktag3ds>{TRIMESH_BLOCK});
    EXPECT_EQ(childTags(editor->children->sibling->sibling), std::vector<chunktag3ds>{0x0002});
}

// Each node's header gets its parent's name (with the parent's instance name), first among the
// header's children, kept when the file is closed; a missing parent names nothing.
TEST_F(TreeTest, ParentNamePassNamesEachNodesParent) {
    ChunkWriter w;
    chunk(w, MESH_FILE, [&] {
        chunk(w, KEYFRAMER_BLOCK, [&] {
            const struct {
                const char* name;
                int parent;
            } nodes[] = {{"Body", -1}, {"Arm", 10}, {"Ghost", 99}};
            for (int i = 0; i < 3; ++i)
                chunk(w, 0xB002, [&] {
                    chunk(w, NODE_ID, [&] { w.i16(static_cast<int16_t>(10 + i)); });
                    chunk(w, NODE_HEADER, [&] {
                        w.string(nodes[i].name);
                        w.u32(0);
                        w.i16(static_cast<int16_t>(nodes[i].parent));
                        chunk(w, 0x1234, [&] { w.u32(7); });
                    });
                    if (i == 0)
                        scenebuild::stringChunk(w, INSTANCE_NAME, "inst");
                });
        });
    });
    database3ds* db = load(w, false);
    DisconnectDatabase3ds(db);
    CloseAllFiles3ds();
    ASSERT_EQ(ftkerr3ds, 0);
    std::vector<std::string> names;
    for (chunk3ds* n = db->root->children->children; n; n = n->sibling) {
        chunk3ds *header = nullptr, *pn = nullptr;
        FindChunkInSiblings3ds(n->children, NODE_HEADER, &header);
        ASSERT_NE(header, nullptr);
        FindChunkInSiblings3ds(header->children, PARENT_NAME, &pn);
        auto* s = pn ? static_cast<StringData3ds*>(LoadChunkData3ds(pn)) : nullptr;
        names.push_back(!pn ? "-" : s && s->name ? s->name : "<unread>");
        if (pn) {
            EXPECT_EQ(childTags(header), (std::vector<chunktag3ds>{PARENT_NAME, 0x1234}));
        }
    }
    EXPECT_EQ(names, (std::vector<std::string>{"-", "Body.inst", "-"}));
}
