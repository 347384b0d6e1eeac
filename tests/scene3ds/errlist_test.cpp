// The scene database error list: recording order and overflow.
#include "scene3ds/scenetest.h"

using namespace scenetest;

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
