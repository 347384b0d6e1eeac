// Text on screen: vector-font string layout, glyph drawing and string bounds seen through GL
// feedback, the text console, glPrint, and bitmap fonts drawn with their mask and picture.
#include "font/glprint.h"
#include "font/vfont.h"
#include "fonttestutil.h"
#include "platform/headless.h"
#include "support/datafolder.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace {

constexpr float kTol = 1e-3f;

std::vector<std::string> printed;
void observe(const char* text) {
    printed.push_back(text);
}

class Text : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        vfInit();
        ASSERT_TRUE(testdata::writeFile(dir.file("font.glf"), layoutFontBytes()));
        ASSERT_EQ(vfLoadFont(dir.file("font.glf").c_str()), 0);
        glViewport(0, 0, 640, 480);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-32, 32, -24, 24, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    std::vector<Box> solid(const char* text) {
        return glyphBoxes(captureFeedback([&] { vfDrawSolidString(text); }));
    }
    headless::OffscreenGL gl;
    testdata::ScratchDir dir;
};

} // namespace

TEST_F(Text, StringsAdvanceByInkExtentsPlusSymbolSpaceInEveryDirection) {
    // Each string starts with a leading edge that puts the first glyph's ink one unit from the
    // start; then each pair advances by the facing extents plus the symbol space (0.2). A space
    // or a character without a symbol adds the space size (2.0) instead.
    struct Case {
        const char* text;
        int direction;
        bool centred;
        std::vector<float> edges; // per glyph drawn: minX, maxX, minY or maxY as `side` says
        char side;
    };
    const Case cases[] = {
        {"CAB", VF_LEFT_TO_RIGHT, false, {-1.0f, 0.0f, 1.2f}, 'l'},
        {"CAB", VF_RIGHT_TO_LEFT, false, {1.0f, 0.0f, -1.2f}, 'r'},
        {"CB", VF_BOTTOM_TO_UP, false, {0.2f, 1.7f}, 'b'},
        {"CB", VF_UP_TO_BOTTOM, false, {0.8f, -0.7f}, 't'},
        {"AB", VF_LEFT_TO_RIGHT, true, {-1.0f, 0.2f}, 'l'},
        {"A A", VF_UP_TO_BOTTOM, true, {1.6f, -0.6f}, 't'},
        {"A B", VF_LEFT_TO_RIGHT, false, {-1.0f, 1.4f}, 'l'},
        {"AzB", VF_LEFT_TO_RIGHT, false, {-1.0f, 1.2f}, 'l'},
        {"zA", VF_LEFT_TO_RIGHT, false, {1.5f}, 'l'}, // no leading edge without a first symbol
        {" A", VF_LEFT_TO_RIGHT, false, {1.5f}, 'l'},
        {"A\xE9", VF_LEFT_TO_RIGHT, false, {-1.0f, 0.2f}, 'l'}, // codes above 127 are unsigned
    };
    for (const Case& c : cases) {
        vfStringDirection(c.direction);
        vfStringCentering(c.centred);
        auto boxes = solid(c.text);
        ASSERT_EQ(boxes.size(), c.edges.size()) << c.text;
        for (size_t i = 0; i < boxes.size(); ++i) {
            const Box& b = boxes[i];
            float got = c.side == 'l'   ? b.minX
                        : c.side == 'r' ? b.maxX
                        : c.side == 'b' ? b.minY
                                        : b.maxY;
            EXPECT_NEAR(got, c.edges[i], kTol) << c.text << " glyph " << i;
        }
    }
}

