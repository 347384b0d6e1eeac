// The font readers: outline font files, the font table's loads, SGI images and "BMF" files, each
// with its damaged files refused.
#include "font/bmffile.h"
#include "font/fontfile.h"
#include "font/sgiimage.h"
#include "font/vfont.h"
#include "fonttestutil.h"
#include "support/datafolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

namespace {

// A hand-laid file: header then one block for 'x' with 3 vertices, 1 triangle, 1 contour.
constexpr size_t kTriangles = 128 + 4 + 24, kContour = kTriangles + 3;
std::vector<uint8_t> handMadeFile() {
    std::vector<uint8_t> b(128, 0xEE); // reserved bytes are skipped, whatever they hold
    std::memcpy(b.data(), "GLFHand\0", 8);
    b[99] = 1;
    const uint8_t block[] = {'x', 3, 1, 1};
    b.insert(b.end(), block, block + 4);
    const float v[6] = {-0.5f, -1.0f, 0.75f, 0.25f, 0.0f, 1.0f};
    b.resize(b.size() + sizeof v);
    std::memcpy(b.data() + b.size() - sizeof v, v, sizeof v);
    const uint8_t tail[] = {2, 1, 0, 2};
    b.insert(b.end(), tail, tail + 4);
    return b;
}

// 3 x 2, channel-major planes: value = 10 * channel + 3 * row + x + 1.
std::vector<uint8_t> planes(int channels) {
    std::vector<uint8_t> p;
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < 6; ++i)
            p.push_back(uint8_t(10 * c + i + 1));
    return p;
}

} // namespace

TEST(FontFile, ReadsFieldsAndBoundsAndRefusesDamage) {
    auto bytes = handMadeFile();
    FontFileData font;
    ASSERT_EQ(parseFontFile(bytes.data(), bytes.size(), font), FONT_FILE_OK);
    EXPECT_STREQ(font.name, "Hand");
    const FontFileSymbol* s = font.symbols[int('x')].get();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->vertices, (std::vector<float>{-0.5f, -1.0f, 0.75f, 0.25f, 0.0f, 1.0f}));
    EXPECT_EQ(s->triangles, (std::vector<uint8_t>{2, 1, 0}));
    EXPECT_EQ(s->contourEnd, (std::vector<uint8_t>{2}));
    EXPECT_EQ((std::vector<float>{s->minX, s->maxX, s->minY, s->maxY}),
              (std::vector<float>{-0.5f, 0.75f, -1.0f, 1.0f}));

    struct Case {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> damage;
        FontFileStatus expected;
    };
    const Case cases[] = {
        {"wrong magic", [](auto& b) { b[2] = 'X'; }, FONT_FILE_BAD_MAGIC},
        {"triangle corner past the vertices", [](auto& b) { b[kTriangles + 1] = 3; },
         FONT_FILE_BAD_INDEX},
        {"contour end past the vertices", [](auto& b) { b[kContour] = 3; }, FONT_FILE_BAD_INDEX},
        {"a name filling its whole field", [](auto& b) { std::memset(&b[3], 'N', 96); },
         FONT_FILE_OK},
        {"a symbol without vertices, with the start bounds",
         [](auto& b) {
             b.resize(132);
             b[129] = b[130] = b[131] = 0;
         },
         FONT_FILE_OK},
        {"the same symbol twice",
         [](auto& b) {
             b.insert(b.end(), b.begin() + 128, b.end());
             b[99] = 2;
         },
         FONT_FILE_REPEATED_SYMBOL},
    };
    for (const Case& c : cases) {
        auto damaged = handMadeFile();
        c.damage(damaged);
        FontFileData f;
        EXPECT_EQ(parseFontFile(damaged.data(), damaged.size(), f), c.expected) << c.what;
        EXPECT_EQ(f.symbols[int('x')] == nullptr, c.expected != FONT_FILE_OK) << c.what;
        EXPECT_LE(std::strlen(f.name), 96u);
        const FontFileSymbol* x = f.symbols[int('x')].get();
        EXPECT_TRUE(!x || x->vertexCount > 0 ||
                    (x->minX == 10 && x->maxX == -10 && x->minY == 10 && x->maxY == -10));
    }
    // Every truncation; a copy of exactly n bytes lets a sanitizer build catch reads past it.
    for (size_t n = 3; n < bytes.size(); ++n) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + long(n));
        FontFileData f;
        EXPECT_EQ(parseFontFile(cut.data(), cut.size(), f), FONT_FILE_TRUNCATED) << n;
    }
}

