// The generated game font: coverage, shared scale and baseline, centring, sound triangulation.
#include "font/fontfile.h"
#include "support/datafolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

class GeneratedFont : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(testdata::readFile(testdata::dataPath("times_new1.glf"), bytes))
            << "build the data target first";
        ASSERT_EQ(parseFontFile(bytes.data(), bytes.size(), font), FONT_FILE_OK);
    }
    const FontFileSymbol& sym(char c) { return *font.symbols[static_cast<unsigned char>(c)]; }
    std::vector<uint8_t> bytes;
    FontFileData font;
};

TEST_F(GeneratedFont, HasEveryPrintableCharacterButNoBlankOnes) {
    for (int c = 33; c < 127; ++c)
        EXPECT_NE(font.symbols[c], nullptr) << char(c);
    for (int c = 161; c < 256; ++c)
        EXPECT_NE(font.symbols[c], nullptr) << c;
    EXPECT_EQ(font.symbols[int(' ')], nullptr) << "the layout spaces by itself";
    EXPECT_EQ(font.symbols[0xA0], nullptr);
    EXPECT_EQ(font.symbols[int('\n')], nullptr);
}

TEST_F(GeneratedFont, GlyphsAreCentredOnOneScaleAndBaseline) {
    float low = 10, high = -10;
    for (const auto& s : font.symbols) {
        if (!s)
            continue;
        EXPECT_NEAR(s->minX, -s->maxX, 1e-4);
        EXPECT_GE(s->minY, -1.0001f);
        EXPECT_LE(s->maxY, 1.0001f);
        low = std::min(low, s->minY);
        high = std::max(high, s->maxY);
    }
    EXPECT_LT(low, -0.9f) << "descenders reach near -1";
    EXPECT_GT(high, 0.75f) << "accented capitals reach near the top";
    // One baseline: flat-bottomed letters all end on it; descenders go below it.
    for (char c : {'H', 'x', 'E', 'n', 'L', 'T', 'z'})
        EXPECT_NEAR(sym(c).minY, sym('H').minY, 0.01f) << c;
    EXPECT_LT(sym('p').minY, sym('H').minY - 0.3f);
    EXPECT_GT(sym('H').maxY, sym('x').maxY + 0.25f) << "capitals are taller than x";
    // One scale: a capital is about 1.2 units tall, as the font's line spans 2.
    EXPECT_NEAR(sym('H').maxY - sym('H').minY, 1.18f, 0.08f);
    EXPECT_GT(sym('W').maxX, sym('i').maxX * 3);
}

// Non-zero winding number of the glyph's contours around (x, y): how TrueType fills outlines.
bool insideOutline(const FontFileSymbol& s, double x, double y) {
    int winding = 0, first = 0;
    for (uint8_t end : s.contourEnd) {
        for (int i = first; i <= end; ++i) {
            int j = i == end ? first : i + 1;
            double x0 = s.vertices[2 * i], y0 = s.vertices[2 * i + 1];
            double x1 = s.vertices[2 * j], y1 = s.vertices[2 * j + 1];
            double side = (x1 - x0) * (y - y0) - (x - x0) * (y1 - y0);
            if (y0 <= y && y1 > y && side > 0)
                ++winding;
            else if (y0 > y && y1 <= y && side < 0)
                --winding;
        }
        first = end + 1;
    }
    return winding != 0;
}

bool insideTriangles(const FontFileSymbol& s, double x, double y) {
    for (size_t t = 0; t < s.triangles.size(); t += 3) {
        double px[3], py[3];
        for (int k = 0; k < 3; ++k)
            px[k] = s.vertices[2 * s.triangles[t + k]],
            py[k] = s.vertices[2 * s.triangles[t + k] + 1];
        double d[3];
        for (int k = 0; k < 3; ++k) {
            int n = (k + 1) % 3;
            d[k] = (px[n] - px[k]) * (y - py[k]) - (x - px[k]) * (py[n] - py[k]);
        }
        bool neg = d[0] < 0 || d[1] < 0 || d[2]<0, pos = d[0]> 0 || d[1] > 0 || d[2] > 0;
        if (!(neg && pos))
            return true;
    }
    return false;
}

TEST_F(GeneratedFont, TrianglesFillExactlyWhatTheOutlinesEnclose) {
    for (int c = 0; c < 256; ++c) {
        const FontFileSymbol* s = font.symbols[c].get();
        if (!s)
            continue;
        ASSERT_GT(s->triangleCount, 0) << c;
        ASSERT_GT(s->contourCount, 0) << c;
        int first = 0;
        for (uint8_t end : s->contourEnd) {
            ASSERT_GE(int(end), first + 2) << c << ": contours run over consecutive vertices";
            first = end + 1;
        }
        // Sample a grid over the glyph, offset so samples rarely land on an edge.
        int samples = 0, inked = 0, mismatched = 0;
        for (int i = 0; i < 48; ++i)
            for (int j = 0; j < 48; ++j) {
                double x = s->minX + (s->maxX - s->minX) * (i + 0.5137) / 48;
                double y = s->minY + (s->maxY - s->minY) * (j + 0.4729) / 48;
                bool outline = insideOutline(*s, x, y);
                ++samples;
                inked += outline;
                mismatched += outline != insideTriangles(*s, x, y);
            }
        EXPECT_GT(inked, samples / 20) << c;
        EXPECT_LE(mismatched, samples / 200) << c;
    }
}

} // namespace
