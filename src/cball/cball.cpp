// Ball behaviour: falling, carrying, hunting and wandering, bouncing, catching and scoring.
#include "cball/cball.h"

#include <GL/gl.h>
#include <cmath>

#include "font/glprint.h"
#include "main/gamestates.h"
#include "main/world.h"
#include "player/player.h"
#include "render/maxmesh.h"
#include "render/sphere.h"
#include "shared/globals.h"
#include "shared/random.h"
#include "team/team.h"

float CBall::bounceCountdown = BOUNCE_STEPS;
int CBall::wanderTicks = 0;

namespace {

void setColour(float* dst, float r, float g, float b, float a) {
    dst[0] = r;
    dst[1] = g;
    dst[2] = b;
    dst[3] = a;
}

// Approach factors: hunting, wandering, and bouncing away after a hit.
constexpr float HUNT_FACTOR = 0.0457f;
constexpr float WANDER_FACTOR = 0.095f;
constexpr float BOUNCE_FACTOR = 0.035f;

} // namespace

CBall::CBall(ballType kind)
    : GameObject(), type(kind), radius(0.0f), g(0.0f), caught(false), holding(NO_TEAM),
      searchRadius(0.0f), victim(PLAYER_NOT_FOUND), victimsTeam(0), noVicTic(0), xv(0.0f), yv(0.0f),
      zv(0.0f), xi(0.0f), yi(0.0f), zi(0.0f), matShiny(0.0f) {
    switch (kind) {
    case PELLUM:
        typeID = B_PELLUM;
        radius = 0.6f;
        g = 1.3f;
        setColour(matAmb, 0.98f, 0.2f, 0.2f, 1.0f);
        setColour(matDif, 0.94f, 0.19f, 0.2f, 1.0f);
        setColour(matSpec, 0.7f, 0.05f, 0.05f, 1.0f);
        matShiny = 0.05f;
        break;
    case BRUSKER:
        typeID = B_BRUSKER;
        radius = 0.5f;
        searchRadius = 35.0f;
        // A dark iron grey, so the black-diffuse ball still reads under the lights.
        setColour(matAmb, 0.22f, 0.22f, 0.25f, 1.0f);
        setColour(matDif, 0.0f, 0.0f, 0.0f, 1.0f);
        setColour(matSpec, 0.1f, 0.19f, 0.21f, 1.0f);
        matShiny = 0.15f;
        break;
    case FLICKET:
    default:
        type = FLICKET;
        typeID = B_FLICKET;
        radius = 0.28f;
        xv = yv = zv = 0.09f;
        setColour(matAmb, 0.71f, 0.7f, 0.65f, 1.0f);
        setColour(matDif, 1.0f, 1.0f, 0.0f, 1.0f);
        setColour(matSpec, 0.35f, 0.45f, 0.15f, 1.0f);
        matShiny = 0.9f;
        break;
    }
    xpos = ypos = zpos = 0.0f;
    victim = PLAYER_NOT_FOUND;
    caught = false;
    holding = NO_TEAM;
}

void CBall::setPos(float x, float y, float z) {
    xpos = x;
    ypos = y;
    zpos = z;
}

float CBall::giveRadius() {
    return radius;
}

void CBall::approachTarget() {
    xpos += (xi - xpos) * xv;
    ypos += (yi - ypos) * yv;
    zpos += (zi - zpos) * zv;
}

void CBall::chooseWanderTarget() {
    // The draws happen one statement at a time: their order is part of the game.
    int a = gameRandom() % 28;
    int sign = (gameRandom() % 2 == 1) ? 1 : -1;
    xi = static_cast<float>(sign * a);
    a = gameRandom() % 83;
    sign = (gameRandom() % 2 == 1) ? 1 : -1;
    zi = static_cast<float>(sign * a);
    yi = static_cast<float>(gameRandom() % 50);
    noVicTic = 1;
    wanderTicks = gameRandom() % 46 + 15;
}

void CBall::findVictim() {
    float best = 10000.0f;
    victim = PLAYER_NOT_FOUND;
    for (int t = 0; t < 2; ++t) {
        Team* side = worldTeam(t);
        if (side == nullptr) {
            continue;
        }
        for (int p = 0; p < NUM_PLAYERS_PER_TEAM; ++p) {
            Player* candidate = side->player[p];
            if (candidate == nullptr) {
                continue;
            }
            const float d =
                worldDistance(xpos, ypos, zpos, candidate->xpos, candidate->ypos, candidate->zpos);
            if (d < searchRadius && d < best) {
                victimsTeam = t;
                victim = p;
                best = d;
            }
        }
    }
}

void CBall::step() {
    if (collided && !caught) {
        approachTarget();
        bounceCountdown -= 1.0f;
        if (bounceCountdown <= 0.0f) {
            collided = false;
            bounceCountdown = BOUNCE_STEPS;
        }
        return;
    }

    switch (type) {
    case PELLUM:
        if (!caught) {
            ypos -= 0.5f * g * g;
        } else if (Team* side = worldTeam(holding)) {
            if (Player* carrier = side->getChaser()) {
                carrier->getPos(xpos, ypos, zpos);
            }
        }
        break;
    case BRUSKER:
        findVictim();
        if (victim == PLAYER_NOT_FOUND) {
            xv = yv = zv = WANDER_FACTOR;
            if (std::fabs(xi - xpos) < radius) {
                noVicTic = 0;
            }
            if (noVicTic == 0 || xi == xpos) {
                chooseWanderTarget();
            } else {
                noVicTic += 1;
                if (noVicTic == wanderTicks) {
                    noVicTic = 0;
                }
            }
        } else {
            Player* prey = worldTeam(victimsTeam)->player[victim];
            prey->getPos(xi, yi, zi);
            xv = yv = zv = HUNT_FACTOR;
            noVicTic = 0;
        }
        approachTarget();
        break;
    case FLICKET:
        if (std::fabs(xi - xpos) < radius) {
            noVicTic = 0;
        }
        if (noVicTic == 0) {
            chooseWanderTarget();
        } else {
            noVicTic += 1;
            if (noVicTic == wanderTicks) {
                noVicTic = 0;
            }
        }
        approachTarget();
        break;
    }

    if (ypos - radius < 0.0f) {
        ypos = radius;
    }
}

