// Single-material .3ds models in a scratch folder for the world tests.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/datafolder.h"
#include "support/scenebuilder.h"

namespace worldtest {

inline scenebuild::Mesh part(std::vector<scenebuild::Vertex> verts,
                             std::vector<scenebuild::Face> faces) {
    scenebuild::Mesh m;
    m.name = "part";
    m.verts = std::move(verts);
    m.faces = std::move(faces);
    m.groups = {"FLAT"};
    return m;
}

// Relative to the working folder (the game session's); the model's folders are made as needed.
inline bool writeModel(const std::string& path, const std::vector<scenebuild::Mesh>& meshes) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    scenebuild::Material flat;
    flat.name = "FLAT";
    return testdata::writeFile(path, scenebuild::scene({flat}, meshes));
}

} // namespace worldtest
