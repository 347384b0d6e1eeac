// Renders the generated models offscreen, each from three angles, and the play view from the
// start position, as PNG pictures for looking at the data.
#include "platform/headless.h"
#include "render/maxmesh.h"
#include "render/sphere.h"
#include "shared/globals.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

const float LIGHT_POS[4] = {0.0f, 0.0f, 2000.0f, 0.0f};

// The fixed state the game sets before play: projection, depth, culling, lights.
void gameState(bool lights) {
    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 640.0 / 480.0, 0.1, 390.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glShadeModel(GL_SMOOTH);
    glClearColor(0.85f, 0.85f, 1.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    const float ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f}, diffuse[4] = {1, 1, 1, 1};
    for (GLenum l : {GL_LIGHT0, GL_LIGHT1}) {
        glLightfv(l, GL_AMBIENT, ambient);
        glLightfv(l, GL_DIFFUSE, diffuse);
        glEnable(l);
    }
    glEnable(GL_NORMALIZE);
    glEnable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    USE_LIGHTS = lights;
    if (lights)
        glEnable(GL_LIGHTING);
    else
        glDisable(GL_LIGHTING);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void placeLights(float x, float y, float z) {
    // Light 0 from the pitch's +z side, light 1 mirrored, as the in-play view sets them.
    float l0[4] = {LIGHT_POS[0] + x, LIGHT_POS[1] + y, LIGHT_POS[2] + z, 0};
    glLightfv(GL_LIGHT0, GL_POSITION, l0);
    l0[2] = -l0[2];
    glLightfv(GL_LIGHT1, GL_POSITION, l0);
}

bool save(const std::string& folder, const std::string& name) {
    glFinish();
    std::vector<unsigned char> rgba = headless::readFramebuffer();
    std::string ppm = folder + "/" + name + ".ppm", png = folder + "/" + name + ".png";
    if (!headless::writePPM(ppm.c_str(), rgba, 640, 480))
        return false;
    std::string cmd = "/usr/bin/convert '" + ppm + "' '" + png + "'";
    bool ok = std::system(cmd.c_str()) == 0;
    std::remove(ppm.c_str());
    std::printf("%s\n", png.c_str());
    return ok;
}

void unit(float* v) {
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    for (int i = 0; i < 3 && length > 0; ++i)
        v[i] /= length;
}

// Looks at `target` from a point at `dist` along heading `yaw` (degrees, 0 = from +z) and
// elevation `pitch`.
void orbit(float tx, float ty, float tz, float dist, float yaw, float pitch) {
    float r = 3.14159265f / 180.0f;
    float ex = tx + dist * std::cos(pitch * r) * std::sin(yaw * r);
    float ey = ty + dist * std::sin(pitch * r);
    float ez = tz + dist * std::cos(pitch * r) * std::cos(yaw * r);
    // The camera's axes (right, up, back) as the rows of a rotation, then the eye moved to 0.
    float back[3] = {ex - tx, ey - ty, ez - tz};
    unit(back);
    float right[3] = {back[2], 0.0f, -back[0]}; // up (0, 1, 0) x back
    unit(right);
    const float up[3] = {back[1] * right[2] - back[2] * right[1],
                         back[2] * right[0] - back[0] * right[2],
                         back[0] * right[1] - back[1] * right[0]};
    const float m[16] = {right[0], up[0], back[0], 0, right[1], up[1], back[1], 0,
                         right[2], up[2], back[2], 0, 0,        0,     0,       1};
    glLoadMatrixf(m);
    glTranslatef(-ex, -ey, -ez);
}

void ball(float x, float y, float z, float radius, float r, float g, float b) {
    glPushMatrix();
    glTranslatef(x - xoffset, y - yoffset, z - zoffset);
    glDisable(GL_TEXTURE_2D);
    glColor3f(r, g, b);
    float dif[4] = {r, g, b, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, dif);
    drawSolidSphere(radius, 15, 15);
    glPopMatrix();
}

// The start of play as the game builds it, seen from behind team 0's Chaser.
void playView(maxMesh& stadium, maxMesh& goal, maxMesh& player, bool lights) {
    gameState(lights);
    const float px = -2.5f, py = 24.0f, pz = 30.2f;
    xoffset = px;
    yoffset = py;
    zoffset = pz;
    glLoadIdentity();
    glTranslatef(0.0f, -2.34f, -45.0f + 33.3f);
    placeLights(xoffset, yoffset, zoffset);
    glPushMatrix();
    glTranslatef(-xoffset, -yoffset, -zoffset);
    stadium.draw();
    glPopMatrix();
    const float hoops[6][2] = {{0, -60}, {-25, -45}, {25, -42}, {0, 60}, {-25, 45}, {25, 42}};
    for (const auto& h : hoops) {
        glPushMatrix();
        glTranslatef(h[0] - xoffset, -yoffset, h[1] - zoffset);
        goal.draw();
        glPopMatrix();
    }
    ball(5, 48, 0, 0.6f, 0.94f, 0.19f, 0.2f);
    ball(5, 50, 15, 0.5f, 0, 0, 0);
    ball(-5, 47, 15, 0.5f, 0, 0, 0);
    ball(-7, 46, -2, 0.28f, 1, 1, 0);
    const float players[4][4] = {{-2.5f, 24, 30.2f, 0},
                                 {2.5f, 24, 30.2f, 0},
                                 {-2.5f, 24, -30.4f, 180},
                                 {2.5f, 24, -30.4f, 180}};
    for (const auto& p : players) {
        glPushMatrix();
        glTranslatef(p[0] - xoffset, p[1] - yoffset, p[2] - zoffset);
        glRotatef(p[3], 0, 1, 0);
        player.draw();
        glPopMatrix();
    }
}

void modelViews(maxMesh& mesh, const std::string& folder, const std::string& name, float tx,
                float ty, float tz, float dist, const float views[3][2], bool lights) {
    for (int i = 0; i < 3; ++i) {
        gameState(lights);
        orbit(tx, ty, tz, dist, views[i][0], views[i][1]);
        placeLights(0, 0, 0);
        mesh.draw();
        save(folder, name + "_" + std::to_string(i + 1) + (lights ? "_lit" : ""));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <data folder> <output folder>\n", argv[0]);
        return 2;
    }
    std::string out = argv[2];
    if (out[0] != '/') {
        char cwd[1024];
        if (getcwd(cwd, sizeof cwd))
            out = std::string(cwd) + "/" + out;
    }
    if (chdir(argv[1]) != 0) {
        std::fprintf(stderr, "preview: no data folder %s\n", argv[1]);
        return 1;
    }
    headless::OffscreenGL gl;
    if (!gl.ok()) {
        std::fprintf(stderr, "preview: no offscreen GL context\n");
        return 1;
    }
    gameState(false);
    maxMesh stadium("mesh/stadium.3ds"), goal("mesh/goal.3ds"), player("mesh/player.3ds");
    const float goalViews[3][2] = {{0, 5}, {35, 20}, {90, 10}};
    const float playerViews[3][2] = {{0, 11.3f}, {140, 15}, {-90, 5}};
    const float stadiumViews[3][2] = {{30, 35}, {150, 12}, {90, 55}};
    for (bool lit : {false, true}) {
        modelViews(goal, out, "goal", 0, 13, 0, 36, goalViews, lit);
        modelViews(player, out, "player", 0, 0, 0.6f, 11.9f, playerViews, lit);
        modelViews(stadium, out, "stadium", 0, 10, 0, 230, stadiumViews, lit);
        playView(stadium, goal, player, lit);
        save(out, std::string("play") + (lit ? "_lit" : ""));
    }
    return 0;
}
