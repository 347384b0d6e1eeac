// A whole model (materials and meshes) and its encoding as a .3ds chunk file.
#pragma once

#include "assetgen/models/meshbuilder.h"

#include <cstdint>
#include <string>
#include <deque>
#include <vector>

namespace model {

struct Rgb {
    uint8_t r, g, b;
};

struct Material {
    std::string name; // at most 16 characters
    Rgb ambient, diffuse, specular;
    int16_t shininessPercent;
    std::string texture; // 8.3 file name in the data folder root, or empty
};

struct Model {
    std::vector<Material> materials;
    std::deque<Mesh> meshes; // references stay valid while meshes are added
    size_t triangles() const;
    Mesh& mesh(const std::string& name, const std::string& material);
};

// Only chunks the game's readers handle: byte colours, integer percentages, map file names,
// vertex, texture-coordinate and face lists, one material group per mesh.
std::vector<uint8_t> encode3ds(const Model& m);
bool write3ds(const std::string& path, const Model& m);

} // namespace model
