// The scene database error list: recording order, overflow, clearing, printing and texts.
#include <cstdio>
#include <string>

#include "scene3ds/scenetest.h"

using namespace scenetest;

namespace {

std::string dump() {
    char* buf = nullptr;
    size_t len = 0;
    FILE* f = open_memstream(&buf, &len);
    DumpErrList3ds(f);
    std::fclose(f);
    std::string out(buf, len);
    std::free(buf);
    return out;
}

} // namespace

class ErrListTest : public SceneTest {};

TEST_F(ErrListTest, RecordsInOrderAndOverflowsIntoTheLastRecord) {
    EXPECT_EQ(ftkerr3ds, 0);
    for (uint32_t code = 1; code <= 19; ++code)
        PushErrList3ds(code);
    EXPECT_EQ(ftkerr3ds, 1);
    const errrec3ds* list = ReturnErrorList3ds();
    for (int i = 0; i < 19; ++i) {
        EXPECT_EQ(list[i].id, uint32_t(i + 1));
        EXPECT_STREQ(list[i].desc, ErrCodeToString3ds(i + 1));
    }
    EXPECT_EQ(list[19].id, 0u);
    EXPECT_EQ(list[20].id, 0u);
    PushErrList3ds(ERR_NO_MEM); // the 20th lands in the overflow record as itself
    EXPECT_EQ(list[20].id, uint32_t(ERR_NO_MEM));
    EXPECT_EQ(list[19].id, 0u);
    PushErrList3ds(ERR_INVALID_ARG); // the 21st turns it into N_ERRORS
    EXPECT_EQ(list[20].id, uint32_t(N_ERRORS));
    EXPECT_STREQ(list[20].desc, "N_ERRORS: More errors were reported then could be recorded.");
    PushErrList3ds(ERR_INVALID_ARG);
    EXPECT_EQ(list[20].id, uint32_t(N_ERRORS));
}

TEST_F(ErrListTest, CodeZeroIsNotAnError) {
    PushErrList3ds(NO_FTK_ERRORS);
    EXPECT_EQ(ftkerr3ds, 0);
    EXPECT_TRUE(pendingErrors().empty());
}

TEST_F(ErrListTest, DumpPrintsNewestFirstWithoutTheOverflowRecord) {
    PushErrList3ds(ERR_READING_FILE);
    PushErrList3ds(ERR_READING_DATABASE);
    PushErrList3ds(ERR_CREATING_DATABASE);
    EXPECT_EQ(dump(), "ERR_CREATING_DATABASE: Error occured while creating database\n"
                      "ERR_READING_DATABASE: Error occured while reading database\n"
                      "ERR_READING_FILE: Error occured while reading file\n");
    for (int i = 0; i < 17; ++i)
        PushErrList3ds(ERR_NO_MEM);
    std::string full = dump();
    EXPECT_EQ(full.find("N_ERRORS"), std::string::npos);
    EXPECT_EQ(full.rfind("ERR_READING_FILE"), full.size() - std::string("ERR_READING_FILE: "
                                                                        "Error occured while "
                                                                        "reading file\n")
                                                                .size());
}