TEST(FontTable, LoadsTakeTheFirstFreeSlotAndFailuresKeepTheCurrentFont) {
    vfInit();
    testdata::ScratchDir dir;
    auto badMagic = layoutFontBytes();
    badMagic[0] = 'g';
    const std::string good = dir.file("good.glf"), bad = dir.file("bad.glf");
    ASSERT_TRUE(testdata::writeFile(good, layoutFontBytes()) && testdata::writeFile(bad, badMagic));
    EXPECT_EQ(vfGetCurrentFont(), -1);
    EXPECT_EQ(vfLoadFont(good.c_str()), 0);
    EXPECT_EQ(vfLoadFont(good.c_str()), 1);
    EXPECT_EQ(vfUnloadFontId(0), 0);
    EXPECT_EQ(vfGetCurrentFont(), 1) << "unloading another font keeps the current one";
    for (bool messages : {false, true}) {
        if (messages)
            vfEnable(VF_CONSOLE_MESSAGES);
        testing::internal::CaptureStdout();
        EXPECT_EQ(vfLoadFont(bad.c_str()), -1);
        std::fflush(stdout);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  messages ? "Error reading font file: incorrect file format\n" : "");
        EXPECT_EQ(vfLoadFont("/nonexistent/times_new1.glf"), -1);
        EXPECT_EQ(vfGetCurrentFont(), 1);
    }
    EXPECT_EQ(vfLoadFont(good.c_str()), 0) << "the freed slot is reused first";
    EXPECT_EQ(vfUnloadFont(), 0);
    EXPECT_EQ(vfGetCurrentFont(), -1);
    EXPECT_EQ(vfSetCurrentFont(0), -1) << "an empty slot cannot become current";
    EXPECT_EQ(vfSetCurrentFont(1), 0);
    EXPECT_EQ(vfLoadFont(good.c_str()), 0);
    for (int i = 2; i < VF_MAX_FONTS; ++i)
        ASSERT_EQ(vfLoadFont(good.c_str()), i);
    EXPECT_EQ(vfLoadFont(good.c_str()), -1) << "the table is full";
}

TEST(SgiImage, VerbatimAndRunLengthGiveTheSameRgbaForEachChannelCount) {
    // Pixel (x=2, y=1), sample 6 of channel 0: grey for one channel, grey and alpha for two,
    // colour for three, colour and alpha for four.
    const uint8_t expected[4][4] = {
        {6, 6, 6, 255}, {6, 6, 6, 16}, {6, 16, 26, 255}, {6, 16, 26, 36}};
    for (int channels = 1; channels <= 4; ++channels)
        for (bool rle : {false, true}) {
            auto file = sgiFile(3, 2, channels, planes(channels), rle);
            SgiImage img;
            ASSERT_TRUE(sgiDecode(file.data(), file.size(), img)) << channels;
            ASSERT_EQ(img.width, 3);
            ASSERT_EQ(img.rgba.size(), 24u);
            for (int k = 0; k < 4; ++k)
                EXPECT_EQ(img.rgba[(1 * 3 + 2) * 4 + k], expected[channels - 1][k])
                    << channels << " channels, byte " << k << (rle ? " run-length" : "");
        }
    auto repeat = sgiFile(3, 1, 1, {0, 0, 0}, true);
    repeat.resize(512 + 8);
    repeat.insert(repeat.end(), {0x03, 0x42, 0x00}); // a repeat run "3 x 0x42"
    repeat[512 + 7] = 3;
    SgiImage img;
    ASSERT_TRUE(sgiDecode(repeat.data(), repeat.size(), img));
    EXPECT_EQ(img.rgba[8], 0x42);
}

TEST(SgiImage, DamagedImagesAndBmfFilesFail) {
    auto good = sgiFile(3, 2, 3, planes(3), false);
    SgiImage img;
    for (size_t n = 0; n < good.size(); n += 7) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + long(n));
        EXPECT_FALSE(sgiDecode(cut.data(), cut.size(), img)) << n;
        EXPECT_TRUE(img.rgba.empty());
    }
    auto rle = sgiFile(3, 2, 1, planes(1), true);
    const std::pair<size_t, uint8_t> patches[] = {
        {1, 0},               // magic
        {2, 2},               // storage
        {3, 3},               // bytes per channel
        {11, 5},              // five channels
        {7, 0},               // zero width
        {6, 0x20},            // width 8195: over the limit, refused before any allocation
        {512, 0x7F},          // row start far beyond the file
        {512 + 16, 0x84},     // a literal run of 4 in a row of 3
        {512 + 16 + 5, 0x84}, // the same in the last row, where a write would leave the image
    };
    for (const auto& [at, value] : patches) {
        auto b = rle;
        b[at] = value;
        EXPECT_FALSE(sgiDecode(b.data(), b.size(), img)) << "byte " << at;
    }

    auto file = bmfFile({{'a', 0.25f, 0.5f, 0.125f, 0.75f}}, sgiFile(3, 2, 1, planes(1), false));
    BmfFile bmf;
    ASSERT_TRUE(bmfParse(file.data(), file.size(), bmf));
    EXPECT_FLOAT_EQ(bmf.cells[int('a')].height, 0.75f); // the drawing test shows the rest
    for (size_t n : {size_t(2), size_t(99 + 4096 - 1), file.size() - 1})
        EXPECT_FALSE(bmfParse(file.data(), n, bmf)) << n;
    auto nan = bmfFile({{'a', 0, 0, std::nanf(""), 1}}, sgiFile(3, 2, 1, planes(1), false));
    EXPECT_FALSE(bmfParse(nan.data(), nan.size(), bmf));
}
