// Player construction, steering and movement; the human's active player is left to the input.
#include "player/player.h"

#include <GL/gl.h>
#include <cmath>

#include "cball/cball.h"
#include "main/world.h"
#include "particles/particleemitter.h"
#include "render/maxmesh.h"
#include "shared/globals.h"
#include "shared/steadymath.h"
#include "team/team.h"

Player::Player(const char* fileName, float x, float y, float z, int teamIndex, PLAYER_TYPE kind)
    : GameObject(fileName), teamNum(teamIndex), turning(false), yrot(0.0f), xrot(0.0f),
      catchRadius(4.25f), rotRemain(0.0f), type(kind), magicTrail(nullptr), dir(-1),
      target(PATROL_NEAR_END) {
    xpos = x;
    ypos = y;
    zpos = z;
    if (z < 0.0f) {
        yrot = 180.0f;
        dir = 1;
        target = PATROL_FAR_END;
    }
    magicTrail = new ParticleEmitter("Star.bmp", 100, 1.0f, 0.25f, 0.0f, -0.35f, 3.35f, 0.0f, 1.0f,
                                     1.0f, 0.0f, -11.0f, 55.0f);
    typeID = PLAYER;
}

Player::~Player() {
    delete magicTrail;
}

void Player::step() {
    update();
    if (turning) {
        yrot += rotRemain;
        turning = false;
    }
}

void Player::draw() {
    step();

    glPushMatrix();
    glTranslatef(xpos - xoffset, ypos - yoffset, zpos - zoffset);
    glRotatef(yrot, 0.0f, 1.0f, 0.0f);
    glRotatef(xrot, -1.0f, 0.0f, 0.0f);
    if (hasShape()) {
        mesh->draw();
    }
    glPopMatrix();
}

void Player::detectCollision() {
    GameObject::detectCollision();
}

// Keep in step with reactCollision: a player only ever answers an attack ball.
bool Player::reactsTo(OBJECT_TYPE kind) const {
    return kind == B_BRUSKER;
}

void Player::reactCollision(float, float, float, OBJECT_TYPE kind) {
    if (kind != B_BRUSKER || pellum == nullptr) {
        return;
    }
    Team* side = worldTeam(teamNum);
    if (side != nullptr && side->isHoldingPellum()) {
        pellum->catchBall(this);
    }
}

void Player::update() {
    Team* human = worldTeam(PLAYER_TEAM_ID);
    if (human != nullptr && human->activePlayer() == this) {
        return;
    }
    if (type == SEEKER && flicket != nullptr) {
        flicket->catchBall(this);
    }
    Patrol();
}

void Player::Patrol() {
    float s = 78.0f + zpos;
    if (static_cast<float>(target) > s * static_cast<float>(dir)) {
        moveForward();
    } else {
        turnAround(180.0f);
        dir = -dir;
        target = target > 83 ? PATROL_NEAR_END : PATROL_FAR_END;
    }

    s = 78.0f + zpos;
    // Beyond the end opposite its goal, whichever way it faces, the player is turned back.
    if ((target == PATROL_FAR_END && s < 0.0f) || (target == PATROL_NEAR_END && s > 161.0f)) {
        turnAround(180.0f);
    }

    // A heading off the pitch's axis also carries the player sideways.
    // (Truncated toward zero, as an integer heading would be; fmod keeps huge headings defined.)
    if (std::fmod(std::trunc(yrot), 180.0f) != 0.0f) {
        if (dir == -1) {
            moveLeft();
        } else {
            moveRight();
        }
    }
    xrot = 0.0f;
}

void Player::moveForward() {
    const float a = yrot * piover180;
    const float b = xrot * piover180;
    xpos -= steadySin(a) * WALK_SPEED;
    zpos -= steadyCos(a) * WALK_SPEED;
    const float h = ypos - steadySin(b) * RISE_SPEED;
    if (h - 1.0f > 0.0f) {
        ypos = h;
    }
}

void Player::moveBackward() {
    const float a = yrot * piover180;
    const float b = xrot * piover180;
    xpos += steadySin(a) * WALK_SPEED;
    zpos += steadyCos(a) * WALK_SPEED;
    const float h = ypos + steadySin(b) * RISE_SPEED;
    if (h - 1.0f > 0.0f) {
        ypos = h;
    }
}

void Player::moveLeft() {
    const float a = yrot * piover180;
    xpos -= steadyCos(a) * WALK_SPEED;
    zpos += steadySin(a) * WALK_SPEED;
}

void Player::moveRight() {
    const float a = yrot * piover180;
    xpos += steadyCos(a) * WALK_SPEED;
    zpos -= steadySin(a) * WALK_SPEED;
}

void Player::moveUp() {
    ypos += RISE_SPEED;
}

void Player::moveDown() {
    ypos -= RISE_SPEED;
}

void Player::turnAround(float degrees) {
    turning = true;
    rotRemain = degrees;
}

float Player::cRad() {
    return catchRadius;
}
