// Fixture for model tests: a GL context, a scratch working folder for scene and texture files,
// and a scene database error list cleared before each model is built.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <unistd.h>

#include "platform/headless.h"
#include "render/maxmesh.h"
#include "render/scenebuilder.h"
#include "rendertestsupport.h"
#include "scene3ds/scene3ds.h"

namespace rendertest {

// Runs the test inside a folder, as the game runs inside its data folder.
class WorkingDir {
  public:
    explicit WorkingDir(const std::string& path) {
        char buf[4096];
        if (getcwd(buf, sizeof buf))
            previous_ = buf;
        ok_ = chdir(path.c_str()) == 0;
    }
    ~WorkingDir() {
        if (!previous_.empty() && chdir(previous_.c_str()) != 0)
            ADD_FAILURE() << "cannot return to " << previous_;
    }
    bool ok() const { return ok_; }

  private:
    std::string previous_;
    bool ok_ = false;
};

class ModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(gl_.ok());
        ASSERT_TRUE(cwd_.ok());
        headless::clearMessageBoxes();
        ClearErrList3ds();
    }

    // Writes the scene as `name` in the working folder and builds a model from it.
    std::unique_ptr<maxMesh> Load(const std::vector<scenetest::Material>& materials,
                                  const std::vector<scenetest::Mesh>& meshes,
                                  const char* name = "model.3ds") {
        EXPECT_TRUE(bmptest::WriteFile(name, scenetest::BuildScene(materials, meshes)));
        ClearErrList3ds();
        return std::make_unique<maxMesh>(name);
    }

    // A small 24-bit texture file in the working folder.
    void WriteTexture(const char* name, int w = 4, int h = 4) {
        bmptest::BmpLayout s;
        s.width = w;
        s.height = h;
        s.bits = bmptest::Pack24(w, h, false, bmptest::Gradient);
        ASSERT_TRUE(bmptest::WriteFile(name, bmptest::BuildBmp(s)));
    }

    headless::OffscreenGL gl_;
    ScratchDir dir_;
    WorkingDir cwd_{dir_.path()};
};

} // namespace rendertest
