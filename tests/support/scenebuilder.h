// .3ds scene files built from plain records over the chunk writer, for tests, benches and fuzzing.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "scene3ds/chunkwriter.h"

namespace scenebuild {

using Rgb = std::array<uint8_t, 3>;

struct Material {
    std::string name;
    Rgb ambient{}, diffuse{}, specular{};
    int16_t shininess = 0; // percent
    std::string texture;   // no texture map when empty
    bool extras = false;   // alternate colours, float percentages, map options, bump and reflection
};

struct Vertex {
    float x, y, z;
};

struct Face {
    uint16_t a, b, c, flags = 7; // flags: all three edges visible
    uint16_t operator[](int k) const { return k == 0 ? a : k == 1 ? b : c; }
};

// A material group: the faces listed, or (made from a bare name) every face of the mesh.
struct Group {
    std::string material;
    std::vector<uint16_t> faces;
    bool everyFace = false;
    Group(std::string name, std::vector<uint16_t> list)
        : material(std::move(name)), faces(std::move(list)) {}
    Group(const char* name) : material(name), everyFace(true) {}        // NOLINT
    Group(const std::string& name) : material(name), everyFace(true) {} // NOLINT
};

// Optional parts are written only when set.
struct Mesh {
    std::string name;
    std::vector<uint16_t> objectFlags, vertexFlags; // object flags: empty chunks (0x4010...) first
    std::vector<Vertex> verts;
    std::vector<std::array<float, 2>> uvs;
    std::vector<Face> faces;
    std::vector<Group> groups;
    std::vector<uint32_t> smoothing;
    std::vector<std::string> boxMap;         // six names
    std::vector<float> localMatrix, mapping; // twelve values; map type 1 and these 21 parameters
    int colorIndex = -1;
    std::string procName;
    std::vector<uint8_t> procData;
};

// One chunk whose contents `body` writes.
template <class Body> void chunk(ChunkWriter& w, uint16_t tag, Body body) {
    w.begin(tag), body(), w.end();
}
void rgb(ChunkWriter& w, uint16_t tag, uint8_t r, uint8_t g, uint8_t b);
void stringChunk(ChunkWriter& w, uint16_t tag, const std::string& s);
// A colour container (with the alternate colour, reversed, when asked); a percentage container.
void colour(ChunkWriter& w, uint16_t container, const Rgb& c, bool alternate = false);
void percent(ChunkWriter& w, uint16_t container, int16_t value);
// Opens a face list and writes its faces; the caller adds any subchunks and ends it.
void beginFaces(ChunkWriter& w, const std::vector<Face>& faces);
void material(ChunkWriter& w, const Material& m);
void mesh(ChunkWriter& w, const Mesh& m);
// A keyframer block of object nodes numbered in order; each node's parent is the one before it.
void keyframer(ChunkWriter& w, const std::vector<std::string>& nodes);
// A whole mesh file: version, materials, meshes, and keyframer nodes when named.
std::vector<uint8_t> scene(const std::vector<Material>& materials, const std::vector<Mesh>& meshes,
                           const std::vector<std::string>& nodes = {});

// A cube (0, 0, 0)-(2, 2, 2): 12 triangles counter-clockwise from outside, in the material's group.
Mesh cube(const std::string& name = "cube", const std::string& material = "");
// n vertices (i, 2i, 3i), texture coordinates (i/10, 1 - i/10), faces (i, i+1, i+2), one group.
Mesh strip(const std::string& name, int n, const std::string& material = "Mat");

} // namespace scenebuild
