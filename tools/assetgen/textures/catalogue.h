// Every texture file the game loads, with the painter that makes it.
#pragma once

#include "assetgen/textures/image.h"

#include <vector>

namespace tex {

struct TextureDef {
    const char* file; // 8.3 name in the data folder's root
    Image (*paint)();
};

const std::vector<TextureDef>& textureCatalogue();

} // namespace tex
