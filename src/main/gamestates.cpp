// The current game state, from program start on the selection screen.
#include "main/gamestates.h"

int gameState = STATE_TEAM_SELECT;
