// The one-time GL state and the viewport/projection for a client-area size.
#include "main/hoopwind.h"

#include "font/vfont.h"
#include "platform/screenfit.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <initializer_list>

namespace {

// Frames whose bars are still to be cleared: each buffer of the swap chain has its own.
int barClears = 0;

} // namespace

void ClearPictureBars() {
    if (barClears <= 0) {
        return;
    }
    --barClears;
    // The whole drawable goes black; the game's own clear colour stays inside the picture.
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
    if (scissor) {
        glEnable(GL_SCISSOR_TEST);
    }
}

void ResizeGLView(int width, int height) {
    // Full screen keeps the 640 x 480 picture's shape in the middle of the display, drawn at the
    // display's own resolution; a window shows it over the whole client area.
    const bool keepShape = WindowIsFullscreen();
    const ViewArea area = pictureArea(width, height, keepShape);
    glViewport(area.x, area.y, area.width, area.height);
    glScissor(area.x, area.y, area.width, area.height);
    if (keepShape) {
        glEnable(GL_SCISSOR_TEST); // clears and the splash's overhang stay inside the picture
    } else {
        glDisable(GL_SCISSOR_TEST);
    }
    barClears = 3;
    ClearPictureBars();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<GLdouble>(area.width) / static_cast<GLdouble>(area.height),
                   0.1, 390.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

int InitGL() {
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);

    vfInit();
    font1 = vfLoadFont("times_new1.glf");

    const GLfloat ambient[] = {0.2f, 0.2f, 0.2f, 1.0f};
    const GLfloat diffuse[] = {1.0f, 1.0f, 1.0f, 1.0f};
    for (GLenum light : {GL_LIGHT0, GL_LIGHT1}) {
        glLightfv(light, GL_POSITION, lightPos);
        glLightfv(light, GL_AMBIENT, ambient);
        glLightfv(light, GL_DIFFUSE, diffuse);
    }

    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    glEnable(GL_NORMALIZE);
    glEnable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);

    glDisable(GL_DEPTH_TEST);
    return 1;
}
