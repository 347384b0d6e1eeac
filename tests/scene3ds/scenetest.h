// Fixture for the scene database tests: a scratch folder for scene files, the module's error
// list and open files reset around every test, and loading as the model loader does.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scene3ds/chunkwriter.h"
#include "scene3ds/scene3ds.h"
#include "support/datafolder.h"
#include "support/scenebuilder.h"

namespace scenetest {

inline std::vector<uint32_t> pendingErrors() {
    std::vector<uint32_t> out;
    const errrec3ds* list = ReturnErrorList3ds();
    for (int i = 0; i < ErrListOverflow3ds - 1 && list[i].id != NO_FTK_ERRORS; ++i)
        out.push_back(list[i].id);
    return out;
}

inline bool hasError(uint32_t code) {
    for (uint32_t c : pendingErrors())
        if (c == code)
            return true;
    return false;
}

class SceneTest : public ::testing::Test {
  protected:
    void SetUp() override { reset(); }
    void TearDown() override {
        CloseAllFiles3ds();
        reset();
    }
    ~SceneTest() override {
        for (database3ds* db : dbs_)
            ReleaseDatabase3ds(&db);
    }
    static void reset() {
        ignoreftkerr3ds = 0;
        ClearErrList3ds();
        ReturnErrorList3ds()[ErrListOverflow3ds].id = NO_FTK_ERRORS;
    }

    std::string write(const ChunkWriter& w, const std::string& name = "scene.3ds") {
        std::string path = dir.file(name);
        EXPECT_TRUE(w.writeFile(path));
        return path;
    }

    // Open, build, detach and close, as the model loader does.
    database3ds* load(const std::string& path) {
        file3ds* f = OpenFile3ds(path.c_str(), "r");
        database3ds* db = nullptr;
        InitDatabase3ds(&db);
        CreateDatabase3ds(f, db);
        DisconnectDatabase3ds(db);
        CloseFile3ds(f);
        dbs_.push_back(db);
        return db;
    }
    database3ds* load(const ChunkWriter& w) { return load(write(w)); }

    testdata::ScratchDir dir;

  private:
    std::vector<database3ds*> dbs_;
};

} // namespace scenetest
