// The in-play view: chase or free camera, the two lights, the world, and the head-up text.
#include "main/screens.h"

#include "cball/cball.h"
#include "font/glprint.h"
#include "font/vfont.h"
#include "main/gameview.h"
#include "main/hoopwind.h"
#include "main/world.h"
#include "player/player.h"
#include "shared/globals.h"
#include "shared/steadymath.h"
#include "team/team.h"

#include <GL/gl.h>

#include <algorithm>
#include <initializer_list>

float lastLight0[4] = {0.0f, 0.0f, 0.0f, 0.0f};
float lastLight1[4] = {0.0f, 0.0f, 0.0f, 0.0f};

int DrawPlaying() {
    Player* p = nullptr;
    if (view != VIEW_STANDARD) {
        Team* side = worldTeam(view);
        p = side ? side->activePlayer() : nullptr;
    }

    if (p) {
        p->getPos(xoffset, yoffset, zoffset);
        yrot = 360.0f - p->yrot;
    } else {
        xoffset = yoffset = zoffset = 0.0f;
    }
    // The light follows the camera's heading. In the free camera the offsets are zero, so the
    // same formula places it around the world origin with the free camera's own heading.
    float light[4] = {lightPos[0] + xoffset - steadySin(yrot * piover180), lightPos[1] + yoffset,
                      lightPos[2] + zoffset - steadyCos(yrot * piover180), 0.0f};

    if (p) {
        // Orbit the followed player, who is drawn at the origin.
        glTranslatef(xpos, ytrans, zpos + distBehindPlayer);
        glRotatef(pivot, 1.0f, 0.0f, 0.0f);
        glRotatef(yrot, 0.0f, 1.0f, 0.0f);
    } else {
        glRotatef(pivot, 1.0f, 0.0f, 0.0f);
        glRotatef(360.0f - yrot, 0.0f, 1.0f, 0.0f);
        glTranslatef(xpos, ytrans, zpos + distBehindPlayer);
    }

    glLightfv(GL_LIGHT0, GL_POSITION, light);
    for (int i = 0; i < 4; ++i) {
        lastLight0[i] = light[i];
    }
    light[2] = -light[2];
    glLightfv(GL_LIGHT1, GL_POSITION, light);
    for (int i = 0; i < 4; ++i) {
        lastLight1[i] = light[i];
    }

    hoopwind->drawAllObjects();

    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -50.1f);
    glDisable(GL_DEPTH_TEST);
    if (USE_LIGHTS) {
        glDisable(GL_LIGHTING);
    }
    glColor4f(1.0f, 0.05f, 0.0f, 1.0f);
    // The lines are drawn twice: with the font's dark contour in wide lines, then filled again
    // on top, which leaves the contour's outer half as a thin rim all round the letters that
    // keeps the red readable over the pale sky and the busy stands.
    vfSetContourColor(0.12f, 0.0f, 0.0f, 1.0f);
    for (bool contour : {true, false}) {
        if (contour) {
            // Lines are counted in pixels: the rim keeps its share of the letters at any size.
            GLint area[4];
            glGetIntegerv(GL_VIEWPORT, area);
            glLineWidth(std::max(2.0f, 3.0f * static_cast<float>(area[3]) / 480.0f));
            vfEnable(VF_CONTOURING);
        } else {
            glLineWidth(1.0f);
            vfDisable(VF_CONTOURING);
        }
        glPushMatrix();
        glTranslatef(-25.2f, 18.89f, 0.0f);

        if (p) {
            glPrint("%s currently in view      Score = %d pts",
                    p->type == SEEKER ? "Seeker" : "Chaser", team[view]->getScore());
        }

        glTranslatef(12.5f, -1.75f, 0.0f);
        pellum->dispStatus();

        if (dispPos) {
            glTranslatef(-10.65f, -35.55f, 0.0f);
            if (p) {
                glPrint("X = %.4f, Y = %.4f, Z = %.4f, yrot = %.2f", xoffset, yoffset, zoffset,
                        yrot);
                glTranslatef(12.2f, 1.59f, 0.0f);
                glPrint("distBehindPlayer = %.4f", distBehindPlayer);
            } else {
                glPrint("X = %.4f, Y = %.4f, Z = %.4f, yrot = %.2f", xpos, ytrans, zpos, yrot);
            }
        }
        glPopMatrix();
    }

    if (USE_LIGHTS) {
        glEnable(GL_LIGHTING);
    }
    glEnable(GL_DEPTH_TEST);
    return 1;
}
