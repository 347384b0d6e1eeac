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

TEST_F(ErrListTest, ClearKeepsTheOverflowRecord) {
    for (int i = 0; i < 20; ++i)
        PushErrList3ds(ERR_READING_FILE);
    ClearErrList3ds();
    EXPECT_EQ(ftkerr3ds, 0);
    EXPECT_TRUE(pendingErrors().empty());
    EXPECT_EQ(dump(), "");
    EXPECT_EQ(ReturnErrorList3ds()[20].id, uint32_t(ERR_READING_FILE));
    // After a clear the list refills from the start.
    PushErrList3ds(ERR_WRONG_OBJECT);
    EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{ERR_WRONG_OBJECT});
    for (int i = 0; i < 19; ++i)
        PushErrList3ds(ERR_READING_FILE);
    // The overflow record was still taken, so this overflow is N_ERRORS at once.
    EXPECT_EQ(ReturnErrorList3ds()[20].id, uint32_t(N_ERRORS));
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

TEST_F(ErrListTest, TextsOfKnownAndUnknownCodes) {
    EXPECT_STREQ(ErrCodeToString3ds(0), "NO_FTK_ERRORS: No errors are pending");
    EXPECT_STREQ(ErrCodeToString3ds(20), "Unknown error code was encountered");
    EXPECT_STREQ(ErrCodeToString3ds(21), "Unknown error code was encountered");
    EXPECT_STREQ(ErrCodeToString3ds(23), "Unknown error code was encountered");
    EXPECT_STREQ(ErrCodeToString3ds(ERR_TOO_MANY_FILES),
                 "ERR_TOO_MANY_FILES: The toolkit has reached its maximum open file limit of "
                 "252 files.");
    EXPECT_STREQ(ErrCodeToString3ds(ERR_INVALID_ARG),
                 "ERR_INVALID_ARG: The argument passed to the function is invalid.  Usually "
                 "caused by a NULL pointer or an out of range numeric argument.");
    EXPECT_STREQ(ErrCodeToString3ds(ERR_INVALID_DATABASE),
                 "ERR_INVALID_DATABASE: The database passed as an argument has not be created "
                 "yet.");
    EXPECT_STREQ(ErrCodeToString3ds(ERR_STRING_TOO_LONG),
                 "ERR_STRING_TOO_LONG: String encountered in file, structure, or as an argument "
                 "was longer than expected.  Possibly caused by an uninitialed pointer, corrupt "
                 "file or database");
    // Every listed code's text starts with its own name.
    const char* names[] = {"NO_FTK_ERRORS",        "ERR_NO_MEM",           "ERR_INVALID_ARG",
                           "ERR_INVALID_DATA",     "ERR_INVALID_CHUNK",    "ERR_INVALID_DATABASE",
                           "ERR_WRONG_DATABASE",   "ERR_UNFOUND_CHUNK",    "ERR_WRONG_OBJECT",
                           "ERR_NO_SUCH_FILE",     "ERR_INIT_FAILED",      "ERR_OPENING_FILE",
                           "ERR_CLOSING_FILE",     "ERR_READING_FILE",     "ERR_CREATING_DATABASE",
                           "ERR_READING_DATABASE", "ERR_WRITING_DATABASE", "ERR_WRITING_FILE",
                           "ERR_STRING_TOO_LONG",  "ERR_TOO_MANY_FILES"};
    for (uint32_t i = 0; i < 20; ++i)
        EXPECT_EQ(std::string(ErrCodeToString3ds(i)).rfind(std::string(names[i]) + ": ", 0), 0u)
            << i;
}
