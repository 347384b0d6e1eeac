// Camera and head-up switches with their program-start values; a new game keeps them as they are.
#include "main/gameview.h"

bool dispPos = false;
float yrot = 0.0f;
float pivot = 0.0f;
float xpos = 0.0f;
float ytrans = -2.34f;
float zpos = -45.0f;
float distBehindPlayer = 33.3f;
POINT mousePos = {WIDTH_CENTER, HEIGHT_CENTER};

void resetView() {
    pivot = 0.0f;
    yrot = 0.0f;
    xpos = 0.0f;
    ytrans = -2.34f;
    zpos = -45.0f;
}
