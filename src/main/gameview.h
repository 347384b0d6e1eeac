// The camera and head-up switches that survive from one game to the next.
#pragma once

#include "platform/platform.h"

// Screen point the cursor is put back to every frame in play; mouse look measures from it.
constexpr int WIDTH_CENTER = 320;
constexpr int HEIGHT_CENTER = 240;

extern bool dispPos;           // show the debug position text
extern float yrot;             // camera heading, degrees
extern float pivot;            // camera pitch, degrees
extern float xpos;             // free-camera translation x
extern float ytrans;           // camera translation y
extern float zpos;             // camera translation z
extern float distBehindPlayer; // added to zpos in the camera translation
extern POINT mousePos;         // last cursor position read

// Back to the start pose: no turn, no pitch, the eye at (0, -2.34, -45).
void resetView();