TEST_F(Text, GlyphKindsEmitTheirPrimitivesAndDamagedContoursStaySafe) {
    vfSetSymbolDepth(0.5f);
    // Wired: one loop of 4 edges; 3D wired: two loops and 4 joins between z = 1 and 1.5; 3D solid:
    // both faces and the 4 sides between them.
    const struct {
        void (*draw)(char);
        size_t polygons, lines;
        float minZ, maxZ;
    } kinds[] = {{vfDrawSolidSymbol, 2, 0, 0, 0},
                 {vfDrawWiredSymbol, 0, 4, 0, 0},
                 {vfDraw3DWiredSymbol, 0, 12, 1, 1.5f},
                 {vfDraw3DSolidSymbol, 12, 0, 1, 1.5f}};
    for (const auto& k : kinds) {
        auto prims = captureFeedback([&] { k.draw('A'); });
        EXPECT_EQ(countKind(prims, FbPrimitive::POLYGON), k.polygons);
        EXPECT_EQ(countKind(prims, FbPrimitive::LINE), k.lines);
        float minZ = 99, maxZ = -99;
        for (const auto& p : prims)
            for (const auto& v : p.vertices)
                minZ = std::min(minZ, v[2]), maxZ = std::max(maxZ, v[2]);
        EXPECT_NEAR(minZ, k.minZ, kTol);
        EXPECT_NEAR(maxZ, k.maxZ, kTol);
    }
    EXPECT_TRUE(captureFeedback([] { vfDrawSolidSymbol('q'); }).empty());

    FontFileSymbol s = rectSymbol(-0.5f, -0.5f, 0.5f, 0.5f);
    s.contourCount = 3;
    s.contourEnd = {1, 0, 3}; // the second end goes backwards
    FontFileSymbol none = s;
    none.contourCount = 0;
    none.contourEnd.clear();
    ASSERT_TRUE(testdata::writeFile(dir.file("d.glf"), fontBytes({{'d', s}, {'n', none}})));
    ASSERT_GE(vfLoadFont(dir.file("d.glf").c_str()), 0);
    auto prims = captureFeedback([] {
        vfDrawWiredString("dn");
        vfDraw3DSolidString("dn");
        vfDraw3DWiredString("dn");
    });
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_GT(countKind(prims, FbPrimitive::LINE), 0u);
}

TEST_F(Text, StringBoundsFollowTheLayout) {
    float minX = 0, minY = 0, maxX = 0, maxY = 0;
    vfGetStringBounds(0, "CA B", &minX, &minY, &maxX, &maxY);
    // C: 0.8 + 0.2; A: 1.0 + 0.2; space 2.0; B: 0.6 + 0.2.
    EXPECT_FLOAT_EQ(minX, -0.6f);
    EXPECT_NEAR(maxX, -0.6f + 1.0f + 1.2f + 2.0f + 0.8f, 1e-5);
    EXPECT_FLOAT_EQ(minY, -0.8f);
    EXPECT_FLOAT_EQ(maxY, 0.9f);
    vfGetCurrentStringBounds("z  ", &minX, &minY, &maxX, &maxY);
    EXPECT_FLOAT_EQ(minX, 0) << "first character without a symbol";
    EXPECT_FLOAT_EQ(maxX, 6);
    EXPECT_FLOAT_EQ(minY, 10);
    // Each pair is written only when both of its pointers are given; bad ids write nothing.
    float a = 77, b = 77;
    vfGetStringBounds(0, "A", &a, nullptr, &b, nullptr);
    vfGetStringBounds(9, "A", &a, &a, &b, &b);
    EXPECT_EQ(a, 77);
    vfGetStringBounds(0, "A", nullptr, nullptr, &a, &b);
    EXPECT_FLOAT_EQ(a, -0.5f + 1.2f);
    EXPECT_FLOAT_EQ(b, 0.5f);
}

TEST_F(Text, ConsoleWrapsFeedsScrollsAndDrawsRowsTwoUnitsApart) {
    auto cursor = [] {
        int c = -1, r = -1;
        vfGetConsoleCursor(&c, &r);
        return std::make_pair(c, r);
    };
    vfSetConsoleParam(4, 2);
    vfPrintString("ab\ncd\t\x01\x80\x7F");
    EXPECT_STREQ(vfGetConsoleRow(0), "ab");
    EXPECT_STREQ(vfGetConsoleRow(1), "cd\x7F") << "other control bytes are ignored";
    EXPECT_EQ(cursor(), std::make_pair(3, 1));
    const char bytes[] = {'e', '\0', 'f', '\n'};
    vfPrint(bytes, 3); // the count, not the terminator, decides; e wraps, f scrolls
    EXPECT_STREQ(vfGetConsoleRow(0), "cd\x7F"
                                     "e");
    EXPECT_STREQ(vfGetConsoleRow(1), "f");
    EXPECT_EQ(cursor(), std::make_pair(1, 1));
    EXPECT_STREQ(vfGetConsoleRow(2), "") << "rows outside the grid read as empty";
    vfConsoleClear();
    EXPECT_STREQ(vfGetConsoleRow(0), "");
    EXPECT_EQ(cursor(), std::make_pair(0, 0));

    vfSetConsoleParam(10, 3);
    vfDisable(VF_CONSOLE_CURSOR);
    vfPrintString("AB\nC");
    auto boxes = glyphBoxes(captureFeedback([] { vfConsoleDraw(); }));
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_NEAR(boxes[0].minY, -0.5f, kTol);
    EXPECT_NEAR(boxes[2].minY, -2.0f - 0.4f, kTol) << "second row 2 units down";
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[13], -6.0f) << "no push: 3 rows leave the matrix 6 units lower";
}

