// The module's bookkeeping: the keyframer's parent-name pass over the chunk tree, the error list as
// it fills up, and what the letters of an open mode do to a file.
#include "scene3ds/chunkdata3ds_local.h"
#include "scene3ds/scenetest.h"

#include <sys/stat.h>

#include <cstdio>

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
            } nodes[] = {{"Body", -1}, {"Arm", 10}, {"Ghost", 99}, {"Hand", 11}};
            for (int i = 0; i < 4; ++i)
                chunk(w, 0xB002, [&] {
                    chunk(w, NODE_ID, [&] { w.i16(static_cast<int16_t>(10 + i)); });
                    chunk(w, NODE_HEADER, [&] {
                        w.string(nodes[i].name);
                        w.u32(0);
                        w.i16(static_cast<int16_t>(nodes[i].parent));
                        if (i == 3) // a stale name, replaced
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
    EXPECT_EQ(names, (std::vector<std::string>{"-", "Body.inst", "-", "Arm"}));
}

// Nineteen errors are kept in order; the twentieth goes to the overflow record and any later one
// turns it into N_ERRORS, which a clear keeps. The dump prints the newest first.
TEST_F(TreeTest, ErrorListKeepsNineteenThenMarksTheOverflow) {
    std::vector<uint32_t> pushed;
    for (uint32_t code = ERR_NO_MEM; code <= ERR_TOO_MANY_FILES; ++code) {
        PushErrList3ds(code);
        pushed.push_back(code);
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
    DumpErrList3ds(out);
    std::fclose(out);
    std::string expected;
    for (auto code = pushed.rbegin(); code != pushed.rend(); ++code)
        expected += std::string(ErrCodeToString3ds(*code)) + "\n";
    EXPECT_EQ(text, expected);
    EXPECT_STREQ(ErrCodeToString3ds(N_ERRORS - 1), "Unknown error code was encountered");
    // Each code's number leads to its own text (the numbers are the module's published ones).
#define NAMED(code) std::pair<uint32_t, std::string>(code, #code)
    for (const auto& [code, name] :
         {NAMED(ERR_NO_MEM), NAMED(ERR_INVALID_ARG), NAMED(ERR_INVALID_DATA),
          NAMED(ERR_INVALID_CHUNK), NAMED(ERR_INVALID_DATABASE), NAMED(ERR_WRONG_DATABASE),
          NAMED(ERR_UNFOUND_CHUNK), NAMED(ERR_WRONG_OBJECT), NAMED(ERR_NO_SUCH_FILE),
          NAMED(ERR_INIT_FAILED), NAMED(ERR_OPENING_FILE), NAMED(ERR_CLOSING_FILE),
          NAMED(ERR_READING_FILE), NAMED(ERR_CREATING_DATABASE), NAMED(ERR_READING_DATABASE),
          NAMED(ERR_WRITING_DATABASE), NAMED(ERR_WRITING_FILE), NAMED(ERR_STRING_TOO_LONG),
          NAMED(ERR_TOO_MANY_FILES)})
        EXPECT_EQ(std::string(ErrCodeToString3ds(code)).rfind(name + ":", 0), 0u) << name;
#undef NAMED
    ClearErrList3ds();
    EXPECT_TRUE(ftkerr3ds == 0 && pendingErrors().empty() && overflow->id == N_ERRORS);
}

// The first 'r' or 'w' of a mode decides: "rw" reads and leaves the file whole, "wr" writes and
// empties it (a reader of that name moves to a temporary in its folder), a mode with neither
// fails. The same name opened again to read shares the handle; a pending error refuses any open.
TEST_F(TreeTest, ModeLettersDecideWhatHappensToTheFile) {
    const std::string path = write(editor([](ChunkWriter& w) { w.u32(7); }));
    auto size = [&] {
        struct stat st = {};
        return stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : -1L;
    };
    const long whole = size();
    file3ds* reading = OpenFile3ds(path.c_str(), "arw");
    ASSERT_NE(reading, nullptr);
    EXPECT_EQ(OpenFile3ds(path.c_str(), "rb"), reading);
    EXPECT_EQ(size(), whole);
    for (const char* mode : {"ab", "r"}) // no letter that decides; then refused for the error
        EXPECT_EQ(OpenFile3ds(path.c_str(), mode), nullptr) << mode;
    EXPECT_EQ(pendingErrors(), (std::vector<uint32_t>{ERR_INIT_FAILED, ERR_INIT_FAILED}));
    ClearErrList3ds();
    EXPECT_NE(OpenFile3ds(path.c_str(), "wr"), nullptr); // the reader moves aside, beside it
    EXPECT_EQ(size(), 0);
    EXPECT_EQ(std::string(reading->filename).rfind(dir.path() + "/3ds", 0), 0u)
        << reading->filename;
}
