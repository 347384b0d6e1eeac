// Running every generator again gives byte-identical files.
#include "support/datafolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Generator {
    const char* program;
    std::vector<std::string> outputs;
};

const Generator kGenerators[] = {
    {TEXGEN_PATH, {"BG.bmp", "Star.bmp", "grass.bmp", "crowdred.bmp", "banner1.bmp", "sled.bmp"}},
    {MODELGEN_PATH, {"mesh/stadium.3ds", "mesh/goal.3ds", "mesh/player.3ds"}},
    {MUSICGEN_PATH, {"Music/music0.mp3", "Music/music1.mp3"}},
    {FONTGEN_PATH, {"times_new1.glf"}},
};

} // namespace

TEST(Determinism, EveryGeneratorWritesTheSameBytesOnEveryRun) {
    for (const Generator& g : kGenerators) {
        SCOPED_TRACE(g.program);
        testdata::ScratchDir dir;
        std::string cmd = std::string("'") + g.program + "' '" + dir.path() + "' > /dev/null";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
        for (const std::string& out : g.outputs) {
            std::vector<uint8_t> again, built;
            ASSERT_TRUE(testdata::readFile(testdata::dataPath(out), built)) << out;
            ASSERT_TRUE(testdata::readFile(dir.file(out), again)) << out;
            EXPECT_FALSE(built.empty()) << out;
            EXPECT_TRUE(again == built) << out << ": a second run wrote different bytes";
        }
    }
}
