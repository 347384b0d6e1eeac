// .glf outline-font files: fields at their offsets, a written font read back, damaged files.
#include "font/fontfile.h"
#include "fonttestutil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

// A hand-laid file: header then one block for 'x' with 3 vertices, 1 triangle, 1 contour.
constexpr size_t kTriangles = 128 + 4 + 24, kContour = kTriangles + 3;
std::vector<uint8_t> handMadeFile() {
    std::vector<uint8_t> b(128, 0);
    std::memcpy(b.data(), "GLF", 3);
    std::memcpy(b.data() + 3, "Hand", 4);
    b[99] = 1;
    for (int i = 100; i < 128; ++i)
        b[i] = 0xEE; // reserved bytes are skipped, whatever they hold
    uint8_t block[] = {'x', 3, 1, 1};
    b.insert(b.end(), block, block + 4);
    const float v[6] = {-0.5f, -1.0f, 0.75f, 0.25f, 0.0f, 1.0f};
    for (float f : v) {
        uint32_t bits;
        std::memcpy(&bits, &f, 4);
        for (int k = 0; k < 4; ++k)
            b.push_back(uint8_t(bits >> (8 * k)));
    }
    uint8_t tail[] = {2, 1, 0, 2};
    b.insert(b.end(), tail, tail + 4);
    return b;
}

} // namespace

TEST(GlfFile, ReadsFieldsAtTheirOffsetsAndComputesBounds) {
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
    for (int c = 0; c < 256; ++c)
        if (c != 'x') {
            EXPECT_EQ(font.symbols[c], nullptr) << c;
        }
    // A name filling its whole field is still terminated.
    std::memset(bytes.data() + 3, 'N', 96);
    ASSERT_EQ(parseFontFile(bytes.data(), bytes.size(), font), FONT_FILE_OK);
    EXPECT_EQ(std::strlen(font.name), 96u);
}

TEST(GlfFile, WrittenFontReadsBackSymbolForSymbol) {
    FontFileData original;
    std::snprintf(original.name, sizeof original.name, "round trip");
    for (int c = 0; c < 255; c += 3)
        original.symbols[c] = std::make_unique<FontFileSymbol>(
            rectSymbol(-0.01f * c, -0.5f, 0.01f * c + 0.1f, 0.25f * (c % 4)));
    auto bytes = writeFontFile(original);
    FontFileData back;
    ASSERT_EQ(parseFontFile(bytes.data(), bytes.size(), back), FONT_FILE_OK);
    EXPECT_STREQ(back.name, "round trip");
    EXPECT_EQ(back.symbolCount, 85);
    for (int c = 0; c < 256; ++c) {
        ASSERT_EQ(back.symbols[c] != nullptr, original.symbols[c] != nullptr) << c;
        if (!back.symbols[c])
            continue;
        EXPECT_EQ(back.symbols[c]->vertices, original.symbols[c]->vertices) << c;
        EXPECT_EQ(back.symbols[c]->triangles, original.symbols[c]->triangles) << c;
        EXPECT_EQ(back.symbols[c]->contourEnd, original.symbols[c]->contourEnd) << c;
    }
    // The count field is one byte: a font of all 256 codes cannot be written.
    for (int c = 0; c < 256; ++c)
        original.symbols[c] = std::make_unique<FontFileSymbol>(rectSymbol(0, 0, 1, 1));
    EXPECT_TRUE(writeFontFile(original).empty());
}

TEST(GlfFile, DamagedFilesFailAndLeaveNothingBehind) {
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
        {"last vertex as contour end", [](auto& b) { b[kContour] = 2; }, FONT_FILE_OK},
        {"the same symbol twice",
         [](auto& b) {
             std::vector<uint8_t> block(b.begin() + 128, b.end());
             b.insert(b.end(), block.begin(), block.end());
             b[99] = 2;
         },
         FONT_FILE_REPEATED_SYMBOL},
    };
    for (const Case& c : cases) {
        auto bytes = handMadeFile();
        c.damage(bytes);
        FontFileData font;
        EXPECT_EQ(parseFontFile(bytes.data(), bytes.size(), font), c.expected) << c.what;
        if (c.expected != FONT_FILE_OK) {
            EXPECT_EQ(font.symbols[int('x')], nullptr) << c.what;
        }
    }
    // Every truncation; a copy of exactly n bytes lets a sanitizer build catch reads past it.
    auto full = handMadeFile();
    for (size_t n = 3; n < full.size(); ++n) {
        std::vector<uint8_t> cut(full.begin(), full.begin() + long(n));
        FontFileData font;
        EXPECT_EQ(parseFontFile(cut.data(), cut.size(), font), FONT_FILE_TRUNCATED) << n;
        EXPECT_EQ(font.symbols[int('x')], nullptr);
    }
}
