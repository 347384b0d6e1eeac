// The selection-screen prompt drawn with the generated font in a real GL context, compared with
// FreeType's own rendering of the same glyphs at the same places and size.
#include "font/fontfile.h"
#include "font/glprint.h"
#include "font/vfont.h"
#include "platform/headless.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char* kPrompt = "Press the Number of the Team You Wish to Play For";
const char* kSourceFont = "/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf";
constexpr int W = 640, H = 480;
constexpr float kStartX = -24.2f, kStartY = 2.75f, kDepth = 50.1f;

// Pixels per font unit in the text plane: the 45-degree view is 2 * tan(22.5) * depth units tall.
const double kPixelsPerUnit = H / (2 * std::tan(22.5 * M_PI / 180) * kDepth);

using Mask = std::vector<uint8_t>; // W x H, bottom row first, 1 = ink

struct FreeType {
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    ~FreeType() {
        if (face)
            FT_Done_Face(face);
        if (lib)
            FT_Done_FreeType(lib);
    }
};

// Glyph centres along x (font units from the start point) by the string layout rules.
std::vector<std::pair<char, float>> glyphCentres(const FontFileData& f, const std::string& text) {
    std::vector<std::pair<char, float>> out;
    auto sym = [&](char c) {
        return c == ' ' ? nullptr : f.symbols[static_cast<unsigned char>(c)].get();
    };
    float pen = sym(text[0]) ? -(1 - std::fabs(sym(text[0])->minX)) : 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const FontFileSymbol* s = sym(text[i]);
        if (!s) {
            pen += 2.0f;
            continue;
        }
        out.push_back({text[i], pen});
        if (i + 1 == text.size())
            break;
        const FontFileSymbol* next = sym(text[i + 1]);
        if (text[i + 1] == ' ')
            pen += 0.2f;
        else if (next)
            pen += std::fabs(s->maxX) + std::fabs(next->minX) + 0.2f;
    }
    return out;
}

// FreeType's anti-aliased rendering of each glyph, its ink centred where the layout puts it.
Mask freeTypeMask(FreeType& ft, const std::vector<std::pair<char, float>>& glyphs) {
    double unitsPerFontUnit = 2.0 / (ft.face->ascender - ft.face->descender);
    double ppem = ft.face->units_per_EM * unitsPerFontUnit * kPixelsPerUnit;
    FT_Set_Char_Size(ft.face, 0, FT_F26Dot6(std::lround(ppem * 64)), 72, 72);
    double middle = (ft.face->ascender + ft.face->descender) / 2.0;
    double baseline = H / 2.0 + (kStartY - middle * unitsPerFontUnit) * kPixelsPerUnit;
    Mask mask(W * H, 0);
    for (auto [c, centre] : glyphs) {
        if (FT_Load_Char(ft.face, static_cast<unsigned char>(c),
                         FT_LOAD_RENDER | FT_LOAD_NO_HINTING) != 0)
            continue;
        const FT_Bitmap& bm = ft.face->glyph->bitmap;
        int inkLeft = int(bm.width), inkRight = -1;
        for (unsigned r = 0; r < bm.rows; ++r)
            for (unsigned col = 0; col < bm.width; ++col)
                if (bm.buffer[r * bm.pitch + col] > 0)
                    inkLeft = std::min(inkLeft, int(col)), inkRight = std::max(inkRight, int(col));
        double x0 = W / 2.0 + (kStartX + centre) * kPixelsPerUnit - (inkLeft + inkRight + 1) / 2.0;
        int top = ft.face->glyph->bitmap_top;
        for (unsigned r = 0; r < bm.rows; ++r)
            for (unsigned col = 0; col < bm.width; ++col) {
                if (bm.buffer[r * bm.pitch + col] < 128)
                    continue;
                int x = int(std::floor(x0 + col + 0.5));
                int y = int(std::floor(baseline + top - int(r) - 1 + 0.5));
                if (x >= 0 && x < W && y >= 0 && y < H)
                    mask[size_t(y) * W + x] = 1;
            }
    }
    return mask;
}

