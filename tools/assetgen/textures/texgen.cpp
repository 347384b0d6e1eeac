// Writes every texture, the splash "BG.bmp" and the sprite "Star.bmp" into a data folder.
#include "assetgen/textures/catalogue.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <data folder>\n", argv[0]);
        return 2;
    }
    mkdir(argv[1], 0755);
    for (const tex::TextureDef& def : tex::textureCatalogue()) {
        std::string path = std::string(argv[1]) + "/" + def.file;
        if (!tex::writeBmp(path, def.paint())) {
            std::fprintf(stderr, "texgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
