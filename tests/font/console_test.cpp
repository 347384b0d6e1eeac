// The text console: writing, wrapping, line feeds, scrolling, drawing and the cursor blink.
#include "font/vfont.h"
#include "fonttestutil.h"
#include "platform/headless.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

class Console : public testing::Test {
  protected:
    void SetUp() override { vfInit(); }
    std::pair<int, int> cursor() {
        int c = -1, r = -1;
        vfGetConsoleCursor(&c, &r);
        return {c, r};
    }
};

TEST_F(Console, StartsAt40By20AndWrapsAtTheRowEnd) {
    int columns = 0, rows = 0;
    vfGetConsoleParam(&columns, &rows);
    EXPECT_EQ(columns, 40);
    EXPECT_EQ(rows, 20);
    std::string text(45, 'x');
    for (int i = 0; i < 45; ++i)
        text[i] = char('A' + i % 26);
    vfPrintString(text.c_str());
    EXPECT_EQ(vfGetConsoleRow(0), text.substr(0, 40));
    EXPECT_EQ(vfGetConsoleRow(1), text.substr(40));
    EXPECT_EQ(cursor(), std::make_pair(5, 1));
}

TEST_F(Console, LineFeedEndsTheRowAndOtherControlBytesAreIgnored) {
    vfPrintString("ab\ncd");
    vfPrintChar('\t');
    vfPrintChar('\x01');
    vfPrintChar('\x80');
    vfPrintChar('\xFF');
    vfPrintChar('\x7F');
    EXPECT_STREQ(vfGetConsoleRow(0), "ab");
    EXPECT_STREQ(vfGetConsoleRow(1), "cd\x7F");
    EXPECT_EQ(cursor(), std::make_pair(3, 1));
    const char bytes[] = {'e', '\0', 'f', '\n'};
    vfPrint(bytes, 3); // count, not the terminator, decides
    EXPECT_STREQ(vfGetConsoleRow(1), "cd\x7F"
                                     "ef");
    EXPECT_STREQ(vfGetConsoleRow(20), "") << "rows outside the grid read as empty";
    EXPECT_STREQ(vfGetConsoleRow(-1), "");
}

TEST_F(Console, PastTheLastRowTheGridScrollsUp) {
    vfSetConsoleParam(4, 2);
    vfPrintString("abcdefgh");
    // "abcd" wrapped to row 1, "efgh" filled it and scrolled: the cursor stays on the last row.
    EXPECT_STREQ(vfGetConsoleRow(0), "efgh");
    EXPECT_STREQ(vfGetConsoleRow(1), "");
    EXPECT_EQ(cursor(), std::make_pair(0, 1));
    vfPrintString("ij\n\nk");
    EXPECT_STREQ(vfGetConsoleRow(0), "");
    EXPECT_STREQ(vfGetConsoleRow(1), "k");
    vfConsoleClear();
    EXPECT_STREQ(vfGetConsoleRow(1), "");
    EXPECT_EQ(cursor(), std::make_pair(0, 0));
}

class ConsoleDrawing : public Console {
  protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        Console::SetUp();
        ASSERT_EQ(vfLoadFont(file.path()), 0);
        vfSetConsoleParam(10, 3);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    // Glyphs drawn by one console draw (every test glyph is two triangles).
    size_t glyphsDrawn() {
        glLoadIdentity();
        return glyphBoxes(captureFeedback([] { vfConsoleDraw(); })).size();
    }
    headless::OffscreenGL gl;
    TempFile file{layoutFontBytes()};
};

TEST_F(ConsoleDrawing, RowsAreDrawnTwoUnitsApartAndTheMatrixEndsLower) {
    vfDisable(VF_CONSOLE_CURSOR);
    vfPrintString("AB\nC");
    glLoadIdentity();
    auto boxes = glyphBoxes(captureFeedback([] { vfConsoleDraw(); }));
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_NEAR(boxes[0].minY, -0.5f, 1e-3);
    EXPECT_NEAR(boxes[2].minY, -2.0f - 0.4f, 1e-3) << "second row 2 units down";
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[13], -6.0f) << "no push: 3 rows leave the matrix 6 units lower";
}

} // namespace
