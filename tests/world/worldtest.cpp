// World test scaffolding: model files through the chunk writer, the scratch folder, the fixture.
#include "worldtest.h"

#include <cstdlib>
#include <filesystem>

#include "main/world.h"
#include "platform/headless.h"
#include "scene3ds/chunktags3ds.h"
#include "scene3ds/chunkwriter.h"
#include "team/team.h"

namespace worldtest {

bool writeModel(const std::string& path, const std::vector<ModelMesh>& meshes) {
    const char* material = "FLAT";
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(EDITOR_BLOCK);
    w.begin(MATERIAL_BLOCK);
    w.begin(MATERIAL_NAME);
    w.string(material);
    w.end();
    w.end();
    for (const ModelMesh& m : meshes) {
        w.begin(OBJECT_BLOCK);
        w.string(m.name.c_str());
        w.begin(TRIMESH_BLOCK);
        w.begin(VERTEX_LIST);
        w.u16(static_cast<uint16_t>(m.verts.size()));
        for (const auto& v : m.verts) {
            w.f32(v[0]);
            w.f32(v[1]);
            w.f32(v[2]);
        }
        w.end();
        w.begin(FACE_LIST);
        w.u16(static_cast<uint16_t>(m.faces.size()));
        for (const auto& f : m.faces) {
            w.u16(f[0]);
            w.u16(f[1]);
            w.u16(f[2]);
            w.u16(7);
        }
        w.begin(FACE_MATERIAL_GROUP);
        w.string(material);
        w.u16(static_cast<uint16_t>(m.faces.size()));
        for (size_t i = 0; i < m.faces.size(); ++i) {
            w.u16(static_cast<uint16_t>(i));
        }
        w.end();
        w.end(); // faces
        w.end(); // trimesh
        w.end(); // object
    }
    w.end(); // editor
    w.end(); // file
    return w.writeFile(path);
}

ScratchDir::ScratchDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "hwworldXXXXXX").string();
    if (mkdtemp(templ.data()) != nullptr) {
        path_ = templ;
        std::filesystem::create_directories(path_ + "/mesh");
    }
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void World::SetUp() {
    ASSERT_TRUE(game.ok());
    // A wide floor, a hoop of two triangles, and a player wedge of four faces around its origin
    // (any ball centred on a player touches it).
    ASSERT_TRUE(writeModel("mesh/stadium.3ds",
                           {{"floor", {{-30, 0, -90}, {30, 0, -90}, {30, 0, 90}}, {{0, 1, 2}}}}));
    ASSERT_TRUE(writeModel(
        "mesh/goal.3ds",
        {{"hoop", {{-3, 20, 0}, {3, 20, 0}, {3, 27, 0}, {-3, 27, 0}}, {{0, 1, 2}, {0, 2, 3}}}}));
    ASSERT_TRUE(
        writeModel("mesh/player.3ds",
                   {{"body",
                     {{0, 0.5f, 0}, {-0.5f, -0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}, {0, -0.5f, -0.5f}},
                     {{0, 1, 2}, {0, 2, 3}, {0, 3, 1}, {1, 3, 2}}}}));
    game.start();
    headless::clearMessageBoxes();
    std::srand(1);
    for (int t = 0; t < 2; ++t) {
        for (int p = 0; p < NUM_PLAYERS_PER_TEAM; ++p) {
            place(t, p, -200.0f + 100.0f * static_cast<float>(2 * t + p), 300.0f, 300.0f);
        }
    }
}

void World::place(int side, int index, float x, float y, float z) {
    Player* p = team[side]->player[index];
    p->xpos = x;
    p->ypos = y;
    p->zpos = z;
}

} // namespace worldtest
