// Ending one game: music off, background and world freed; the window and camera stay.
#include "main/game.h"

#include "contentplayer/contentplayer.h"
#include "main/background.h"
#include "main/hoopwind.h"
#include "main/world.h"

#include <GL/gl.h>

int Game_Shutdown() {
    // Deleting the player stops the track and gives the audio device back before anything else.
    delete music;
    music = nullptr;
    // The next game loads the picture again, so its texture goes with this game.
    if (background != nullptr && background->texture != 0) {
        glDeleteTextures(1, &background->texture);
    }
    delete background;
    background = nullptr;
    DestroyWorld();
    return 1;
}

void Game_Restart() {
    Game_Shutdown();
    Game_Init();
}
