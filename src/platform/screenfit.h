// Where the game's picture goes on the drawable, and how mouse look reads the pointer: pure
// arithmetic shared by the platform implementations and the shell, free of any display library.
#pragma once

#include "platform/platform.h"

// A rectangle of drawable (device) pixels, origin at the bottom left as GL counts.
struct ViewArea {
    int x;
    int y;
    int width;
    int height;
};

// The area the picture is drawn in. A window shows it over the whole drawable (a height of 0
// counts as 1); full screen keeps the 640 x 480 picture's shape: the largest centred 4:3 area,
// with bars on the two sides that are left over.
ViewArea pictureArea(int drawableWidth, int drawableHeight, bool keepShape);

// Mouse look: the game puts the pointer at a point every frame and reads how far it went. Where
// the pointer cannot be put there (the display server refuses warping, or the point lies outside
// a small window) the game is handed that point plus the relative motion since it set it.
bool steerByMotion(bool canWarp, int windowWidth, int windowHeight, int x, int y);

struct MotionSteer {
    POINT anchor = {320, 240};
    long dx = 0;
    long dy = 0;
};
void steerAnchor(MotionSteer& steer, int x, int y); // the game's SetCursorPos
void steerMove(MotionSteer& steer, int dx, int dy); // one relative motion event
POINT steerCursor(const MotionSteer& steer);        // what the game's GetCursorPos reads
