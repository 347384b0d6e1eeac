// Goal hoops: the scoring-box test of each step, and drawing.
#include "static_objects/goal.h"

#include <GL/gl.h>
#include <cmath>

#include "cball/cball.h"
#include "main/world.h"
#include "render/maxmesh.h"
#include "shared/globals.h"

GoalPost::GoalPost(const char* fileName, float x, float y, float z)
    : GameObject(fileName), X(x), Y(GOAL_BOX_HEIGHT), Z(z), scoringRadius(3.8f) {
    xpos = x;
    ypos = y;
    zpos = z;
    typeID = STATIONARY_PIECE;
}

void GoalPost::step() {
    if (scoredUpon()) {
        pellum->scoreGoal();
    }
}

void GoalPost::draw() {
    step();
    glPushMatrix();
    glTranslatef(xpos - xoffset, ypos - yoffset, zpos - zoffset);
    if (hasShape()) {
        mesh->draw();
    }
    glPopMatrix();
}

bool GoalPost::scoredUpon() {
    if (pellum == nullptr) {
        return false;
    }
    float bx = 0.0f, by = 0.0f, bz = 0.0f;
    pellum->getPos(bx, by, bz);
    const float r = pellum->giveRadius();
    // Thin along z: deeper than the ball's size only by one step of a player's flight.
    return std::fabs(bx - X) < scoringRadius && std::fabs(by - Y) < scoringRadius &&
           std::fabs(bz - Z) < WALK_SPEED - r;
}
