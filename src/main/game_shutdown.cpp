// Ending one game: music off, background and world freed; the window and camera stay.
#include "main/game.h"

#include "contentplayer/contentplayer.h"
#include "main/background.h"
#include "main/hoopwind.h"
#include "main/world.h"

int Game_Shutdown() {
    // Deleting the player stops the track and gives the audio device back before anything else.
    delete music;
    music = nullptr;
    delete background;
    background = nullptr;
    DestroyWorld();
    return 1;
}

void Game_Restart() {
    Game_Shutdown();
    Game_Init();
}
