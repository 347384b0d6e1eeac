// The error list and the open-file table: recording order and overflow, shared handles, slots,
// modes and pending errors.
#include "scene3ds/scenetest.h"

using namespace scenetest;

namespace {

class FilesTest : public SceneTest {
  protected:
    std::string path = write(editor([](ChunkWriter&) {}));
};

} // namespace

TEST_F(FilesTest, ErrorsAreRecordedInOrderAndOverflowIntoTheLastRecord) {
    EXPECT_EQ(ftkerr3ds, 0);
    for (uint32_t code = 1; code <= 20; ++code)
        PushErrList3ds(code);
    EXPECT_EQ(ftkerr3ds, 1);
    const errrec3ds* list = ReturnErrorList3ds();
    for (int i = 0; i < 19; ++i)
        EXPECT_STREQ(list[i].desc, ErrCodeToString3ds(i + 1));
    EXPECT_EQ(list[19].id, 0u);
    EXPECT_EQ(list[20].id, 20u); // the 20th lands in the overflow record as itself
    PushErrList3ds(ERR_INVALID_ARG);
    EXPECT_EQ(list[20].id, uint32_t(N_ERRORS));
    EXPECT_STREQ(list[20].desc, "N_ERRORS: More errors were reported then could be recorded.");
}

TEST_F(FilesTest, OneHandlePerNameAndTheLowestFreeSlotReused) {
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
}

TEST_F(FilesTest, ModeLettersAndPendingErrorsDecideTheOpening) {
    struct Case {
        const char* mode;
        bool pending;
        std::vector<uint32_t> errors; // none: opened
        filestate3ds state;
    };
    const std::string longMode = "r" + std::string(30, 'x');
    const Case cases[] = {
        {"rw", false, {}, ReadFromFile},
        {"wr", false, {}, WriteToFile},
        {"a", false, {ERR_INIT_FAILED}, ReadFromFile},
        {longMode.c_str(), false, {ERR_STRING_TOO_LONG, ERR_INIT_FAILED}, ReadFromFile},
        {"r", true, {ERR_WRONG_OBJECT, ERR_INIT_FAILED}, ReadFromFile},
    };
    for (const Case& c : cases) {
        std::string target = c.state == WriteToFile ? dir.file("out.3ds") : path;
        if (c.pending)
            PushErrList3ds(ERR_WRONG_OBJECT);
        file3ds* f = OpenFile3ds(target.c_str(), c.mode);
        EXPECT_EQ(pendingErrors(), c.errors) << c.mode;
        if (c.errors.empty()) {
            ASSERT_NE(f, nullptr) << c.mode;
            EXPECT_EQ(f->state, c.state) << c.mode;
            CloseFile3ds(f);
        } else {
            EXPECT_EQ(f, nullptr) << c.mode;
            EXPECT_FALSE(IsValidFileIndex3ds(0)) << c.mode << ": a refused file holds no slot";
        }
        ClearErrList3ds();
    }
}
