// .glf parsing: field offsets, round trips, and every kind of damaged file failing cleanly.
#include "font/fontfile.h"
#include "fonttestutil.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A hand-laid file: header then one block for 'x' with 3 vertices, 1 triangle, 1 contour.
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

TEST(FontFileParse, ReadsFieldsAtTheirOffsetsAndComputesBounds) {
    auto bytes = handMadeFile();
    FontFileData font;
    ASSERT_EQ(parseFontFile(bytes.data(), bytes.size(), font), FONT_FILE_OK);
    EXPECT_STREQ(font.name, "Hand");
    EXPECT_EQ(font.symbolCount, 1);
    const FontFileSymbol* s = font.symbols[int('x')].get();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->vertexCount, 3);
    EXPECT_EQ(s->triangleCount, 1);
    EXPECT_EQ(s->contourCount, 1);
    EXPECT_EQ(s->vertices, (std::vector<float>{-0.5f, -1.0f, 0.75f, 0.25f, 0.0f, 1.0f}));
    EXPECT_EQ(s->triangles, (std::vector<uint8_t>{2, 1, 0}));
    EXPECT_EQ(s->contourEnd, (std::vector<uint8_t>{2}));
    EXPECT_FLOAT_EQ(s->minX, -0.5f);
    EXPECT_FLOAT_EQ(s->maxX, 0.75f);
    EXPECT_FLOAT_EQ(s->minY, -1.0f);
    EXPECT_FLOAT_EQ(s->maxY, 1.0f);
    for (int c = 0; c < 256; ++c)
        if (c != 'x') {
            EXPECT_EQ(font.symbols[c], nullptr) << c;
        }
}

TEST(FontFileParse, NameOfFullLengthIsTerminated) {
    auto bytes = handMadeFile();
    std::memset(bytes.data() + 3, 'N', 96);
    FontFileData font;
    ASSERT_EQ(parseFontFile(bytes.data(), bytes.size(), font), FONT_FILE_OK);
    EXPECT_EQ(std::strlen(font.name), 96u);
}

TEST(FontFileParse, WrittenFontRoundTripsEverySymbol) {
    FontFileData original;
    std::snprintf(original.name, sizeof original.name, "round trip");
    for (int c = 0; c < 255; ++c) {
        float w = 0.01f * c;
        auto s = std::make_unique<FontFileSymbol>(rectSymbol(-w, -0.5f, w + 0.1f, 0.25f * (c % 4)));
        original.symbols[c] = std::move(s);
    }
    auto bytes = writeFontFile(original);
    ASSERT_FALSE(bytes.empty());
    FontFileData back;
    ASSERT_EQ(parseFontFile(bytes.data(), bytes.size(), back), FONT_FILE_OK);
    EXPECT_STREQ(back.name, "round trip");
    EXPECT_EQ(back.symbolCount, 255);
    EXPECT_EQ(back.symbols[255], nullptr);
    for (int c = 0; c < 255; ++c) {
        ASSERT_NE(back.symbols[c], nullptr) << c;
        const FontFileSymbol &a = *original.symbols[c], &b = *back.symbols[c];
        EXPECT_EQ(a.vertices, b.vertices) << c;
        EXPECT_EQ(a.triangles, b.triangles) << c;
        EXPECT_EQ(a.contourEnd, b.contourEnd) << c;
        EXPECT_EQ(a.minX, b.minX);
        EXPECT_EQ(a.maxY, b.maxY);
    }
}

TEST(FontFileParse, WriterRefusesMoreSymbolsThanTheCountByteHolds) {
    FontFileData font;
    for (int c = 0; c < 256; ++c)
        font.symbols[c] = std::make_unique<FontFileSymbol>(rectSymbol(0, 0, 1, 1));
    EXPECT_TRUE(writeFontFile(font).empty());
}

TEST(FontFileParse, WrongMagicAndRepeatedSymbolFail) {
    auto bytes = handMadeFile();
    bytes[2] = 'X';
    FontFileData font;
    EXPECT_EQ(parseFontFile(bytes.data(), bytes.size(), font), FONT_FILE_BAD_MAGIC);

    // The same block twice, with the count raised to match.
    bytes = handMadeFile();
    std::vector<uint8_t> block(bytes.begin() + 128, bytes.end());
    bytes.insert(bytes.end(), block.begin(), block.end());
    bytes[99] = 2;
    EXPECT_EQ(parseFontFile(bytes.data(), bytes.size(), font), FONT_FILE_REPEATED_SYMBOL);
    EXPECT_EQ(font.symbols[int('x')], nullptr) << "a failed parse leaves nothing behind";
}

TEST(FontFileParse, EveryTruncationFailsWithoutReadingPastTheEnd) {
    auto full = handMadeFile();
    for (size_t n = 0; n < full.size(); ++n) {
        // A copy of exactly n bytes, so a sanitizer build catches any read beyond it.
        std::vector<uint8_t> cut(full.begin(), full.begin() + long(n));
        FontFileData font;
        FontFileStatus r = parseFontFile(cut.data(), cut.size(), font);
        EXPECT_NE(r, FONT_FILE_OK) << n;
        if (n >= 3) {
            EXPECT_EQ(r, FONT_FILE_TRUNCATED) << n;
        }
        EXPECT_EQ(font.symbols[int('x')], nullptr);
    }
}

TEST(FontFileParse, IndexesBeyondTheVerticesFail) {
    auto bytes = handMadeFile();
    const size_t triangles = 128 + 4 + 24, contour = triangles + 3;
    bytes[triangles + 1] = 3; // only vertices 0..2 exist
    FontFileData font;
    EXPECT_EQ(parseFontFile(bytes.data(), bytes.size(), font), FONT_FILE_BAD_INDEX);

    bytes = handMadeFile();
    bytes[contour] = 200;
    EXPECT_EQ(parseFontFile(bytes.data(), bytes.size(), font), FONT_FILE_BAD_INDEX);
    EXPECT_EQ(font.symbols[int('x')], nullptr);

    bytes = handMadeFile();
    bytes[contour] = 2; // the largest valid index still loads
    EXPECT_EQ(parseFontFile(bytes.data(), bytes.size(), font), FONT_FILE_OK);
}

TEST(FontFileParse, SymbolWithoutVerticesKeepsStartBounds) {
    FontFileSymbol empty;
    auto bytes = fontBytes({{'e', empty}});
    FontFileData font;
    ASSERT_EQ(parseFontFile(bytes.data(), bytes.size(), font), FONT_FILE_OK);
    ASSERT_NE(font.symbols[int('e')], nullptr);
    EXPECT_EQ(font.symbols[int('e')]->minX, 10);
    EXPECT_EQ(font.symbols[int('e')]->maxX, -10);
    EXPECT_EQ(font.symbols[int('e')]->minY, 10);
    EXPECT_EQ(font.symbols[int('e')]->maxY, -10);
}

TEST(FontFileParse, ReadWholeFileReportsMissingFiles) {
    std::vector<uint8_t> out{1, 2};
    EXPECT_FALSE(readWholeFile("/nonexistent/hw/font.glf", out));
    EXPECT_FALSE(readWholeFile(nullptr, out));
    EXPECT_FALSE(readWholeFile("/tmp", out)) << "a folder is not a readable file";
    auto bytes = handMadeFile();
    TempFile f(bytes);
    ASSERT_TRUE(readWholeFile(f.path(), out));
    EXPECT_EQ(out, bytes);
}

} // namespace
