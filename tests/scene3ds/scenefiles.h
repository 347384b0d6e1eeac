// Test support for the scene database: temporary folders, scene files built with ChunkWriter,
// and a fixture that resets the module's error list and open files around every test.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "scene3ds/chunkwriter.h"
#include "scene3ds/scene3ds.h"

namespace scenetest {

class TempDir {
  public:
    TempDir() {
        char tmpl[] = "/tmp/hw-scene3ds-XXXXXX";
        const char* made = mkdtemp(tmpl);
        path_ = made ? made : "/tmp";
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }
    std::vector<std::string> entries() const {
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(path_))
            out.push_back(e.path().filename().string());
        return out;
    }

  private:
    std::string path_;
};

inline std::vector<uint32_t> pendingErrors() {
    std::vector<uint32_t> out;
    const errrec3ds* list = ReturnErrorList3ds();
    for (int i = 0; i < ErrListOverflow3ds - 1 && list[i].id != NO_FTK_ERRORS; ++i)
        out.push_back(list[i].id);
    return out;
}

inline bool hasError(uint32_t code) {
    for (uint32_t c : pendingErrors()) {
        if (c == code)
            return true;
    }
    return false;
}

class SceneTest : public ::testing::Test {
  protected:
    void SetUp() override { reset(); }
    void TearDown() override {
        CloseAllFiles3ds();
        reset();
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

    ~SceneTest() override {
        for (database3ds* db : dbs_)
            ReleaseDatabase3ds(&db);
    }

    TempDir dir;

  private:
    std::vector<database3ds*> dbs_;
};

// Scene writing helpers. Each writes complete chunks into w.
inline void vertexList(ChunkWriter& w, const std::vector<point3ds>& v) {
    w.begin(VERTEX_LIST);
    w.u16(static_cast<uint16_t>(v.size()));
    for (const point3ds& p : v) {
        w.f32(p.x);
        w.f32(p.y);
        w.f32(p.z);
    }
    w.end();
}

inline void texCoords(ChunkWriter& w, const std::vector<textvert3ds>& t) {
    w.begin(TEXCOORD_LIST);
    w.u16(static_cast<uint16_t>(t.size()));
    for (const textvert3ds& p : t) {
        w.f32(p.u);
        w.f32(p.v);
    }
    w.end();
}

inline void faceGroup(ChunkWriter& w, const char* material, const std::vector<uint16_t>& faces) {
    w.begin(FACE_MATERIAL_GROUP);
    w.string(material);
    w.u16(static_cast<uint16_t>(faces.size()));
    for (uint16_t f : faces)
        w.u16(f);
    w.end();
}

// Opens a face list and writes its faces; the caller adds subchunks and calls w.end().
inline void beginFaces(ChunkWriter& w, const std::vector<face3ds>& faces) {
    w.begin(FACE_LIST);
    w.u16(static_cast<uint16_t>(faces.size()));
    for (const face3ds& f : faces) {
        w.u16(f.v1);
        w.u16(f.v2);
        w.u16(f.v3);
        w.u16(f.flag);
    }
}

// A named object holding a small triangle mesh: n vertices (i, 2i, 3i), texture coordinates
// (i/10, 1 - i/10), faces (i, i+1, i+2) and one material group of all faces.
inline void simpleMesh(ChunkWriter& w, const char* name, int n, const char* material = "Mat") {
    w.begin(OBJECT_BLOCK);
    w.string(name);
    w.begin(TRIMESH_BLOCK);
    std::vector<point3ds> v;
    std::vector<textvert3ds> t;
    for (int i = 0; i < n; ++i) {
        v.push_back({float(i), float(2 * i), float(3 * i)});
        t.push_back({i / 10.0f, 1 - i / 10.0f});
    }
    vertexList(w, v);
    texCoords(w, t);
    std::vector<face3ds> f;
    std::vector<uint16_t> all;
    for (int i = 0; i + 2 < n; ++i) {
        f.push_back({uint16_t(i), uint16_t(i + 1), uint16_t(i + 2), 7});
        all.push_back(uint16_t(i));
    }
    beginFaces(w, f);
    faceGroup(w, material, all);
    w.end();
    w.end();
    w.end();
}

inline void colorChunk(ChunkWriter& w, uint16_t container, uint8_t r, uint8_t g, uint8_t b) {
    w.begin(container);
    w.begin(COLOR_BYTE);
    w.u8(r);
    w.u8(g);
    w.u8(b);
    w.end();
    w.end();
}

inline void percentChunk(ChunkWriter& w, uint16_t container, int16_t value) {
    w.begin(container);
    w.begin(PERCENT_INT);
    w.i16(value);
    w.end();
    w.end();
}

// A material block with name, the three colours, shininess and a texture map.
inline void simpleMaterial(ChunkWriter& w, const char* name, const char* texture = nullptr) {
    w.begin(MATERIAL_BLOCK);
    w.begin(MATERIAL_NAME);
    w.string(name);
    w.end();
    colorChunk(w, MATERIAL_AMBIENT, 10, 20, 30);
    colorChunk(w, MATERIAL_DIFFUSE, 255, 128, 0);
    colorChunk(w, MATERIAL_SPECULAR, 0, 0, 255);
    percentChunk(w, MATERIAL_SHININESS, 25);
    if (texture) {
        w.begin(MATERIAL_TEXTURE_MAP);
        w.begin(PERCENT_INT);
        w.i16(100);
        w.end();
        w.begin(MAP_FILE_NAME);
        w.string(texture);
        w.end();
        w.end();
    }
    w.end();
}

} // namespace scenetest
