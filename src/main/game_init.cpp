// Building one game: random seed, music, splash, the world in list order, the selection screen.
#include "main/game.h"

#include "contentplayer/contentplayer.h"
#include "main/background.h"
#include "main/hoopwind.h"
#include "main/world.h"
#include "shared/random.h"
#include "main/world.h"

#include <GL/gl.h>

#include <cstdio>

int Game_Init() {
    seedGameRandom(GetTickCount());

    char path[32];
    std::snprintf(path, sizeof path, "Music/music%d.mp3", gameRandom() % 2);
    music = new ContentPlayer(path);
    music->play();

    // The splash stays on screen while the models and textures load; nothing clears first.
    background = new BackgroundImage("BG.bmp");
    background->draw();
    SwapBuffers(hdc);

    // The list first, then the stadium, balls and teams: the order of construction is the
    // order of the list, which decides drawing and collision pairs.
    BuildWorld();

    gameState = STATE_TEAM_SELECT;
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    return 1;
}
