// Scaffolding for the world tests: model files written with the chunk writer, scratch folders,
// and the list and world fixtures.
#include "worldtest.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "cball/cball.h"
#include "main/world.h"
#include "player/player.h"
#include "scene3ds/chunktags3ds.h"
#include "scene3ds/errlist3ds.h"
#include "scene3ds/chunkwriter.h"
#include "shared/globals.h"
#include "team/team.h"

namespace worldtest {

namespace {
constexpr uint16_t FILE_VERSION = 0x0002;
constexpr uint16_t EDITOR_VERSION = 0x3D3E;
constexpr const char* MATERIAL = "FLAT";
} // namespace

bool writeModel(const std::string& path, const std::vector<ModelMesh>& meshes) {
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(FILE_VERSION);
    w.u32(3);
    w.end();
    w.begin(EDITOR_BLOCK);
    w.begin(EDITOR_VERSION);
    w.u32(3);
    w.end();

    w.begin(MATERIAL_BLOCK);
    w.begin(MATERIAL_NAME);
    w.string(MATERIAL);
    w.end();
    w.begin(MATERIAL_DIFFUSE);
    w.begin(COLOR_BYTE);
    w.u8(200);
    w.u8(120);
    w.u8(40);
    w.end();
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
        w.string(MATERIAL);
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

ModelMesh triangleAt(const std::string& name, float cx, float cy, float cz) {
    ModelMesh m;
    m.name = name;
    m.verts = {{cx - 0.3f, cy - 0.3f, cz}, {cx + 0.3f, cy - 0.3f, cz}, {cx, cy + 0.3f, cz}};
    m.faces = {{0, 1, 2}};
    return m;
}

ScratchDir::ScratchDir() {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) != nullptr) {
        previous_ = cwd;
    }
    std::string templ = (std::filesystem::temp_directory_path() / "hwworldXXXXXX").string();
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data()) != nullptr) {
        path_ = buf.data();
        std::filesystem::create_directories(path_ + "/mesh");
        if (chdir(path_.c_str()) != 0) {
            ADD_FAILURE() << "cannot enter " << path_;
        }
    } else {
        ADD_FAILURE() << "cannot make a scratch folder";
    }
}

ScratchDir::~ScratchDir() {
    if (!previous_.empty() && chdir(previous_.c_str()) != 0) {
        ADD_FAILURE() << "cannot return to " << previous_;
    }
    if (!path_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
}

bool WorkingDir::enter(const std::string& dir) {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) == nullptr) {
        return false;
    }
    previous_ = cwd;
    return chdir(dir.c_str()) == 0;
}

WorkingDir::~WorkingDir() {
    if (!previous_.empty() && chdir(previous_.c_str()) != 0) {
        ADD_FAILURE() << "cannot return to " << previous_;
    }
}

void writeGameModels() {
    // Stadium: a wide floor quad. Hoop: a ring-like pair of triangles. Player: a small wedge of
    // four faces around its origin, so any ball centred on a player touches it.
    ModelMesh floor{
        "floor", {{-30, 0, -90}, {30, 0, -90}, {30, 0, 90}, {-30, 0, 90}}, {{0, 1, 2}, {0, 2, 3}}};
    ModelMesh hoop{
        "hoop", {{-3, 20, 0}, {3, 20, 0}, {3, 27, 0}, {-3, 27, 0}}, {{0, 1, 2}, {0, 2, 3}}};
    ModelMesh body{"body",
                   {{0, 0.5f, 0}, {-0.5f, -0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}, {0, -0.5f, -0.5f}},
                   {{0, 1, 2}, {0, 2, 3}, {0, 3, 1}, {1, 3, 2}}};
    ASSERT_TRUE(writeModel("mesh/stadium.3ds", {floor}));
    ASSERT_TRUE(writeModel("mesh/goal.3ds", {hoop}));
    ASSERT_TRUE(writeModel("mesh/player.3ds", {body}));
}

int collideBoxes() {
    int n = 0;
    for (const auto& box : headless::messageBoxes()) {
        if (box.text == "COLLIDE") {
            ++n;
        }
    }
    return n;
}

bool finite3(const GameObject* obj) {
    return std::isfinite(obj->xpos) && std::isfinite(obj->ypos) && std::isfinite(obj->zpos);
}

namespace {
void resetWorldGlobals() {
    // The scene library's failure flag is sticky; a missing file in one test must not empty
    // every model of the next.
    ClearErrList3ds();
    GameObject::collideBoxSilenced = false;
    CBall::bounceCountdown = 5.0f;
    CBall::wanderTicks = 0;
    gameState = STATE_TEAM_SELECT;
    view = 0;
    PLAYER_TEAM_ID = 0;
    USE_LIGHTS = false;
    xoffset = 0.0f;
    yoffset = 0.0f;
    zoffset = 0.0f;
}
} // namespace

void ListTest::SetUp() {
    ASSERT_TRUE(gl.ok());
    headless::reset();
    resetWorldGlobals();
    writeGameModels();
    hoopwind = new GameManager;
}

void ListTest::TearDown() {
    delete hoopwind;
    hoopwind = nullptr;
}

void WorldTest::SetUp() {
    ASSERT_TRUE(gl.ok());
    headless::reset();
    resetWorldGlobals();
    writeGameModels();
    BuildWorld();
    headless::clearMessageBoxes();
    // Player construction draws random numbers for the trails; seed afterwards so the balls'
    // draws start from a known point.
    std::srand(1);
}

void WorldTest::TearDown() {
    DestroyWorld();
}

void WorldTest::parkPlayers() {
    for (int t = 0; t < 2; ++t) {
        for (int p = 0; p < NUM_PLAYERS_PER_TEAM; ++p) {
            Player* pl = team[t]->player[p];
            pl->xpos = -200.0f + 100.0f * static_cast<float>(2 * t + p);
            pl->ypos = 300.0f;
            pl->zpos = 300.0f;
        }
    }
}

} // namespace worldtest
