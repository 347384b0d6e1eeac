// The play bindings, tested in a fixed order every frame; a held key acts in every frame,
// toggles included.
#include "main/game.h"

#include "main/gameview.h"
#include "main/world.h"
#include "player/player.h"
#include "shared/globals.h"
#include "shared/steadymath.h"
#include "team/team.h"

#include <GL/gl.h>

namespace {

// The player the camera follows, or null in the free camera.
Player* followedPlayer() {
    if (view == VIEW_STANDARD) {
        return nullptr;
    }
    Team* side = worldTeam(view);
    return side ? side->activePlayer() : nullptr;
}

} // namespace

void ApplyPlayKeys() {
    Player* p = followedPlayer();
    const bool freeCamera = view == VIEW_STANDARD;

    if (KEYDOWN(VK_TAB)) {
        USE_LIGHTS = !USE_LIGHTS;
        if (USE_LIGHTS) {
            glEnable(GL_LIGHTING);
        } else {
            glDisable(GL_LIGHTING);
        }
    }
    if (KEYDOWN(VK_LEFT)) {
        if (p) {
            p->moveLeft();
        } else if (freeCamera) {
            yrot += TURN_SPEED;
        }
    }
    if (KEYDOWN(VK_RIGHT)) {
        if (p) {
            p->moveRight();
        } else if (freeCamera) {
            yrot -= TURN_SPEED;
        }
    }
    if (KEYDOWN(VK_UP)) {
        if (p) {
            p->moveForward();
        } else if (freeCamera) {
            xpos += steadySin(yrot * piover180) * WALK_SPEED;
            zpos += steadyCos(yrot * piover180) * WALK_SPEED;
        }
    }
    if (KEYDOWN(VK_DOWN)) {
        if (p) {
            p->moveBackward();
        } else if (freeCamera) {
            xpos -= steadySin(yrot * piover180) * WALK_SPEED;
            zpos -= steadyCos(yrot * piover180) * WALK_SPEED;
        }
    }
    if (KEYDOWN(VK_PRIOR)) {
        pivot -= TURN_SPEED;
    }
    if (KEYDOWN(VK_NEXT)) {
        pivot += TURN_SPEED;
    }
    if (KEYDOWN(VK_NUMPAD8)) {
        if (p) {
            p->moveUp();
        } else if (freeCamera) {
            ytrans -= RISE_SPEED;
        }
    }
    if (KEYDOWN(VK_NUMPAD2)) {
        // The height guard uses the followed player's height as the last drawing left it.
        if (p) {
            if (yoffset - RISE_SPEED - 1.0f > 0.0f) {
                p->moveDown();
            }
        } else if (freeCamera) {
            if (ytrans + RISE_SPEED < yoffset) {
                ytrans += RISE_SPEED;
            }
        }
    }
    if (KEYDOWN('A')) {
        distBehindPlayer += 2.05f;
    }
    if (KEYDOWN('S')) {
        distBehindPlayer -= 2.05f;
    }
    if (KEYDOWN(VK_F1)) {
        dispPos = !dispPos;
    }
    if (KEYDOWN('0')) {
        resetView();
        view = VIEW_STANDARD;
        distBehindPlayer = 0.0f;
    }
}

void ApplyMouseLook() {
    GetCursorPos(&mousePos);
    SetCursorPos(WIDTH_CENTER, HEIGHT_CENTER);
    Player* p = followedPlayer();
    if (!p) {
        return; // the free camera is turned by the keys only
    }
    p->yrot += static_cast<float>(WIDTH_CENTER - mousePos.x) / 100.0f * 12.0f;
    p->xrot -= static_cast<float>(HEIGHT_CENTER - mousePos.y) / 100.0f * 12.0f;
    pivot = p->xrot;
}
