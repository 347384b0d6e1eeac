// Painters of the game's textures, each returning a finished picture.
#pragma once

#include "assetgen/textures/image.h"

namespace tex {

// Team colours used across stands, roofs and banners.
extern const Color EMBER_ORANGE, EMBER_CHARCOAL, STORM_SLATE, STORM_WHITE;

// Draws a filled polygon (points in pixel units) with a soft one-pixel edge.
void fillPolygon(Image& img, const float* xy, int points, Color c);

Image paintGrass();
Image paintCrowd(Color teamA, Color teamB, uint32_t seed);
Image paintStone();
Image paintWood();
Image paintRoofStripes(Color team);
Image paintEmberBanner();
Image paintStormBanner();
Image paintHoopMetal();
Image paintCloth();
Image paintSled();
Image paintSplash();
Image paintStar();

} // namespace tex
