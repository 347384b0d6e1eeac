// The font table: loading with its console messages, slots, current font, unloading, settings.
#include "font/vfont.h"
#include "fonttestutil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {

std::string loadCapturingStdout(const char* path, int* id) {
    testing::internal::CaptureStdout();
    *id = vfLoadFont(path);
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

std::vector<uint8_t> repeatedSymbolFile() {
    auto bytes = fontBytes({{'a', rectSymbol(0, 0, 1, 1)}});
    std::vector<uint8_t> block(bytes.begin() + 128, bytes.end());
    bytes.insert(bytes.end(), block.begin(), block.end());
    bytes[99] = 2;
    return bytes;
}

class FontTable : public testing::Test {
  protected:
    void SetUp() override { vfInit(); }
    TempFile good{layoutFontBytes()};
};

TEST_F(FontTable, LoadTakesFirstEmptySlotAndBecomesCurrent) {
    EXPECT_EQ(vfGetCurrentFont(), -1);
    EXPECT_EQ(vfLoadFont(good.path()), 0);
    EXPECT_EQ(vfLoadFont(good.path()), 1);
    EXPECT_EQ(vfGetCurrentFont(), 1);
    EXPECT_EQ(vfUnloadFontId(0), 0);
    EXPECT_EQ(vfGetCurrentFont(), 1) << "unloading another font keeps the current one";
    EXPECT_EQ(vfLoadFont(good.path()), 0) << "the freed slot is reused first";
    EXPECT_EQ(vfGetCurrentFont(), 0);
}

TEST_F(FontTable, FailedLoadsReturnMinusOneAndKeepTheCurrentFont) {
    ASSERT_EQ(vfLoadFont(good.path()), 0);
    EXPECT_EQ(vfLoadFont("/nonexistent/times_new1.glf"), -1);
    EXPECT_EQ(vfLoadFont(nullptr), -1);
    auto truncated = layoutFontBytes();
    truncated.resize(truncated.size() - 1);
    TempFile cut(truncated);
    EXPECT_EQ(vfLoadFont(cut.path()), -1);
    EXPECT_EQ(vfGetCurrentFont(), 0);
    EXPECT_EQ(vfSetCurrentFont(1), -1) << "the slot of a failed load stays empty";
    EXPECT_EQ(vfLoadFont(good.path()), 1);
}

TEST_F(FontTable, MessagesArePrintedOnlyWithConsoleMessagesOn) {
    auto badMagic = layoutFontBytes();
    badMagic[0] = 'g';
    TempFile magic(badMagic);
    TempFile repeated(repeatedSymbolFile());
    int id = 0;

    EXPECT_EQ(loadCapturingStdout(magic.path(), &id), "");
    EXPECT_EQ(id, -1);
    EXPECT_EQ(loadCapturingStdout(repeated.path(), &id), "");
    EXPECT_EQ(id, -1);

    vfEnable(VF_CONSOLE_MESSAGES);
    EXPECT_EQ(loadCapturingStdout(magic.path(), &id),
              "Error reading font file: incorrect file format\n");
    EXPECT_EQ(id, -1);
    EXPECT_EQ(loadCapturingStdout(repeated.path(), &id),
              "Error reading font file: encountered symbols in font\n");
    EXPECT_EQ(id, -1);
    EXPECT_EQ(loadCapturingStdout(good.path(), &id), "");
    EXPECT_EQ(id, 0);
    EXPECT_EQ(vfGetCurrentFont(), 0);
}

TEST_F(FontTable, TableHoldsAtMost256Fonts) {
    for (int i = 0; i < VF_MAX_FONTS; ++i)
        ASSERT_EQ(vfLoadFont(good.path()), i);
    EXPECT_EQ(vfLoadFont(good.path()), -1);
    EXPECT_EQ(vfGetCurrentFont(), 255);
    vfInit();
    EXPECT_EQ(vfGetCurrentFont(), -1);
    EXPECT_EQ(vfLoadFont(good.path()), 0) << "vfInit empties every slot";
}

TEST_F(FontTable, UnloadAndSetCurrentRejectEmptyOrInvalidSlots) {
    EXPECT_EQ(vfUnloadFont(), -1);
    EXPECT_EQ(vfUnloadFontId(-1), -1);
    EXPECT_EQ(vfUnloadFontId(256), -1);
    EXPECT_EQ(vfSetCurrentFont(0), -1);
    EXPECT_EQ(vfSetCurrentFont(300), -1);
    ASSERT_EQ(vfLoadFont(good.path()), 0);
    ASSERT_EQ(vfLoadFont(good.path()), 1);
    EXPECT_EQ(vfSetCurrentFont(0), 0);
    EXPECT_EQ(vfGetCurrentFont(), 0);
    EXPECT_EQ(vfSetCurrentFont(7), -1);
    EXPECT_EQ(vfGetCurrentFont(), 0);
    EXPECT_EQ(vfUnloadFont(), 0);
    EXPECT_EQ(vfGetCurrentFont(), -1);
    EXPECT_EQ(vfUnloadFontId(0), -1) << "already unloaded";
    EXPECT_EQ(vfSetCurrentFont(1), 0);
    EXPECT_EQ(vfUnloadFontId(1), 0);
    EXPECT_EQ(vfGetCurrentFont(), -1) << "unloading the current font by id leaves none";
}

TEST_F(FontTable, SettingsStartAtDefaultsAndOptionCodesSwitchOnlyTheirOption) {
    vfSetSymbolSpace(1.5f);
    vfSetSpaceSize(3);
    vfSetSymbolDepth(0.7f);
    vfStringDirection(3);
    vfStringCentering(true);
    vfSetRotateAngle(45);
    vfSetContourColor(1, 0.5f, 0.25f, 1);
    vfEnable(VF_TEXTURING);
    vfInit();
    EXPECT_FLOAT_EQ(vfGetSymbolSpace(), 0.2f);
    EXPECT_FLOAT_EQ(vfGetSpaceSize(), 2.0f);
    EXPECT_FLOAT_EQ(vfGetSymbolDepth(), 0.2f);
    EXPECT_EQ(vfGetStringDirection(), 1);
    EXPECT_FALSE(vfGetStringCentering());
    EXPECT_FLOAT_EQ(vfGetRotateAngle(), 0);
    float c[4] = {9, 9, 9, 9};
    vfGetContourColor(c);
    EXPECT_EQ(c[0] + c[1] + c[2] + c[3], 0);
    EXPECT_FALSE(vfIsEnabled(VF_CONSOLE_MESSAGES));
    EXPECT_FALSE(vfIsEnabled(VF_TEXTURING));
    EXPECT_FALSE(vfIsEnabled(VF_CONTOURING));
    EXPECT_TRUE(vfIsEnabled(VF_CONSOLE_CURSOR));

    const int codes[] = {VF_CONSOLE_MESSAGES, VF_TEXTURING, VF_CONTOURING, VF_CONSOLE_CURSOR};
    for (int code : codes) {
        bool before[4];
        for (int k = 0; k < 4; ++k)
            before[k] = vfIsEnabled(codes[k]);
        vfEnable(code);
        EXPECT_TRUE(vfIsEnabled(code));
        vfDisable(code);
        EXPECT_FALSE(vfIsEnabled(code));
        for (int k = 0; k < 4; ++k)
            if (codes[k] != code) {
                EXPECT_EQ(vfIsEnabled(codes[k]), before[k]) << code << " touched " << codes[k];
            }
    }
    // Codes without an option, inside and outside 10-30, change nothing.
    vfEnable(VF_CONSOLE_CURSOR);
    for (int code : {0, 9, 13, 20, 29, 31, 100, -1}) {
        vfEnable(code);
        vfDisable(code);
    }
    EXPECT_FALSE(vfIsEnabled(VF_TEXTURING));
    EXPECT_FALSE(vfIsEnabled(VF_CONTOURING));
    EXPECT_FALSE(vfIsEnabled(VF_CONSOLE_MESSAGES));
    EXPECT_TRUE(vfIsEnabled(VF_CONSOLE_CURSOR));
}

TEST_F(FontTable, DirectionOutsideOneToFourIsIgnored) {
    vfStringDirection(4);
    vfStringDirection(0);
    vfStringDirection(5);
    vfStringDirection(-2);
    EXPECT_EQ(vfGetStringDirection(), 4);
    vfStringDirection(2);
    EXPECT_EQ(vfGetStringDirection(), 2);
}

} // namespace
