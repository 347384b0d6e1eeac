// Opening and closing scene files: shared handles, the slot table, modes and pending errors.
#include "scene3ds/scenetest.h"

using namespace scenetest;

namespace {

class FilesTest : public SceneTest {
  protected:
    std::string smallScene(const std::string& name = "scene.3ds") {
        ChunkWriter w;
        w.begin(MESH_FILE);
        w.begin(EDITOR_BLOCK);
        scenebuild::mesh(w, scenebuild::strip("Box", 4));
        w.end();
        w.end();
        return write(w, name);
    }
};

} // namespace

TEST_F(FilesTest, OpeningTheSameNameForReadingSharesOneHandle) {
    std::string path = smallScene();
    file3ds* a = OpenFile3ds(path.c_str(), "r");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->state, ReadFromFile);
    EXPECT_EQ(a->index, 0);
    EXPECT_STREQ(a->filename, path.c_str());
    EXPECT_EQ(a->buffersize, StreamBufferSize3ds);
    EXPECT_NE(a->buffer, nullptr);
    file3ds* b = OpenFile3ds(path.c_str(), "rb");
    EXPECT_EQ(a, b);
    EXPECT_TRUE(IsValidFileIndex3ds(0));
    EXPECT_FALSE(IsValidFileIndex3ds(1));
    CloseFile3ds(a); // closes it for both callers
    EXPECT_FALSE(IsValidFileIndex3ds(0));
    EXPECT_FALSE(IsValidFileIndex3ds(255));
    EXPECT_EQ(ftkerr3ds, 0);
}

TEST_F(FilesTest, TableHolds252FilesAndReusesTheLowestFreeSlot) {
    std::string path = smallScene();
    std::vector<file3ds*> files;
    for (int i = 0; i < MaxOpenFiles3ds; ++i) {
        // Distinct names for one file: "dir/./scene.3ds", "dir/././scene.3ds", ...
        std::string name = dir.path();
        for (int k = 0; k <= i; ++k)
            name += "/.";
        name += "/scene.3ds";
        files.push_back(OpenFile3ds(name.c_str(), "r"));
        ASSERT_NE(files.back(), nullptr) << i;
        EXPECT_EQ(files.back()->index, i);
    }
    EXPECT_EQ(ftkerr3ds, 0);
    file3ds* extra = OpenFile3ds(path.c_str(), "r");
    ASSERT_NE(extra, nullptr); // opening goes on without a slot
    EXPECT_EQ(extra->index, NoFileIndex3ds);
    EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{ERR_TOO_MANY_FILES});
    CloseFile3ds(extra);
    ClearErrList3ds();

    CloseFile3ds(files[7]);
    CloseFile3ds(files[3]);
    file3ds* again = OpenFile3ds(path.c_str(), "r");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->index, 3);
    file3ds* next = OpenFile3ds((dir.path() + "//scene.3ds").c_str(), "r");
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->index, 7);
    CloseAllFiles3ds();
    EXPECT_FALSE(IsValidFileIndex3ds(0));
    file3ds* fresh = OpenFile3ds(path.c_str(), "r");
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->index, 0);
}

TEST_F(FilesTest, ModeLettersDecideTheState) {
    std::string path = smallScene();
    EXPECT_EQ(OpenFile3ds(path.c_str(), "a"), nullptr);
    EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{ERR_INIT_FAILED});
    // The refused record holds no slot.
    EXPECT_FALSE(IsValidFileIndex3ds(0));
    ClearErrList3ds();

    file3ds* rw = OpenFile3ds(path.c_str(), "rw");
    ASSERT_NE(rw, nullptr);
    EXPECT_EQ(rw->state, ReadFromFile);
    CloseFile3ds(rw);

    std::string out = dir.file("out.3ds");
    file3ds* wr = OpenFile3ds(out.c_str(), "wr");
    ASSERT_NE(wr, nullptr);
    EXPECT_EQ(wr->state, WriteToFile);
    CloseFile3ds(wr);

    std::string longMode(31, 'x');
    longMode[0] = 'r';
    EXPECT_EQ(OpenFile3ds(path.c_str(), longMode.c_str()), nullptr);
    EXPECT_EQ(pendingErrors(), (std::vector<uint32_t>{ERR_STRING_TOO_LONG, ERR_INIT_FAILED}));
}

TEST_F(FilesTest, PendingErrorRefusesTheNextOpen) {
    std::string path = smallScene();
    PushErrList3ds(ERR_WRONG_OBJECT);
    EXPECT_EQ(OpenFile3ds(path.c_str(), "r"), nullptr);
    EXPECT_EQ(pendingErrors(), (std::vector<uint32_t>{ERR_WRONG_OBJECT, ERR_INIT_FAILED}));
    EXPECT_FALSE(IsValidFileIndex3ds(0));
    ClearErrList3ds();
    EXPECT_NE(OpenFile3ds(path.c_str(), "r"), nullptr);
}
