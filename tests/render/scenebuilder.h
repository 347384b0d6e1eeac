// .3ds scene files with materials and meshes, written with the chunk writer for the model tests
// and benches.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "scene3ds/chunkwriter.h"

namespace scenetest {

struct Material {
    std::string name;
    std::array<uint8_t, 3> ambient{0, 0, 0};
    std::array<uint8_t, 3> diffuse{0, 0, 0};
    std::array<uint8_t, 3> specular{0, 0, 0};
    int16_t shininessPercent = 0;
    std::string texFile; // no texture map chunk when empty
};

struct Vertex {
    float x, y, z;
};

struct Mesh {
    std::string name;
    std::vector<Vertex> verts;
    std::vector<std::array<float, 2>> uvs; // no texture-coordinate chunk when empty
    std::vector<std::array<uint16_t, 3>> faces;
    std::vector<std::string> groups; // material groups, each listing every face
};

inline void Colour(ChunkWriter& w, uint16_t tag, const std::array<uint8_t, 3>& c) {
    w.begin(tag);
    w.begin(0x0011);
    w.u8(c[0]);
    w.u8(c[1]);
    w.u8(c[2]);
    w.end();
    w.end();
}

inline void WriteMaterial(ChunkWriter& w, const Material& m) {
    w.begin(0xAFFF);
    w.begin(0xA000);
    w.string(m.name.c_str());
    w.end();
    Colour(w, 0xA010, m.ambient);
    Colour(w, 0xA020, m.diffuse);
    Colour(w, 0xA030, m.specular);
    w.begin(0xA040);
    w.begin(0x0030);
    w.i16(m.shininessPercent);
    w.end();
    w.end();
    if (!m.texFile.empty()) {
        w.begin(0xA200);
        w.begin(0xA300);
        w.string(m.texFile.c_str());
        w.end();
        w.end();
    }
    w.end();
}

inline void WriteMesh(ChunkWriter& w, const Mesh& m) {
    w.begin(0x4000);
    w.string(m.name.c_str());
    w.begin(0x4100);
    w.begin(0x4110);
    w.u16(static_cast<uint16_t>(m.verts.size()));
    for (const Vertex& v : m.verts) {
        w.f32(v.x);
        w.f32(v.y);
        w.f32(v.z);
    }
    w.end();
    if (!m.uvs.empty()) {
        w.begin(0x4140);
        w.u16(static_cast<uint16_t>(m.uvs.size()));
        for (const auto& uv : m.uvs) {
            w.f32(uv[0]);
            w.f32(uv[1]);
        }
        w.end();
    }
    w.begin(0x4120);
    w.u16(static_cast<uint16_t>(m.faces.size()));
    for (const auto& f : m.faces) {
        w.u16(f[0]);
        w.u16(f[1]);
        w.u16(f[2]);
        w.u16(0x0007);
    }
    for (const std::string& g : m.groups) {
        w.begin(0x4130);
        w.string(g.c_str());
        w.u16(static_cast<uint16_t>(m.faces.size()));
        for (size_t i = 0; i < m.faces.size(); ++i)
            w.u16(static_cast<uint16_t>(i));
        w.end();
    }
    w.end(); // face list
    w.end(); // triangle mesh
    w.end(); // object
}

inline std::vector<uint8_t> BuildScene(const std::vector<Material>& materials,
                                       const std::vector<Mesh>& meshes) {
    ChunkWriter w;
    w.begin(0x4D4D);
    w.begin(0x0002);
    w.u32(3);
    w.end();
    w.begin(0x3D3D);
    for (const Material& m : materials)
        WriteMaterial(w, m);
    for (const Mesh& m : meshes)
        WriteMesh(w, m);
    w.end();
    w.end();
    return w.bytes();
}

// A cube of side 2 from (0, 0, 0) to (2, 2, 2), its 12 triangles counter-clockwise as seen from
// outside.
inline Mesh Cube(const std::string& name = "cube") {
    Mesh m;
    m.name = name;
    for (int i = 0; i < 8; ++i)
        m.verts.push_back({(i & 1) ? 2.0f : 0.0f, (i & 2) ? 2.0f : 0.0f, (i & 4) ? 2.0f : 0.0f});
    // Each side as two triangles (a, b, c) and (a, c, d), a-b-c-d counter-clockwise from outside.
    const uint16_t sides[6][4] = {
        {0, 2, 3, 1}, // z = 0, seen from -z
        {4, 5, 7, 6}, // z = 2
        {0, 1, 5, 4}, // y = 0
        {2, 6, 7, 3}, // y = 2
        {0, 4, 6, 2}, // x = 0
        {1, 3, 7, 5}, // x = 2
    };
    for (const auto& s : sides) {
        m.faces.push_back({s[0], s[1], s[2]});
        m.faces.push_back({s[0], s[2], s[3]});
    }
    return m;
}

} // namespace scenetest
