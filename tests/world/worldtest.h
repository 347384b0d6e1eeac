// Shared scaffolding for the world tests: generated models in a scratch folder, a GL context,
// and fixtures that build an empty list or the whole game world.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "main/gameobject.h"
#include "platform/headless.h"

namespace worldtest {

struct ModelMesh {
    std::string name;
    std::vector<std::array<float, 3>> verts;
    std::vector<std::array<uint16_t, 3>> faces;
};

// Writes a .3ds file with one flat material and the given meshes; false if it cannot be written.
bool writeModel(const std::string& path, const std::vector<ModelMesh>& meshes);

// A small triangle around `centre` in the x-y plane (about 0.6 across).
ModelMesh triangleAt(const std::string& name, float cx, float cy, float cz);

// A scratch folder made the working directory for the object's lifetime.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    std::string previous_;
};

// Enters an existing folder and returns to the previous one on destruction.
class WorkingDir {
  public:
    WorkingDir() = default;
    ~WorkingDir();
    WorkingDir(const WorkingDir&) = delete;
    WorkingDir& operator=(const WorkingDir&) = delete;
    bool enter(const std::string& dir);

  private:
    std::string previous_;
};

// Writes the three game models (stadium, hoop, player) into mesh/ of the working directory.
void writeGameModels();

// Number of "COLLIDE" boxes shown since the last clear.
int collideBoxes();

bool finite3(const GameObject* obj);

// An empty object list with a GL context, in a scratch folder holding generated models.
class ListTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    headless::OffscreenGL gl;
    ScratchDir dir;
};

// The whole world as the game's start-up builds it, with the random generator seeded.
class WorldTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Moves every player far beyond any attack ball's reach.
    void parkPlayers();

    headless::OffscreenGL gl;
    ScratchDir dir;
};

} // namespace worldtest
