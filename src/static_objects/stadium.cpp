// Stadium construction (with its hoops, in their fixed order and places) and drawing.
#include "static_objects/stadium.h"

#include <GL/gl.h>

#include "render/maxmesh.h"
#include "shared/globals.h"
#include "static_objects/goal.h"

namespace {

struct HoopPlace {
    float x, z;
};

// Three hoops at each end; the side hoops are deliberately not mirror images.
constexpr HoopPlace HOOP_PLACES[NUM_GOALS] = {{0.0f, -60.0f}, {-25.0f, -45.0f}, {25.0f, -42.0f},
                                              {0.0f, 60.0f},  {-25.0f, 45.0f},  {25.0f, 42.0f}};

constexpr const char* HOOP_MODEL = "mesh/goal.3ds";

} // namespace

StadiumObject::StadiumObject(const char* fileName) : GameObject(fileName), goal{} {
    xpos = ypos = zpos = 0.0f;
    for (int i = 0; i < NUM_GOALS; ++i) {
        goal[i] = new GoalPost(HOOP_MODEL, HOOP_PLACES[i].x, 0.0f, HOOP_PLACES[i].z);
    }
    typeID = STATIONARY_PIECE;
}

void StadiumObject::draw() {
    step();
    glPushMatrix();
    glTranslatef(-xoffset, -yoffset, -zoffset);
    if (hasShape()) {
        mesh->draw();
    }
    glPopMatrix();
}
