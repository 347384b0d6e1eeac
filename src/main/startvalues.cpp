// Program-start values of the game's globals, restored in one call (tests and benches use it
// between runs in one process).
#include "main/startvalues.h"

#include "cball/cball.h"
#include "main/game.h"
#include "main/gameview.h"
#include "main/screens.h"
#include "main/world.h"
#include "shared/globals.h"

void ResetGameGlobals() {
    Game_Shutdown();

    gameState = STATE_TEAM_SELECT;
    view = 0;
    PLAYER_TEAM_ID = 0;

    resetView();
    dispPos = false;
    distBehindPlayer = START_DIST_BEHIND_PLAYER;
    mousePos = POINT{WIDTH_CENTER, HEIGHT_CENTER};
    for (int i = 0; i < 4; ++i) {
        lastLight0[i] = 0.0f;
        lastLight1[i] = 0.0f;
    }

    USE_LIGHTS = false;
    xoffset = 0.0f;
    yoffset = START_YTRANS;
    zoffset = START_ZPOS;

    CBall::bounceCountdown = BOUNCE_STEPS;
    CBall::wanderTicks = 0;
    GameObject::collideBoxSilenced = false;
}
