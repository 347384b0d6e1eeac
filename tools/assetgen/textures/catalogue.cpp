// Every texture file the game loads, with the painter that makes it.
#include "assetgen/textures/catalogue.h"
#include "assetgen/textures/painters.h"

namespace tex {

namespace {

Image crowdEmber() {
    return paintCrowd(EMBER_RED, EMBER_GOLD, 201u);
}
Image crowdStorm() {
    return paintCrowd(STORM_BLUE, STORM_SILVER, 202u);
}
Image crowdMixed() {
    return paintCrowd(EMBER_RED, STORM_BLUE, 203u);
}
Image roofEmber() {
    return paintRoofStripes(EMBER_RED);
}
Image roofStorm() {
    return paintRoofStripes(STORM_BLUE);
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
