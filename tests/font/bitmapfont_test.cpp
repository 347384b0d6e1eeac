// SGI decoding, "BMF" parsing, and bitmap fonts drawn with their mask and picture textures.
#include "font/bmffile.h"
#include "font/sgiimage.h"
#include "font/vfont.h"
#include "fonttestutil.h"
#include "platform/headless.h"
#include "sgiwriter.h"

#include <algorithm>
#include <iterator>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

// 3 x 2, channel-major planes: value = 10 * channel + 3 * row + x + 1.
std::vector<uint8_t> planes(int channels) {
    std::vector<uint8_t> p;
    for (int c = 0; c < channels; ++c)
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                p.push_back(uint8_t(10 * c + 3 * y + x + 1));
    return p;
}

TEST(SgiDecode, VerbatimAndRunLengthGiveTheSameRgbaForEachChannelCount) {
    for (int channels = 1; channels <= 4; ++channels) {
        auto p = planes(channels);
        SgiImage a, b;
        ASSERT_TRUE(sgiDecode(sgiVerbatim(3, 2, channels, p).data(),
                              sgiVerbatim(3, 2, channels, p).size(), a))
            << channels;
        auto rle = sgiRle(3, 2, channels, p);
        ASSERT_TRUE(sgiDecode(rle.data(), rle.size(), b)) << channels;
        EXPECT_EQ(a.rgba, b.rgba);
        ASSERT_EQ(a.width, 3);
        ASSERT_EQ(a.height, 2);
        ASSERT_EQ(a.rgba.size(), 24u);
        // Pixel (x=2, y=1): sample 3*1 + 2 + 1 = 6 in channel 0.
        const uint8_t* px = &a.rgba[(1 * 3 + 2) * 4];
        // Grey for one channel, grey and alpha for two, colour for three, colour and alpha for
        // four.
        const uint8_t expected[4][4] = {
            {6, 6, 6, 255}, {6, 6, 6, 16}, {6, 16, 26, 255}, {6, 16, 26, 36}};
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(px[k], expected[channels - 1][k]) << channels << " channels, byte " << k;
    }
}

TEST(SgiDecode, RepeatRunsFillRows) {
    auto file = sgiRle(3, 1, 1, {0, 0, 0});
    // Replace the first row with a repeat run "3 x 0x42".
    size_t data = 512 + 8;
    file.resize(data);
    file.insert(file.end(), {0x03, 0x42, 0x00});
    file[512 + 7] = 3; // length table entry
    SgiImage img;
    ASSERT_TRUE(sgiDecode(file.data(), file.size(), img));
    EXPECT_EQ(img.rgba[0], 0x42);
    EXPECT_EQ(img.rgba[8], 0x42);
}

TEST(SgiDecode, BadImagesFail) {
    auto good = sgiVerbatim(3, 2, 3, planes(3));
    SgiImage img;
    ASSERT_TRUE(sgiDecode(good.data(), good.size(), img));
    for (size_t n = 0; n < good.size(); ++n) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + long(n));
        EXPECT_FALSE(sgiDecode(cut.data(), cut.size(), img)) << n;
        EXPECT_TRUE(img.rgba.empty());
    }
    auto patch = [&](size_t at, uint8_t v) {
        auto b = good;
        b[at] = v;
        return sgiDecode(b.data(), b.size(), img);
    };
    EXPECT_FALSE(patch(1, 0)) << "magic";
    EXPECT_FALSE(patch(2, 2)) << "storage";
    EXPECT_FALSE(patch(3, 3)) << "bytes per channel";
    EXPECT_FALSE(patch(11, 5)) << "five channels";
    EXPECT_FALSE(patch(11, 0)) << "no channels";
    EXPECT_FALSE(patch(7, 0)) << "zero width";

    auto huge = sgiVerbatim(3, 2, 1, planes(1));
    huge[6] = 0x20, huge[7] = 0x01; // width 8193: over the limit, refused before any allocation
    EXPECT_FALSE(sgiDecode(huge.data(), huge.size(), img));

    auto rle = sgiRle(3, 2, 1, planes(1));
    auto overrun = rle;
    overrun[512 + 8 * 2 + 0] = 0x84; // a literal run of 4 in a row of 3
    EXPECT_FALSE(sgiDecode(overrun.data(), overrun.size(), img));
    auto lastOverrun = rle; // the same in the last row, where a write past it leaves the image
    lastOverrun[512 + 8 * 2 + 5] = 0x84;
    EXPECT_FALSE(sgiDecode(lastOverrun.data(), lastOverrun.size(), img));
    auto farOffset = rle;
    farOffset[512] = 0x7F; // row start far beyond the file
    EXPECT_FALSE(sgiDecode(farOffset.data(), farOffset.size(), img));
    auto shortRow = rle;
    shortRow[512 + 8 * 2 + 0] = 0x82; // two samples, then the row ends one short
    shortRow[512 + 8 * 2 + 3] = 0;
    EXPECT_FALSE(sgiDecode(shortRow.data(), shortRow.size(), img));
}

