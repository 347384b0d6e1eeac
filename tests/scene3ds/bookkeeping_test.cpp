// The module's bookkeeping: the error list as it fills up, and what the letters of an open mode do
// to a file.
#include "scene3ds/scenetest.h"

#include <sys/stat.h>

#include <cstdio>

using namespace scenetest;

namespace {
class Bookkeeping : public SceneTest {};
} // namespace

// Nineteen errors are kept in order; the twentieth goes to the overflow record and any later one
// turns it into N_ERRORS, which a clear keeps. The dump prints the newest first.
TEST_F(Bookkeeping, ErrorListKeepsNineteenThenMarksTheOverflow) {
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
    ClearErrList3ds();
    EXPECT_TRUE(ftkerr3ds == 0 && pendingErrors().empty() && overflow->id == N_ERRORS);
}

// The first 'r' or 'w' of a mode decides: "rw" reads and leaves the file whole, "wr" writes and
// empties it (a reader of that name moves to a temporary in its folder), a mode with neither
// fails. The same name opened again to read shares the handle; a pending error refuses any open.
TEST_F(Bookkeeping, ModeLettersDecideWhatHappensToTheFile) {
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
