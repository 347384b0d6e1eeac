// The open-file table: one handle per name, the lowest free slot reused, and opening without a
// slot when the table is full.
#include "scene3ds/scenetest.h"

using namespace scenetest;

TEST_F(SceneTest, OneHandlePerNameAndTheLowestFreeSlotReused) {
    std::string path = write(editor([](ChunkWriter&) {}));
    file3ds* shared = OpenFile3ds(path.c_str(), "r");
    EXPECT_EQ(OpenFile3ds(path.c_str(), "rb"), shared);
    CloseFile3ds(shared); // closed for both callers
    EXPECT_FALSE(IsValidFileIndex3ds(0));
    std::vector<file3ds*> files;
    std::string name = dir.path();
    for (int i = 0; i < MaxOpenFiles3ds; ++i) {
        name += "/."; // distinct names for one file
        files.push_back(OpenFile3ds((name + "/scene.3ds").c_str(), "r"));
        ASSERT_NE(files.back(), nullptr) << i;
        EXPECT_EQ(files.back()->index, i);
    }
    file3ds* extra = OpenFile3ds(path.c_str(), "r");
    ASSERT_NE(extra, nullptr); // opening goes on without a slot
    EXPECT_EQ(extra->index, NoFileIndex3ds);
    EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{ERR_TOO_MANY_FILES});
    CloseFile3ds(extra);
    ClearErrList3ds();
    CloseFile3ds(files[7]);
    CloseFile3ds(files[3]);
    EXPECT_EQ(OpenFile3ds(path.c_str(), "r")->index, 3);
    EXPECT_EQ(OpenFile3ds((dir.path() + "//scene.3ds").c_str(), "r")->index, 7);
    EXPECT_EQ(OpenFile3ds(path.c_str(), "a"), nullptr) << "an unknown mode is refused";
}
