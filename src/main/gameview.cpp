// Camera and head-up switches with their program-start values; a new game keeps them as they are.
#include "main/gameview.h"

bool dispPos = false;
float yrot = 0.0f;
float pivot = 0.0f;
float xpos = 0.0f;
float ytrans = START_YTRANS;
float zpos = START_ZPOS;
float distBehindPlayer = START_DIST_BEHIND_PLAYER;
POINT mousePos = {WIDTH_CENTER, HEIGHT_CENTER};

void resetView() {
    pivot = 0.0f;
    yrot = 0.0f;
    xpos = 0.0f;
    ytrans = START_YTRANS;
    zpos = START_ZPOS;
}
