// The current game's own objects, made by Game_Init and freed by Game_Shutdown.
#include "main/game.h"

ContentPlayer* music = nullptr;
BackgroundImage* background = nullptr;
