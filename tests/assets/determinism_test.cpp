// Running every generator again gives byte-identical files.
#include "assets/datafiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<char> bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

void rerunAndCompare(const char* generator, const std::vector<std::string>& outputs) {
    std::string dir = ::testing::TempDir();
    dir += "rerun_";
    dir += std::to_string(std::rand());
    std::string cmd = "'";
    cmd += generator;
    cmd += "' '";
    cmd += dir;
    cmd += "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    for (const std::string& out : outputs) {
        SCOPED_TRACE(out);
        std::vector<char> again = bytes(dir + "/" + out), built = bytes(assets::dataPath(out));
        ASSERT_FALSE(built.empty());
        EXPECT_TRUE(again == built) << "a second run wrote different bytes";
        std::remove((dir + "/" + out).c_str());
    }
}

} // namespace

TEST(Determinism, TexturesAreTheSameOnEveryRun) {
    rerunAndCompare(TEXGEN_PATH,
                    {"BG.bmp", "Star.bmp", "grass.bmp", "crowdred.bmp", "banner1.bmp", "sled.bmp"});
}

TEST(Determinism, ModelsAreTheSameOnEveryRun) {
    rerunAndCompare(MODELGEN_PATH, {"mesh/stadium.3ds", "mesh/goal.3ds", "mesh/player.3ds"});
}

TEST(Determinism, MusicIsTheSameOnEveryRun) {
    rerunAndCompare(MUSICGEN_PATH, {"Music/music0.mp3", "Music/music1.mp3"});
}
