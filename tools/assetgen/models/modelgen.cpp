// Writes the stadium, hoop and rider models into the data folder's "mesh" subfolder.
#include "assetgen/models/models.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <data folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/mesh";
    mkdir(argv[1], 0755);
    mkdir(folder.c_str(), 0755);
    struct Out {
        const char* file;
        model::Model (*build)();
    };
    const Out outs[] = {{"stadium.3ds", model::buildStadium},
                        {"goal.3ds", model::buildGoal},
                        {"player.3ds", model::buildPlayer}};
    for (const Out& o : outs) {
        std::string path = folder + "/" + o.file;
        if (!model::write3ds(path, o.build())) {
            std::fprintf(stderr, "modelgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
