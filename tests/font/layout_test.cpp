// String layout, glyph drawing and string bounds, observed through GL feedback mode.
#include "font/vfont.h"
#include "fonttestutil.h"
#include "platform/headless.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

// Glyphs of the layout font: A [-0.5,0.5]x[-0.5,0.5], B [-0.3,0.3]x[-0.8,0.6],
// C [-0.6,0.2]x[-0.4,0.9], '_' [-0.4,0.4]x[-0.9,-0.7], e-acute [-0.25,0.25]x[-0.5,0.75].
constexpr float kTol = 1e-3f;

class Layout : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        vfInit();
        font = vfLoadFont(file.path());
        ASSERT_EQ(font, 0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    std::vector<Box> solid(const char* text) {
        return glyphBoxes(captureFeedback([&] { vfDrawSolidString(text); }));
    }
    headless::OffscreenGL gl;
    TempFile file{layoutFontBytes()};
    int font = -1;
};

TEST_F(Layout, LeftToRightAdvancesByInkExtentsPlusSymbolSpace) {
    auto boxes = solid("CAB");
    ASSERT_EQ(boxes.size(), 3u);
    // Leading edge: translate -(1 - |-0.6|) so C's left edge sits at -1.
    EXPECT_NEAR(boxes[0].minX, -1.0f, kTol);
    // C to A: |0.2| + |-0.5| + 0.2 = 0.9; A to B: 0.5 + 0.3 + 0.2 = 1.0.
    EXPECT_NEAR(boxes[1].minX, -0.4f + 0.9f - 0.5f, kTol);
    EXPECT_NEAR(boxes[2].minX, -0.4f + 0.9f + 1.0f - 0.3f, kTol);
    EXPECT_NEAR(boxes[2].minY, -0.8f, kTol) << "layout along x leaves y alone";
}

TEST_F(Layout, RightToLeftAdvancesNegativeX) {
    vfStringDirection(VF_RIGHT_TO_LEFT);
    auto boxes = solid("CAB");
    ASSERT_EQ(boxes.size(), 3u);
    // Start: +(1 - |0.2|) = 0.8; C to A: |maxX(A)| + |minX(C)| + 0.2 = 1.3; A to B: 0.3+0.5+0.2.
    EXPECT_NEAR(boxes[0].maxX, 0.8f + 0.2f, kTol);
    EXPECT_NEAR(boxes[1].maxX, 0.8f - 1.3f + 0.5f, kTol);
    EXPECT_NEAR(boxes[2].maxX, 0.8f - 1.3f - 1.0f + 0.3f, kTol);
}

TEST_F(Layout, BottomUpAndTopDownAdvanceAlongY) {
    vfStringDirection(VF_BOTTOM_TO_UP);
    auto up = solid("CB");
    ASSERT_EQ(up.size(), 2u);
    // Start +(1 - |-0.4|) = 0.6 along y; C to B: |0.9| + |-0.8| + 0.2 = 1.9.
    EXPECT_NEAR(up[0].minY, 0.6f - 0.4f, kTol);
    EXPECT_NEAR(up[1].minY, 0.6f + 1.9f - 0.8f, kTol);
    EXPECT_NEAR(up[1].minX, -0.3f, kTol);

    vfStringDirection(VF_UP_TO_BOTTOM);
    auto down = solid("CB");
    ASSERT_EQ(down.size(), 2u);
    // Start -(1 - |0.9|) = -0.1; C to B: |minY(C)| + |maxY(B)| + 0.2 = 1.2.
    EXPECT_NEAR(down[0].maxY, -0.1f + 0.9f, kTol);
    EXPECT_NEAR(down[1].maxY, -0.1f - 1.2f + 0.6f, kTol);
}

TEST_F(Layout, CentringPutsTheMiddleOfTheAdvancesOnTheStartPoint) {
    vfStringCentering(true);
    auto boxes = solid("AB");
    ASSERT_EQ(boxes.size(), 2u);
    // Total advance 1.0 (A to B, nothing after the last); start at -0.5 with no leading edge.
    EXPECT_NEAR(boxes[0].minX, -0.5f - 0.5f, kTol);
    EXPECT_NEAR(boxes[1].minX, -0.5f + 1.0f - 0.3f, kTol);

    vfStringDirection(VF_UP_TO_BOTTOM);
    auto down = solid("A A");
    ASSERT_EQ(down.size(), 2u);
    // Advances 0.2 + 2.0 = 2.2; start +1.1 along y, second A at 1.1 - 2.2.
    EXPECT_NEAR(down[0].maxY, 1.1f + 0.5f, kTol);
    EXPECT_NEAR(down[1].maxY, -1.1f + 0.5f, kTol);
}

TEST_F(Layout, GlyphSpaceGlyphAndMissingCharacters) {
    auto spaced = solid("A B");
    ASSERT_EQ(spaced.size(), 2u) << "a space is never drawn, even with a symbol";
    // A drawn at -0.5; symbol space 0.2 then space size 2.0.
    EXPECT_NEAR(spaced[1].minX, -0.5f + 0.2f + 2.0f - 0.3f, kTol);

    auto missing = solid("AzB");
    ASSERT_EQ(missing.size(), 2u);
    // A to z: nothing (z adds on its own turn); z: the space size.
    EXPECT_NEAR(missing[1].minX, -0.5f + 2.0f - 0.3f, kTol);

    auto first = solid("zA");
    ASSERT_EQ(first.size(), 1u);
    // No leading-edge offset when the first character has no symbol.
    EXPECT_NEAR(first[0].minX, 2.0f - 0.5f, kTol);

    auto leadingSpace = solid(" A");
    ASSERT_EQ(leadingSpace.size(), 1u);
    EXPECT_NEAR(leadingSpace[0].minX, 2.0f - 0.5f, kTol);

    auto latin = solid("A\xE9");
    ASSERT_EQ(latin.size(), 2u) << "codes above 127 index the table unsigned";
    EXPECT_NEAR(latin[1].minX, -0.5f + 0.5f + 0.25f + 0.2f - 0.25f, kTol);
}

