// A detach that fails half-way must not leave chunks tied to the file slot that closing frees.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "scene3ds/chunkwriter.h"
#include "scene3ds/scene3ds.h"

namespace {

class ScratchDir {
  public:
    ScratchDir() {
        char tmpl[] = "/tmp/hw-detach-XXXXXX";
        const char* made = mkdtemp(tmpl);
        path_ = made ? made : "";
    }
    ~ScratchDir() {
        std::error_code ec;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string file(const char* name) const { return path_ + "/" + name; }
    bool ok() const { return !path_.empty(); }

  private:
    std::string path_;
};

void object(ChunkWriter& w, const char* name, uint16_t claimed, float first) {
    w.begin(OBJECT_BLOCK);
    w.string(name);
    w.begin(TRIMESH_BLOCK);
    w.begin(VERTEX_LIST);
    w.u16(claimed);
    for (int i = 0; i < 3; ++i) {
        w.f32(first + i);
        w.f32(first + 10 + i);
        w.f32(first + 20 + i);
    }
    w.end();
    w.end();
    w.end();
}

// "Broken" claims more vertices than its list holds, so reading it fails; "Whole" comes after it
// in the file and is only read if the detach goes on past the failure.
ChunkWriter scene(float wholeFirst) {
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(EDITOR_BLOCK);
    object(w, "Broken", 40, 0);
    object(w, "Whole", 3, wholeFirst);
    w.end();
    w.end();
    return w;
}

TEST(DetachTest, FailedDetachNeverReadsTheNextFileInTheSameSlot) {
    CloseAllFiles3ds();
    ClearErrList3ds();
    ignoreftkerr3ds = 0;
    ScratchDir dir;
    ASSERT_TRUE(dir.ok());
    const std::string mine = dir.file("mine.3ds");
    const std::string theirs = dir.file("theirs.3ds");
    ASSERT_TRUE(scene(1).writeFile(mine));
    ASSERT_TRUE(scene(500).writeFile(theirs));

    file3ds* f = OpenFile3ds(mine.c_str(), "r");
    ASSERT_NE(f, nullptr);
    database3ds* db = nullptr;
    InitDatabase3ds(&db);
    CreateDatabase3ds(f, db);
    ASSERT_EQ(ftkerr3ds, 0);
    DisconnectDatabase3ds(db);
    EXPECT_EQ(ftkerr3ds, 1); // the broken vertex list was reported
    CloseFile3ds(f);

    // The caller clears the list and carries on; another file now takes the freed slot.
    ClearErrList3ds();
    file3ds* other = OpenFile3ds(theirs.c_str(), "r");
    ASSERT_NE(other, nullptr);
    mesh3ds* mesh = nullptr;
    GetMeshByName3ds(db, "Whole", &mesh);
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(mesh->vertexcount, 3);
    EXPECT_EQ(mesh->vertices[0].x, 1.0f);
    EXPECT_EQ(mesh->vertices[2].z, 23.0f);
    RelMeshObj3ds(&mesh);

    ReleaseDatabase3ds(&db);
    CloseAllFiles3ds();
    ClearErrList3ds();
}

} // namespace
