// glPrint: formatting, the observer, the 256-character buffer, and drawing at the current position.
#include "font/glprint.h"
#include "font/vfont.h"
#include "fonttestutil.h"
#include "platform/headless.h"

#include <algorithm>
#include <iterator>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::vector<std::string> seen;
void observe(const char* text) {
    seen.push_back(text);
}

class GlPrint : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        vfInit();
        ASSERT_EQ(vfLoadFont(file.path()), 0);
        seen.clear();
        glPrintSetObserver(observe);
        glLoadIdentity();
    }
    void TearDown() override { glPrintSetObserver(nullptr); }
    headless::OffscreenGL gl;
    TempFile file{layoutFontBytes()};
};

TEST_F(GlPrint, FormatsHandsTheTextToTheObserverAndDrawsIt) {
    glTranslatef(4, 1, 0);
    float before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    auto boxes = glyphBoxes(captureFeedback([] { glPrint("A%dB %s", 7, "C"); }));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], "A7B C");
    ASSERT_EQ(boxes.size(), 3u) << "the digit has no symbol; A, B and C are drawn";
    EXPECT_NEAR(boxes[0].minX, 4 - 1.0f, 1e-3) << "drawn at the current position";
    EXPECT_NEAR(boxes[0].minY, 1 - 0.5f, 1e-3);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_TRUE(std::equal(std::begin(before), std::end(before), std::begin(after)));
}

TEST_F(GlPrint, LongTextIsCutAt255Characters) {
    std::string longText(600, 'A');
    vfSetSymbolSpace(-1.0f); // every A on the same spot, so none falls outside the view
    auto boxes = glyphBoxes(captureFeedback([&] { glPrint("%s", longText.c_str()); }));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], std::string(255, 'A'));
    EXPECT_EQ(boxes.size(), 255u);
}

TEST_F(GlPrint, WithoutAFontOnlyTheObserverSeesTheText) {
    vfUnloadFont();
    auto prims = captureFeedback([] { glPrint("AB"); });
    EXPECT_TRUE(prims.empty());
    ASSERT_EQ(seen.size(), 1u);
    glPrintSetObserver(nullptr);
    glPrint("more");
    EXPECT_EQ(seen.size(), 1u) << "a cleared observer is not called";
}

} // namespace
