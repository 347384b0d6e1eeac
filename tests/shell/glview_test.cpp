// The game font InitGL loads from the working directory, and the viewport and projection
// ResizeGLView sets, read back from a real context.
#include "main/hoopwind.h"
#include "shell/shell_fixture.h"

#include "font/vfont.h"

#include <GL/gl.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

class GLViewTest : public ShellTest {
  protected:
    headless::OffscreenGL gl;
};

void expectMatrixNear(GLenum which, const GLdouble* expected) {
    GLdouble m[16];
    glGetDoublev(which, m);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(m[i], expected[i], 1e-5) << "element " << i;
    }
}

} // namespace

TEST_F(GLViewTest, InitGLLoadsTheGameFontFromTheWorkingDirectory) {
    const char* data = std::getenv("HW_DATA_DIR");
    if (!data) {
        data = HW_DATA_DIR_DEFAULT;
    }
    std::string font = std::string(data) + "/times_new1.glf";
    if (access(font.c_str(), R_OK) != 0) {
        GTEST_SKIP() << "the data folder has not been generated";
    }
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(data), 0);
    InitGL();
    EXPECT_GE(font1, 0);
    EXPECT_EQ(vfGetCurrentFont(), font1);
    ASSERT_EQ(chdir(previous), 0);

    // Without the file there is no font and no complaint.
    headless::clearMessageBoxes();
    InitGL();
    EXPECT_EQ(font1, -1);
    EXPECT_EQ(vfGetCurrentFont(), -1);
    EXPECT_TRUE(headless::messageBoxes().empty());
}

// A 45-degree perspective from 0.1 to 390 over the whole view, the modelview reset; a height of
// zero counts as one.
TEST_F(GLViewTest, ResizeSetsViewportAndPerspectiveAndHeightZeroBecomesOne) {
    ASSERT_TRUE(gl.ok());
    for (int height : {480, 0}) {
        SCOPED_TRACE(height);
        glTranslatef(1.0f, 2.0f, 3.0f); // must be reset
        ResizeGLView(640, height);
        GLint viewport[4], mode = 0;
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[0] + viewport[1], 0);
        EXPECT_EQ(viewport[2], 640);
        EXPECT_EQ(viewport[3], height == 0 ? 1 : height);
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
        const GLdouble identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        expectMatrixNear(GL_MODELVIEW_MATRIX, identity);
        // f = 1 / tan(22.5 degrees); near 0.1, far 390.
        const double f = 2.414213562, aspect = 640.0 / (height == 0 ? 1 : height);
        const double n = 0.1, r = 390.0;
        const GLdouble projection[16] = {
            f / aspect,          0, 0, 0, 0, f, 0, 0, 0, 0, (r + n) / (n - r), -1, 0, 0,
            2 * r * n / (n - r), 0};
        expectMatrixNear(GL_PROJECTION_MATRIX, projection);
    }
}
