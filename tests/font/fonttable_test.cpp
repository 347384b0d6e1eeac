// The font table: slots, the current font, and loads that fail (with their console messages).
#include "font/vfont.h"
#include "fonttestutil.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

class FontTable : public testing::Test {
  protected:
    void SetUp() override { vfInit(); }
    int loadQuietly(const char* path, std::string* printed) {
        testing::internal::CaptureStdout();
        int id = vfLoadFont(path);
        std::fflush(stdout);
        *printed = testing::internal::GetCapturedStdout();
        return id;
    }
    TempFile good{layoutFontBytes()};
};

} // namespace

TEST_F(FontTable, LoadsTakeTheFirstFreeSlotAndBecomeCurrent) {
    EXPECT_EQ(vfGetCurrentFont(), -1);
    EXPECT_EQ(vfLoadFont(good.path()), 0);
    EXPECT_EQ(vfLoadFont(good.path()), 1);
    EXPECT_EQ(vfGetCurrentFont(), 1);
    EXPECT_EQ(vfUnloadFontId(0), 0);
    EXPECT_EQ(vfGetCurrentFont(), 1) << "unloading another font keeps the current one";
    EXPECT_EQ(vfLoadFont(good.path()), 0) << "the freed slot is reused first";
    EXPECT_EQ(vfUnloadFont(), 0);
    EXPECT_EQ(vfGetCurrentFont(), -1);
    EXPECT_EQ(vfSetCurrentFont(0), -1) << "an empty slot cannot become current";
    EXPECT_EQ(vfSetCurrentFont(1), 0);
    EXPECT_EQ(vfLoadFont(good.path()), 0);
    for (int i = 2; i < VF_MAX_FONTS; ++i)
        ASSERT_EQ(vfLoadFont(good.path()), i);
    EXPECT_EQ(vfLoadFont(good.path()), -1) << "the table is full";
}

TEST_F(FontTable, FailedLoadsKeepTheCurrentFontAndSpeakOnlyWhenAsked) {
    ASSERT_EQ(vfLoadFont(good.path()), 0);
    auto badMagic = layoutFontBytes();
    badMagic[0] = 'g';
    auto truncated = layoutFontBytes();
    truncated.pop_back();
    TempFile magic(badMagic), cut(truncated);
    std::string printed;
    for (bool messages : {false, true}) {
        if (messages)
            vfEnable(VF_CONSOLE_MESSAGES);
        EXPECT_EQ(loadQuietly(magic.path(), &printed), -1);
        EXPECT_EQ(printed, messages ? "Error reading font file: incorrect file format\n" : "");
        EXPECT_EQ(loadQuietly(cut.path(), &printed), -1);
        EXPECT_EQ(loadQuietly("/nonexistent/times_new1.glf", &printed), -1);
        EXPECT_EQ(vfGetCurrentFont(), 0);
    }
    EXPECT_EQ(vfLoadFont(good.path()), 1) << "failed loads took no slot";
}
