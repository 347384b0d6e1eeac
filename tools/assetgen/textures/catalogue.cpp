// Every texture file the game loads, with the painter that makes it.
#include "assetgen/textures/catalogue.h"
#include "assetgen/textures/painters.h"

namespace tex {

namespace {

Image crowdEmber() {
    return paintCrowd(EMBER_ORANGE, EMBER_CHARCOAL, 201u);
}
Image crowdStorm() {
    return paintCrowd(STORM_SLATE, STORM_WHITE, 202u);
}
Image crowdMixed() {
    return paintCrowd(EMBER_ORANGE, STORM_SLATE, 203u);
}
Image roofEmber() {
    return paintRoofStripes(EMBER_ORANGE);
}
Image roofStorm() {
    return paintRoofStripes(STORM_SLATE);
}

} // namespace

const std::vector<TextureDef>& textureCatalogue() {
    static const std::vector<TextureDef> list = {
        {"BG.bmp", paintSplash},           {"Star.bmp", paintStar},
        {"grass.bmp", paintGrass},         {"crowdred.bmp", crowdEmber},
        {"crowdblu.bmp", crowdStorm},      {"crowdmix.bmp", crowdMixed},
        {"stone.bmp", paintStone},         {"wood.bmp", paintWood},
        {"roofred.bmp", roofEmber},        {"roofblu.bmp", roofStorm},
        {"banner1.bmp", paintEmberBanner}, {"banner2.bmp", paintStormBanner},
        {"brass.bmp", paintHoopMetal},     {"cloth.bmp", paintCloth},
        {"sled.bmp", paintSled},
    };
    return list;
}

} // namespace tex