TEST_F(Layout, GlyphKindsEmitTheirPrimitives) {
    auto solidPrims = captureFeedback([] { vfDrawSolidSymbol('A'); });
    EXPECT_EQ(countKind(solidPrims, FbPrimitive::POLYGON), 2u);
    EXPECT_EQ(countKind(solidPrims, FbPrimitive::LINE), 0u);

    auto wired = captureFeedback([] { vfDrawWiredSymbol('A'); });
    EXPECT_EQ(countKind(wired, FbPrimitive::LINE), 4u) << "one closed loop of 4 edges";
    EXPECT_EQ(countKind(wired, FbPrimitive::POLYGON), 0u);

    vfSetSymbolDepth(0.5f);
    auto wired3d = captureFeedback([] { vfDraw3DWiredSymbol('A'); });
    // Two loops of 4 edges and 4 joining segments, between z = 1 and 1.5.
    ASSERT_EQ(countKind(wired3d, FbPrimitive::LINE), 12u);
    float minZ = 99, maxZ = -99;
    for (auto& p : wired3d)
        for (auto& v : p.vertices)
            minZ = std::min(minZ, v.z), maxZ = std::max(maxZ, v.z);
    EXPECT_NEAR(minZ, 1.0f, kTol);
    EXPECT_NEAR(maxZ, 1.5f, kTol);

    auto solid3d = captureFeedback([] { vfDraw3DSolidSymbol('A'); });
    // Front and back faces (2 + 2) and a closed strip of 4 quads (8 triangles in feedback).
    size_t polys = countKind(solid3d, FbPrimitive::POLYGON);
    EXPECT_GE(polys, 4u + 4u);
    int front = 0, back = 0;
    for (auto& p : solid3d) {
        bool allFront = true, allBack = true;
        for (auto& v : p.vertices) {
            allFront = allFront && std::abs(v.z - 1.5f) < kTol;
            allBack = allBack && std::abs(v.z - 1.0f) < kTol;
        }
        front += allFront, back += allBack;
    }
    EXPECT_EQ(front, 2);
    EXPECT_EQ(back, 2);
    EXPECT_TRUE(captureFeedback([] { vfDrawSolidSymbol('q'); }).empty());
}

TEST_F(Layout, DamagedContourEndsNeverLeaveAnOpenBegin) {
    FontFileSymbol s = rectSymbol(-0.5f, -0.5f, 0.5f, 0.5f);
    s.contourCount = 3;
    s.contourEnd = {1, 0, 3}; // second end goes backwards
    FontFileSymbol none = rectSymbol(-0.5f, -0.5f, 0.5f, 0.5f);
    none.contourCount = 0;
    none.contourEnd.clear();
    TempFile damaged(fontBytes({{'d', s}, {'n', none}}));
    ASSERT_GE(vfLoadFont(damaged.path()), 0);
    auto prims = captureFeedback([] {
        vfDrawWiredString("dn");
        vfDraw3DSolidString("dn");
        vfDraw3DWiredString("dn");
    });
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_GT(countKind(prims, FbPrimitive::LINE), 0u);
}

TEST_F(Layout, StringBoundsFollowTheirRules) {
    float minX = 0, minY = 0, maxX = 0, maxY = 0;
    vfGetStringBounds(font, "CA B", &minX, &minY, &maxX, &maxY);
    // C: 0.8 + 0.2; A: 1.0 + 0.2; space 2.0; B: 0.6 + 0.2.
    EXPECT_FLOAT_EQ(minX, -0.6f);
    EXPECT_NEAR(maxX, -0.6f + 1.0f + 1.2f + 2.0f + 0.8f, 1e-5);
    EXPECT_FLOAT_EQ(minY, -0.8f);
    EXPECT_FLOAT_EQ(maxY, 0.9f);

    vfGetCurrentStringBounds("zA", &minX, &minY, &maxX, &maxY);
    EXPECT_FLOAT_EQ(minX, 0) << "first character without a symbol";
    EXPECT_NEAR(maxX, 2.0f + 1.2f, 1e-5);

    vfGetStringBounds(font, "z  ", &minX, &minY, &maxX, &maxY);
    EXPECT_FLOAT_EQ(minY, 10);
    EXPECT_FLOAT_EQ(maxY, -10);
    EXPECT_FLOAT_EQ(maxX, 6);

    // Each pair is written only when both of its pointers are given.
    float a = 77, b = 77;
    vfGetStringBounds(font, "A", &a, nullptr, &b, nullptr);
    EXPECT_EQ(a, 77);
    EXPECT_EQ(b, 77);
    vfGetStringBounds(font, "A", nullptr, nullptr, &a, &b);
    EXPECT_FLOAT_EQ(a, -0.5f + 1.2f);
    EXPECT_FLOAT_EQ(b, 0.5f);

    float untouched[4] = {5, 5, 5, 5};
    vfGetStringBounds(9, "A", &untouched[0], &untouched[1], &untouched[2], &untouched[3]);
    vfGetStringBounds(-1, "A", &untouched[0], &untouched[1], &untouched[2], &untouched[3]);
    for (float v : untouched)
        EXPECT_EQ(v, 5) << "nothing written for an invalid id";
}

} // namespace