TEST(BmfParse, ReadsNameCellsAndImageAndRejectsDamage) {
    auto file = bmfFile({{'a', 0.25f, 0.5f, 0.125f, 0.75f}}, sgiVerbatim(3, 2, 1, planes(1)));
    BmfFile bmf;
    ASSERT_TRUE(bmfParse(file.data(), file.size(), bmf));
    EXPECT_STREQ(bmf.name, "bitmap test");
    EXPECT_FLOAT_EQ(bmf.cells[int('a')].x, 0.25f);
    EXPECT_FLOAT_EQ(bmf.cells[int('a')].y, 0.5f);
    EXPECT_FLOAT_EQ(bmf.cells[int('a')].width, 0.125f);
    EXPECT_FLOAT_EQ(bmf.cells[int('a')].height, 0.75f);
    EXPECT_EQ(bmf.image.width, 3);
    for (size_t n : {size_t(0), size_t(2), size_t(99), size_t(99 + 4096 - 1), file.size() - 1}) {
        std::vector<uint8_t> cut(file.begin(), file.begin() + long(n));
        EXPECT_FALSE(bmfParse(cut.data(), cut.size(), bmf)) << n;
    }
    auto magic = file;
    magic[0] = 'G';
    EXPECT_FALSE(bmfParse(magic.data(), magic.size(), bmf));
    auto nan = bmfFile({{'a', 0, 0, std::nanf(""), 1}}, sgiVerbatim(3, 2, 1, planes(1)));
    EXPECT_FALSE(bmfParse(nan.data(), nan.size(), bmf));
}

class BitmapFonts : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        vfInit();
    }
    headless::OffscreenGL gl;
};

TEST_F(BitmapFonts, DrawingMasksOutTheGlyphAndAddsThePicture) {
    // 4 x 1 RGB picture: two red texels, two black ones. 'r' uses the red half, 'k' the black.
    std::vector<uint8_t> p = {255, 255, 0, 0, /*g*/ 0, 0, 0, 0, /*b*/ 0, 0, 0, 0};
    TempFile file(bmfFile({{'r', 0.0f, 0.0f, 0.5f, 1.0f}, {'k', 0.5f, 0.0f, 0.5f, 1.0f}},
                          sgiVerbatim(4, 1, 3, p)));
    ASSERT_EQ(vfLoadBMFFont(file.path()), 0);
    EXPECT_EQ(vfGetCurrentBMFFont(), 0);
    EXPECT_NEAR(vfGetBStringWidth(0, "rk"), 1.002f, 1e-5);
    EXPECT_FLOAT_EQ(vfGetBFontHeight(0), 1.0f);

    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 2, 0, 1.5, -1, 1); // one cell: 160 x 320 pixels
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    float before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    vfDrawBString("rkr");
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_TRUE(std::equal(std::begin(before), std::end(before), std::begin(after)));
    EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "blend state restored";
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    auto px = headless::readFramebuffer();
    auto at = [&](int x, int y) { return &px[(size_t(y) * 640 + x) * 4]; };
    EXPECT_EQ(at(80, 160)[0], 255) << "first glyph red";
    EXPECT_EQ(at(80, 160)[2], 0) << "mask cut the blue background out";
    EXPECT_EQ(at(240, 160)[2], 255) << "black texels leave the background";
    EXPECT_EQ(at(240, 160)[0], 0);
    EXPECT_EQ(at(400, 160)[0], 255) << "third glyph red again";
    EXPECT_EQ(at(560, 160)[2], 255) << "nothing beyond the text";
    EXPECT_EQ(at(80, 400)[2], 255) << "nothing above the cell";
}

} // namespace
