// The camera and head-up switches that survive from one game to the next.
#pragma once

#include "platform/platform.h"

// Screen point the cursor is put back to every frame in play; mouse look measures from it.
constexpr int WIDTH_CENTER = 320;
constexpr int HEIGHT_CENTER = 240;

// The camera's start pose: the eye at (0, START_YTRANS, START_ZPOS), this far behind the player.
constexpr float START_YTRANS = -2.34f;
constexpr float START_ZPOS = -45.0f;
constexpr float START_DIST_BEHIND_PLAYER = 33.3f;

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
