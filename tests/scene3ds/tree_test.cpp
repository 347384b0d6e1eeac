// The keyframer's parent-name pass over the chunk tree.
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

// Each node's header gets its parent's name (with the parent's instance name), first among the
// header's children or in place of a stale one, kept when the file is closed; a missing parent
// names nothing.
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
                        if (i == 1) // a stale name, replaced
                            scenebuild::stringChunk(w, PARENT_NAME, "Old");
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