TEST_F(Text, GlPrintFormatsCutsAt255AndDrawsAtTheCurrentPosition) {
    printed.clear();
    glPrintSetObserver(observe);
    glTranslatef(4, 1, 0);
    float before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    auto boxes = glyphBoxes(captureFeedback([] { glPrint("A%dB %s", 7, "C"); }));
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_TRUE(std::equal(std::begin(before), std::end(before), std::begin(after)));
    ASSERT_EQ(boxes.size(), 3u) << "the digit has no symbol; A, B and C are drawn";
    EXPECT_NEAR(boxes[0].minX, 4 - 1.0f, kTol);
    EXPECT_NEAR(boxes[0].minY, 1 - 0.5f, kTol);
    vfSetSymbolSpace(-1.0f); // every A on the same spot, so none falls outside the view
    std::string longText(600, 'A');
    EXPECT_EQ(glyphBoxes(captureFeedback([&] { glPrint("%s", longText.c_str()); })).size(), 255u);
    vfUnloadFont();
    EXPECT_TRUE(captureFeedback([] { glPrint("AB"); }).empty());
    glPrintSetObserver(nullptr);
    glPrint("more");
    EXPECT_EQ(printed, (std::vector<std::string>{"A7B C", std::string(255, 'A'), "AB"}));
}

TEST_F(Text, BitmapFontMasksOutTheGlyphAndAddsThePicture) {
    // 4 x 1 RGB picture: two red texels, two black ones. 'r' uses the red half, 'k' the black.
    std::vector<uint8_t> p = {255, 255, 0, 0, /*g*/ 0, 0, 0, 0, /*b*/ 0, 0, 0, 0};
    ASSERT_TRUE(testdata::writeFile(
        dir.file("f.bmf"), bmfFile({{'r', 0.0f, 0.0f, 0.5f, 1.0f}, {'k', 0.5f, 0.0f, 0.5f, 1.0f}},
                                   sgiFile(4, 1, 3, p, false))));
    ASSERT_EQ(vfLoadBMFFont(dir.file("f.bmf").c_str()), 0);
    EXPECT_NEAR(vfGetBStringWidth(0, "rk"), 1.002f, 1e-5);
    EXPECT_FLOAT_EQ(vfGetBFontHeight(0), 1.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 2, 0, 1.5, -1, 1); // one cell: 160 x 320 pixels
    glMatrixMode(GL_MODELVIEW);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    vfDrawBString("rkr");
    EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "blend state restored";
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    auto px = headless::readFramebuffer();
    const struct {
        int x, y, red, blue;
    } spots[] = {{80, 160, 255, 0},  // red glyph; the mask cut the blue background out
                 {240, 160, 0, 255}, // black texels leave the background
                 {400, 160, 255, 0},
                 {560, 160, 0, 255},
                 {80, 400, 0, 255}};
    for (const auto& s : spots) {
        EXPECT_EQ(px[(size_t(s.y) * 640 + s.x) * 4], s.red) << s.x << "," << s.y;
        EXPECT_EQ(px[(size_t(s.y) * 640 + s.x) * 4 + 2], s.blue) << s.x << "," << s.y;
    }
    // The state it changes is put back as found, switched on as well as off.
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, 77);
    vfDrawBString("r");
    GLint state[3] = {};
    glGetIntegerv(GL_BLEND_SRC, &state[0]);
    glGetIntegerv(GL_BLEND_DST, &state[1]);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &state[2]);
    EXPECT_TRUE(glIsEnabled(GL_BLEND) && glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(std::vector<GLint>(state, state + 3), (std::vector<GLint>{GL_SRC_ALPHA, GL_ONE, 77}));
}
