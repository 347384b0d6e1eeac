// A whole model (materials and meshes) and its encoding as a .3ds chunk file.
#include "assetgen/models/modelfile.h"

#include "scene3ds/chunktags3ds.h"
#include "scene3ds/chunkwriter.h"

namespace model {

namespace {

void colour(ChunkWriter& w, uint16_t container, Rgb c) {
    w.begin(container);
    w.begin(COLOR_BYTE);
    w.u8(c.r);
    w.u8(c.g);
    w.u8(c.b);
    w.end();
    w.end();
}

void material(ChunkWriter& w, const Material& m) {
    w.begin(MATERIAL_BLOCK);
    w.begin(MATERIAL_NAME);
    w.string(m.name.c_str());
    w.end();
    colour(w, MATERIAL_AMBIENT, m.ambient);
    colour(w, MATERIAL_DIFFUSE, m.diffuse);
    colour(w, MATERIAL_SPECULAR, m.specular);
    w.begin(MATERIAL_SHININESS);
    w.begin(PERCENT_INT);
    w.i16(m.shininessPercent);
    w.end();
    w.end();
    if (!m.texture.empty()) {
        w.begin(MATERIAL_TEXTURE_MAP);
        w.begin(PERCENT_INT);
        w.i16(100);
        w.end();
        w.begin(MAP_FILE_NAME);
        w.string(m.texture.c_str());
        w.end();
        w.end();
    }
    w.end();
}

void object(ChunkWriter& w, const Mesh& m) {
    w.begin(OBJECT_BLOCK);
    w.string(m.name.c_str());
    w.begin(TRIMESH_BLOCK);
    w.begin(VERTEX_LIST);
    w.u16(uint16_t(m.pos.size()));
    for (const Vec3& p : m.pos) {
        w.f32(p.x);
        w.f32(p.y);
        w.f32(p.z);
    }
    w.end();
    w.begin(TEXCOORD_LIST);
    w.u16(uint16_t(m.pos.size()));
    for (size_t i = 0; i < m.pos.size(); ++i) {
        w.f32(m.u[i]);
        w.f32(m.v[i]);
    }
    w.end();
    const uint16_t faces = uint16_t(m.triangles());
    w.begin(FACE_LIST);
    w.u16(faces);
    for (size_t i = 0; i < m.tri.size(); i += 3) {
        w.u16(m.tri[i]);
        w.u16(m.tri[i + 1]);
        w.u16(m.tri[i + 2]);
        w.u16(0x0007); // all three edges visible
    }
    w.begin(FACE_MATERIAL_GROUP);
    w.string(m.material.c_str());
    w.u16(faces);
    for (uint16_t f = 0; f < faces; ++f)
        w.u16(f);
    w.end();
    w.end();
    w.end();
    w.end();
}

} // namespace

size_t Model::triangles() const {
    size_t n = 0;
    for (const Mesh& m : meshes)
        n += m.triangles();
    return n;
}

Mesh& Model::mesh(const std::string& name, const std::string& materialName) {
    meshes.emplace_back(name, materialName);
    return meshes.back();
}

std::vector<uint8_t> encode3ds(const Model& m) {
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(EDITOR_BLOCK);
    for (const Material& mat : m.materials)
        material(w, mat);
    for (const Mesh& mesh : m.meshes)
        if (!mesh.tri.empty())
            object(w, mesh);
    w.end();
    w.end();
    return w.bytes();
}

bool write3ds(const std::string& path, const Model& m) {
    ChunkWriter w;
    std::vector<uint8_t> bytes = encode3ds(m);
    w.raw(bytes.data(), bytes.size());
    return w.writeFile(path);
}

} // namespace model
