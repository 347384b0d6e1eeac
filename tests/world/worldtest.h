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

inline bool writeModel(const std::string& path, const std::vector<scenebuild::Mesh>& meshes) {
    scenebuild::Material flat;
    flat.name = "FLAT";
    return testdata::writeFile(path, scenebuild::scene({flat}, meshes));
}

struct MeshDir : testdata::ScratchDir {
    MeshDir() {
        std::error_code ec;
        if (!path().empty())
            std::filesystem::create_directories(file("mesh"), ec);
    }
};

} // namespace worldtest
