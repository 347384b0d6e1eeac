// The game font InitGL loads from the working directory, and the viewport and projection
// ResizeGLView sets, read back from a real context.
#include "main/hoopwind.h"
#include "shell/shell_fixture.h"

#include "font/vfont.h"

#include <GL/gl.h>
#include <GL/glu.h>

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

TEST_F(GLViewTest, ResizeSetsViewportAndPerspectiveAndHeightZeroBecomesOne) {
    ASSERT_TRUE(gl.ok());
    struct Case {
        int width, height, viewportHeight;
        double aspect;
    } cases[] = {{640, 480, 480, 640.0 / 480.0}, {300, 200, 200, 1.5}, {640, 0, 1, 640.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        glMatrixMode(GL_MODELVIEW);
        glTranslatef(1.0f, 2.0f, 3.0f); // must be reset
        ResizeGLView(c.width, c.height);

        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[0], 0);
        EXPECT_EQ(viewport[1], 0);
        EXPECT_EQ(viewport[2], c.width);
        EXPECT_EQ(viewport[3], c.viewportHeight);

        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
        const GLdouble identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        expectMatrixNear(GL_MODELVIEW_MATRIX, identity);

        // The projection of a 45-degree perspective from 0.1 to 390 with this aspect.
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        gluPerspective(45.0, c.aspect, 0.1, 390.0);
        GLdouble expected[16];
        glGetDoublev(GL_PROJECTION_MATRIX, expected);
        glPopMatrix();
        expectMatrixNear(GL_PROJECTION_MATRIX, expected);
        EXPECT_NEAR(expected[0] * c.aspect, expected[5], 1e-5);
        glMatrixMode(GL_MODELVIEW);
    }
}
