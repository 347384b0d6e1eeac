// One frame: Escape, the current state's input, the collision pass in play, then the drawing.
#include "main/game.h"

#include "main/hoopwind.h"
#include "main/screens.h"
#include "main/world.h"
#include "shared/globals.h"

#include <GL/gl.h>

namespace {

void chooseTeam(int index) {
    view = index;
    gameState = STATE_PLAYING;
    glClearColor(0.85f, 0.85f, 1.0f, 0.0f);
    PLAYER_TEAM_ID = index;
    glEnable(GL_DEPTH_TEST);
    if (USE_LIGHTS) {
        glEnable(GL_LIGHTING);
    }
}

} // namespace

int Game_Main() {
    if (KEYDOWN(VK_ESCAPE)) {
        // The quit message ends the loop after this frame has been drawn.
        WndProc(hwnd, WM_CLOSE, 0, 0);
        active = false;
    }

    switch (gameState) {
    case STATE_TEAM_SELECT:
        // Both keys held: the second test wins, so team 1 is chosen.
        if (KEYDOWN('1')) {
            chooseTeam(0);
        }
        if (KEYDOWN('2')) {
            chooseTeam(1);
        }
        break;
    case STATE_PLAYING:
        ApplyPlayKeys();
        ApplyMouseLook();
        hoopwind->checkCollisions();
        break;
    case STATE_GAME_OVER:
        if (KEYDOWN(VK_RETURN)) {
            Game_Restart(); // the new selection screen is drawn in this same frame
        }
        break;
    default:
        break;
    }

    DrawGLScene();
    return 1;
}

int DrawGLScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    switch (gameState) {
    case STATE_TEAM_SELECT:
        return DrawTeamSelect();
    case STATE_PLAYING:
        return DrawPlaying();
    case STATE_GAME_ENDING:
        return BeginGameOver();
    case STATE_GAME_OVER:
        return DrawGameOver();
    default:
        return 0;
    }
}
