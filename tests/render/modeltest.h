// Fixture for the model tests: a GL context, a scratch working folder for scene and texture files,
// and the scene database's error list cleared before each model is built.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/headless.h"
#include "render/maxmesh.h"
#include "scene3ds/scene3ds.h"
#include "support/bitmapbuilder.h"
#include "support/datafolder.h"
#include "support/scenebuilder.h"

namespace rendertest {

class ModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(gl_.ok());
        ASSERT_TRUE(cwd_.ok());
        headless::clearMessageBoxes();
        ClearErrList3ds();
    }

    // Writes the scene as `name` in the working folder and builds a model from it.
    std::unique_ptr<maxMesh> Load(const std::vector<scenebuild::Material>& materials,
                                  const std::vector<scenebuild::Mesh>& meshes,
                                  const char* name = "model.3ds") {
        EXPECT_TRUE(testdata::writeFile(name, scenebuild::scene(materials, meshes)));
        ClearErrList3ds();
        return std::make_unique<maxMesh>(name);
    }

    // A small 24-bit texture file in the working folder.
    void WriteTexture(const char* name, int w = 4, int h = 4) {
        ASSERT_TRUE(testdata::writeFile(name, bmpbuild::gradientFile(w, h)));
    }

    headless::OffscreenGL gl_;
    testdata::ScratchDir dir_;
    testdata::WorkingDir cwd_{dir_.path()};
};

} // namespace rendertest
