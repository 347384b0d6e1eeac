// Scaffolding for the world tests: small models written with the scene database's chunk writer
// into a scratch folder, and the whole world built on them through the game session.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/gamesession.h"

namespace worldtest {

struct ModelMesh {
    std::string name;
    std::vector<std::array<float, 3>> verts;
    std::vector<std::array<uint16_t, 3>> faces;
};

// Writes a .3ds file with one flat material and the given meshes; false if it cannot be written.
bool writeModel(const std::string& path, const std::vector<ModelMesh>& meshes);

// A scratch folder with a mesh/ subfolder, removed with everything in it on destruction.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// The world as the game builds it, on a floor, hoop rings and small player wedges (no pictures,
// no music), the random generator seeded after the build and every player parked out of reach.
class World : public ::testing::Test {
  protected:
    void SetUp() override;
    // Puts a player at a place.
    static void place(int side, int index, float x, float y, float z);

    ScratchDir dir;
    hwtest::GameSession game{dir.path()};
};

} // namespace worldtest
