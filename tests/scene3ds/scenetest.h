// Fixture for the scene database tests: a scratch folder, the module's error list and open files
// reset around every test, and loading as the model loader does.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scene3ds/scene3ds.h"
#include "support/datafolder.h"
#include "support/scenebuilder.h"

namespace scenetest {

using scenebuild::chunk;

inline std::vector<uint32_t> pendingErrors() {
    std::vector<uint32_t> out;
    const errrec3ds* list = ReturnErrorList3ds();
    for (int i = 0; i < ErrListOverflow3ds - 1 && list[i].id != NO_FTK_ERRORS; ++i)
        out.push_back(list[i].id);
    return out;
}

// A mesh file whose editor block holds what `body` writes; chunks it leaves open are closed.
template <class Body> ChunkWriter editor(Body body) {
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(EDITOR_BLOCK);
    body(w);
    while (w.depth() > 0)
        w.end();
    return w;
}

class SceneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ignoreftkerr3ds = 0;
        ClearErrList3ds();
        ReturnErrorList3ds()[ErrListOverflow3ds].id = NO_FTK_ERRORS;
    }
    void TearDown() override {
        for (database3ds* db : dbs_)
            ReleaseDatabase3ds(&db);
        CloseAllFiles3ds();
        SetUp();
    }
    std::string write(const ChunkWriter& w, const std::string& name = "scene.3ds") {
        EXPECT_TRUE(w.writeFile(dir.file(name)));
        return dir.file(name);
    }
    // Builds; then detaches and closes the file as the model loader does, or leaves it open for
    // reading on demand.
    database3ds* load(const ChunkWriter& w, bool detach = true) {
        file3ds* f = OpenFile3ds(write(w, "s" + std::to_string(dbs_.size()) + ".3ds").c_str(), "r");
        dbs_.push_back(nullptr);
        InitDatabase3ds(&dbs_.back());
        CreateDatabase3ds(f, dbs_.back());
        if (detach) {
            DisconnectDatabase3ds(dbs_.back());
            CloseFile3ds(f);
        }
        return dbs_.back();
    }
    testdata::ScratchDir dir;

  private:
    std::vector<database3ds*> dbs_;
};

} // namespace scenetest