void CBall::draw() {
    step();

    glPushMatrix();
    glTranslatef(xpos - xoffset, ypos - yoffset, zpos - zoffset);

    Team* side = caught ? worldTeam(holding) : nullptr;
    Player* carrier = side != nullptr ? side->getChaser() : nullptr;
    if (carrier != nullptr) {
        glPushMatrix();
        glRotatef(carrier->yrot, 0.0f, 1.0f, 0.0f);
        glRotatef(carrier->xrot, -1.0f, 0.0f, 0.0f);
        // Held out in front: close to the player's own camera, further out for the others.
        glTranslatef(0.0f, 0.0f, carrier == side->activePlayer() ? -1.0f : -4.0f);
    }

    if (USE_LIGHTS) {
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, matAmb);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, matDif);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, matSpec);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, &matShiny);
    } else {
        glColor3f(matDif[0], matDif[1], matDif[2]);
    }
    drawSolidSphere(radius, 15, 15);

    if (carrier != nullptr) {
        glPopMatrix();
    }
    glPopMatrix();
}

void CBall::detectCollision() {
    for (GameObject* other = next; other != nullptr; other = other->next) {
        float bx = 0.0f, by = 0.0f, bz = 0.0f;
        other->getPos(bx, by, bz);
        maxMesh* model = other->getMesh();

        if (model == nullptr) {
            if (worldDistance(xpos, ypos, zpos, bx, by, bz) < radius + radius) {
                reactCollision(bx, by, bz, other->typeID);
                other->reactCollision(-xpos, -ypos, -zpos, typeID);
            }
            continue;
        }

        for (int32_t j = 0; j < model->numMeshes; ++j) {
            const MESH& m = model->meshes[j];
            const float d = worldDistance(xpos, ypos, zpos, m.bounds.center.x + bx,
                                          m.bounds.center.y + by, m.bounds.center.z + bz);
            if (!(d < radius + m.bounds.radius)) {
                continue;
            }
            for (int32_t l = 0; l < m.numFaces; ++l) {
                const BoundingSphere& face = m.faces[l].bounds;
                const float cx = face.center.x + bx;
                const float cy = face.center.y + by;
                const float cz = face.center.z + bz;
                if (worldDistance(xpos, ypos, zpos, cx, cy, cz) < radius + face.radius) {
                    other->reactCollision(xpos, ypos, zpos, typeID);
                    reactCollision(cx, cy, cz, other->typeID);
                }
            }
        }
    }
}

void CBall::reactCollision(float x, float y, float z, OBJECT_TYPE kind) {
    if (caught && kind == PLAYER) {
        return;
    }
    xi = xpos - x;
    yi = ypos - y;
    zi = zpos - z;
    xv = yv = zv = BOUNCE_FACTOR;
    collided = true;
    victim = PLAYER_NOT_FOUND;

    if (type == PELLUM && caught && kind == B_BRUSKER) {
        if (Team* side = worldTeam(holding)) {
            catchBall(side->activePlayer());
        }
    }
}

void CBall::catchBall(Player* p) {
    if (p == nullptr) {
        return;
    }
    if (caught && p->teamNum != holding) {
        return;
    }
    if (caught) {
        caught = false;
        if (Team* side = worldTeam(holding)) {
            side->catchPellum();
        }
        holding = NO_TEAM;
        return;
    }

    Team* side = worldTeam(p->teamNum);
    if (side == nullptr) {
        return;
    }
    float px = 0.0f, py = 0.0f, pz = 0.0f;
    p->getPos(px, py, pz);
    const float reach = p->cRad() + radius;
    const bool within = std::fabs(px - xpos) < reach && std::fabs(py + 3.0f - ypos) < reach &&
                        std::fabs(pz - zpos) < reach;
    if (!within) {
        return;
    }
    switch (type) {
    case PELLUM:
        caught = true;
        holding = p->teamNum;
        side->catchPellum();
        break;
    case FLICKET:
        gameState = STATE_GAME_ENDING;
        side->catchFlicket();
        break;
    case BRUSKER:
        break;
    }
}

void CBall::scoreGoal() {
    if (type != PELLUM || holding == NO_TEAM) {
        return;
    }
    Team* side = worldTeam(holding);
    if (side == nullptr) {
        return;
    }
    side->scoreGoal();
    catchBall(side->activePlayer());
}

void CBall::dispStatus() {
    Team* side = caught ? worldTeam(holding) : nullptr;
    if (side != nullptr) {
        glTranslatef(-6.5f, 0.0f, 0.0f);
        glPrint("%s is in possesion of the Pellum!", side->name());
        glTranslatef(6.5f, 0.0f, 0.0f);
    } else {
        glPrint("No one is holding the Pellum");
    }
}