// Share of the ink of `a` lying within one pixel of ink of `b`.
double nearShare(const Mask& a, const Mask& b) {
    size_t ink = 0, near = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            if (!a[size_t(y) * W + x])
                continue;
            ++ink;
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx) {
                    int xx = x + dx, yy = y + dy;
                    found = xx >= 0 && xx < W && yy >= 0 && yy < H && b[size_t(yy) * W + xx];
                }
            near += found;
        }
    return ink ? double(near) / ink : 0;
}

TEST(PromptRendering, SelectionPromptIsReadableAndFitsTheView) {
    headless::OffscreenGL gl;
    ASSERT_TRUE(gl.ok());
    const char* dataDir = std::getenv("HW_DATA_DIR");
    std::string path = std::string(dataDir ? dataDir : "data") + "/times_new1.glf";
    vfInit();
    ASSERT_EQ(vfLoadFont(path.c_str()), 0) << "build the data target first";
    std::vector<uint8_t> bytes;
    FontFileData font;
    ASSERT_TRUE(readWholeFile(path.c_str(), bytes));
    ASSERT_EQ(parseFontFile(bytes.data(), bytes.size(), font), FONT_FILE_OK);

    // The selection screen's projection and text placement.
    glViewport(0, 0, W, H);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, double(W) / double(H), 0.1, 390.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glTranslatef(0, 0, -kDepth);
    glColor3f(1.0f, 1.0f, 0.0f);
    glTranslatef(kStartX, kStartY, 0);
    glPrint("%s", kPrompt);
    auto pixels = headless::readFramebuffer(W, H);
    headless::writePPM("font_prompt.ppm", pixels, W, H);

    Mask drawn(W * H, 0);
    int minX = W, maxX = -1, minY = H, maxY = -1;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const uint8_t* p = &pixels[(size_t(y) * W + x) * 4];
            if (p[0] < 128)
                continue;
            EXPECT_GT(p[1], 127) << "text is yellow";
            EXPECT_LT(p[2], 64);
            drawn[size_t(y) * W + x] = 1;
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
    // Fits, with margin, inside the view; starts one unit before the start point.
    EXPECT_GT(minX, 4);
    EXPECT_LT(maxX, W - 5);
    EXPECT_NEAR(minX, W / 2.0 + (kStartX - 1) * kPixelsPerUnit, 2.0);
    EXPECT_GT(maxX - minX, W / 2) << "a full line of text, not a fragment";
    // Capitals and descenders: about 1.6 font units tall, a little above the screen's middle.
    EXPECT_NEAR(maxY - minY, 1.6 * kPixelsPerUnit, 0.25 * kPixelsPerUnit);
    EXPECT_GT(minY, H / 2);

    FreeType ft;
    ASSERT_EQ(FT_Init_FreeType(&ft.lib), 0);
    ASSERT_EQ(FT_New_Face(ft.lib, kSourceFont, 0, &ft.face), 0);
    Mask reference = freeTypeMask(ft, glyphCentres(font, kPrompt));
    double precision = nearShare(drawn, reference), recall = nearShare(reference, drawn);
    std::printf("ink near FreeType's: %.3f drawn, %.3f reference; text spans x %d..%d, y %d..%d\n",
                precision, recall, minX, maxX, minY, maxY);
    EXPECT_GT(precision, 0.95) << "drawn ink where FreeType puts ink";
    EXPECT_GT(recall, 0.95) << "FreeType's ink is drawn";

    // The same measure tells a wrong text apart: every letter shifted to its neighbour.
    auto wrong = glyphCentres(font, kPrompt);
    for (auto& g : wrong)
        g.first = g.first == 'z' ? 'a' : char(g.first + 1);
    Mask other = freeTypeMask(ft, wrong);
    double wrongScore = std::min(nearShare(drawn, other), nearShare(other, drawn));
    std::printf("same measure against shifted letters: %.3f\n", wrongScore);
    EXPECT_LT(wrongScore, 0.85);
}

} // namespace
