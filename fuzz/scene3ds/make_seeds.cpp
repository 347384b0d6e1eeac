// Writes the scene database fuzz seeds into a folder: small but complete scenes made with the
// scene builder (meshes with every optional part, materials with maps, a material library,
// keyframer nodes and extension data).
#include <cstdio>
#include <string>

#include "scene3ds/chunktags3ds.h"
#include "support/scenebuilder.h"

namespace {

scenebuild::Mesh fullMesh(const char* name, int n, const char* material) {
    scenebuild::Mesh m;
    m.name = name;
    m.objectFlags = {0x4010};
    for (int i = 0; i < n; ++i) {
        m.verts.push_back({float(i), float(i * i), -float(i)});
        m.uvs.push_back({i * 0.25f, 1 - i * 0.25f});
    }
    m.vertexFlags = {3};
    for (int i = 0; i + 2 < n; ++i) {
        m.faces.push_back({uint16_t(i), uint16_t(i + 1), uint16_t(i + 2)});
        m.smoothing.push_back(1u << i);
    }
    m.groups.push_back(material);
    m.boxMap.assign(6, material);
    for (int i = 0; i < 12; ++i)
        m.localMatrix.push_back(i % 4 == 0 ? 1.0f : 0.0f);
    m.colorIndex = 3;
    m.mapping.assign(21, 1.0f);
    m.procName = "proc";
    m.procData = {0xEF, 0xBE, 0xAD, 0xDE};
    return m;
}

scenebuild::Material fullMaterial(const char* name, const char* texture) {
    scenebuild::Material m;
    m.name = name;
    m.ambient = m.diffuse = m.specular = {200, 100, 50};
    m.shininess = 40;
    m.texture = texture;
    m.extras = true;
    return m;
}

bool save(const ChunkWriter& w, const std::string& dir, const char* name) {
    bool ok = w.writeFile(dir + "/" + name);
    if (!ok)
        std::fprintf(stderr, "cannot write %s/%s\n", dir.c_str(), name);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <seed-folder>\n", argv[0]);
        return 2;
    }
    std::string dir = argv[1];
    bool ok = true;

    ChunkWriter scene;
    scene.begin(MESH_FILE);
    scene.begin(0x0002);
    scene.u32(3);
    scene.end();
    scene.begin(EDITOR_BLOCK);
    scenebuild::material(scene, fullMaterial("Skin", "skin.bmp"));
    scenebuild::material(scene, fullMaterial("Cloth", "cloth.bmp"));
    scenebuild::mesh(scene, fullMesh("Body", 5, "Skin"));
    scenebuild::mesh(scene, fullMesh("Cape", 4, "Cloth"));
    scene.begin(OBJECT_BLOCK);
    scene.string("Lamp");
    scene.begin(0x4600); // a light
    scene.f32(0);
    scene.f32(1);
    scene.f32(2);
    scene.end();
    scene.end();
    scene.end();
    scenebuild::keyframer(scene, {"Body", "Arm"});
    scene.end();
    ok = save(scene, dir, "scene.3ds") && ok;

    ChunkWriter project;
    project.begin(PROJECT_FILE);
    project.begin(EDITOR_BLOCK);
    scenebuild::mesh(project, fullMesh("Hoop", 3, "Gold"));
    project.end();
    project.begin(EXTENSION_DATA);
    project.begin(0x8002);
    project.begin(0x8003);
    project.u32(1);
    project.end();
    project.end();
    project.end();
    project.end();
    ok = save(project, dir, "project.3ds") && ok;

    ChunkWriter library;
    library.begin(MATERIAL_FILE);
    scenebuild::material(library, fullMaterial("Gold", "gold.bmp"));
    scenebuild::material(library, fullMaterial("Silver", "silver.bmp"));
    library.end();
    ok = save(library, dir, "library.3ds") && ok;

    ChunkWriter tiny;
    tiny.begin(MESH_FILE);
    tiny.begin(EDITOR_BLOCK);
    scenebuild::mesh(tiny, scenebuild::strip("T", 3, "M"));
    tiny.end();
    tiny.end();
    ok = save(tiny, dir, "tiny.3ds") && ok;

    return ok ? 0 : 1;
}
