// The picture area on the drawable and the pointer arithmetic of mouse look.
#include "platform/screenfit.h"

ViewArea pictureArea(int drawableWidth, int drawableHeight, bool keepShape) {
    const int w = drawableWidth < 1 ? 1 : drawableWidth;
    const int h = drawableHeight < 1 ? 1 : drawableHeight;
    if (!keepShape) {
        return ViewArea{0, 0, drawableWidth, h};
    }
    // 64-bit products: a 4:3 test on large displays must not overflow.
    if (static_cast<long long>(w) * 3 >= static_cast<long long>(h) * 4) {
        const int width = static_cast<int>(static_cast<long long>(h) * 4 / 3);
        return ViewArea{(w - width) / 2, 0, width, h};
    }
    const int height = static_cast<int>(static_cast<long long>(w) * 3 / 4);
    return ViewArea{0, (h - height) / 2, w, height < 1 ? 1 : height};
}

bool steerByMotion(bool canWarp, int windowWidth, int windowHeight, int x, int y) {
    return !canWarp || x < 0 || y < 0 || x >= windowWidth || y >= windowHeight;
}

void steerAnchor(MotionSteer& steer, int x, int y) {
    steer.anchor = POINT{x, y};
    steer.dx = 0;
    steer.dy = 0;
}

void steerMove(MotionSteer& steer, int dx, int dy) {
    steer.dx += dx;
    steer.dy += dy;
}

POINT steerCursor(const MotionSteer& steer) {
    return POINT{steer.anchor.x + steer.dx, steer.anchor.y + steer.dy};
}
