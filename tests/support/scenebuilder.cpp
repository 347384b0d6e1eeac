// .3ds scene files built over the chunk writer.
#include "support/scenebuilder.h"

#include "scene3ds/chunktags3ds.h"

namespace scenebuild {

namespace {

// A chunk of the items as `put` writes them, after their count when asked; none without items.
template <class T, class Put>
void list(ChunkWriter& w, uint16_t tag, const T& items, bool counted, Put put) {
    if (items.empty())
        return;
    chunk(w, tag, [&] {
        if (counted)
            w.u16(static_cast<uint16_t>(items.size()));
        for (const auto& item : items)
            put(item);
    });
}

void trimesh(ChunkWriter& w, const Mesh& m) {
    chunk(w, VERTEX_LIST, [&] {
        w.u16(static_cast<uint16_t>(m.verts.size()));
        for (const Vertex& v : m.verts)
            w.f32(v.x), w.f32(v.y), w.f32(v.z);
    });
    list(w, VERTEX_FLAG_LIST, m.vertexFlags, true, [&](uint16_t f) { w.u16(f); });
    list(w, TEXCOORD_LIST, m.uvs, true, [&](const auto& uv) { w.f32(uv[0]), w.f32(uv[1]); });
    beginFaces(w, m.faces);
    for (const Group& g : m.groups) {
        std::vector<uint16_t> faces = g.faces;
        for (size_t f = 0; g.everyFace && f < m.faces.size(); ++f)
            faces.push_back(static_cast<uint16_t>(f));
        chunk(w, FACE_MATERIAL_GROUP, [&] {
            w.string(g.material.c_str()), w.u16(static_cast<uint16_t>(faces.size()));
            for (uint16_t f : faces)
                w.u16(f);
        });
    }
    list(w, SMOOTHING_LIST, m.smoothing, false, [&](uint32_t s) { w.u32(s); });
    list(w, BOX_MAP_NAMES, m.boxMap, false, [&](const std::string& n) { w.string(n.c_str()); });
    w.end(); // face list
    list(w, LOCAL_MATRIX, m.localMatrix, false, [&](float v) { w.f32(v); });
    if (m.colorIndex >= 0)
        chunk(w, OBJECT_COLOR_INDEX, [&] { w.u8(static_cast<uint8_t>(m.colorIndex)); });
    if (!m.mapping.empty())
        chunk(w, MAPPING_INFO, [&] {
            w.u16(1); // the map type
            for (float v : m.mapping)
                w.f32(v);
        });
    if (!m.procName.empty())
        stringChunk(w, PROCEDURE_NAME, m.procName);
    list(w, PROCEDURE_DATA, m.procData, false, [&](uint8_t b) { w.u8(b); });
}

} // namespace

void rgb(ChunkWriter& w, uint16_t tag, uint8_t r, uint8_t g, uint8_t b) {
    chunk(w, tag, [&] { w.u8(r), w.u8(g), w.u8(b); });
}

void stringChunk(ChunkWriter& w, uint16_t tag, const std::string& s) {
    chunk(w, tag, [&] { w.string(s.c_str()); });
}

void colour(ChunkWriter& w, uint16_t container, const Rgb& c, bool alternate) {
    chunk(w, container, [&] {
        rgb(w, COLOR_BYTE, c[0], c[1], c[2]);
        if (alternate)
            rgb(w, COLOR_BYTE_ALT, c[2], c[1], c[0]);
    });
}

void percent(ChunkWriter& w, uint16_t container, int16_t value) {
    chunk(w, container, [&] { chunk(w, PERCENT_INT, [&] { w.i16(value); }); });
}

void beginFaces(ChunkWriter& w, const std::vector<Face>& faces) {
    w.begin(FACE_LIST), w.u16(static_cast<uint16_t>(faces.size()));
    for (const Face& f : faces)
        w.u16(f.a), w.u16(f.b), w.u16(f.c), w.u16(f.flags);
}

void material(ChunkWriter& w, const Material& m) {
    chunk(w, MATERIAL_BLOCK, [&] {
        stringChunk(w, MATERIAL_NAME, m.name);
        colour(w, MATERIAL_AMBIENT, m.ambient, m.extras);
        colour(w, MATERIAL_DIFFUSE, m.diffuse, m.extras);
        colour(w, MATERIAL_SPECULAR, m.specular, m.extras);
        percent(w, MATERIAL_SHININESS, m.shininess);
        if (m.extras) { // transparency as a float, a flag chunk, the shading mode
            chunk(w, 0xA050, [&] { chunk(w, PERCENT_FLOAT, [&] { w.f32(0.5f); }); });
            chunk(w, 0xA08A, [] {});
            chunk(w, 0xA100, [&] { w.u16(2); });
        }
        if (!m.texture.empty())
            chunk(w, MATERIAL_TEXTURE_MAP, [&] {
                chunk(w, PERCENT_INT, [&] { w.i16(100); });
                stringChunk(w, MAP_FILE_NAME, m.texture);
                if (m.extras) { // tiling bits, a scale and a tint
                    chunk(w, MAP_TILING, [&] { w.u16(0x0011); });
                    chunk(w, 0xA354, [&] { w.f32(2); });
                    rgb(w, 0xA360, 9, 8, 7);
                }
            });
        if (m.extras) { // a bump amount, reflection
            percent(w, 0xA230, 30);
            chunk(w, 0xA320, [&] { w.u16(5); });
            chunk(w, 0xA310, [&] { w.u16(0), w.i16(9), w.u32(1), w.u32(2); });
        }
    });
}

void mesh(ChunkWriter& w, const Mesh& m) {
    chunk(w, OBJECT_BLOCK, [&] {
        w.string(m.name.c_str());
        for (uint16_t flag : m.objectFlags)
            chunk(w, flag, [] {});
        chunk(w, TRIMESH_BLOCK, [&] { trimesh(w, m); });
    });
}

void keyframer(ChunkWriter& w, const std::vector<std::string>& nodes) {
    chunk(w, KEYFRAMER_BLOCK, [&] {
        for (size_t i = 0; i < nodes.size(); ++i)
            chunk(w, 0xB002, [&] { // object node
                chunk(w, NODE_ID, [&] { w.i16(static_cast<int16_t>(i)); });
                chunk(w, NODE_HEADER, [&] {
                    w.string(nodes[i].c_str()), w.u32(0), w.i16(static_cast<int16_t>(i - 1));
                });
            });
    });
}

std::vector<uint8_t> scene(const std::vector<Material>& materials, const std::vector<Mesh>& meshes,
                           const std::vector<std::string>& nodes) {
    ChunkWriter w;
    chunk(w, MESH_FILE, [&] {
        chunk(w, 0x0002, [&] { w.u32(3); }); // version
        chunk(w, EDITOR_BLOCK, [&] {
            for (const Material& m : materials)
                material(w, m);
            for (const Mesh& m : meshes)
                mesh(w, m);
        });
        if (!nodes.empty())
            keyframer(w, nodes);
    });
    return w.bytes();
}

Mesh cube(const std::string& name, const std::string& material) {
    Mesh m;
    m.name = name;
    for (int i = 0; i < 8; ++i)
        m.verts.push_back({(i & 1) ? 2.0f : 0.0f, (i & 2) ? 2.0f : 0.0f, (i & 4) ? 2.0f : 0.0f});
    // Each side a-b-c-d counter-clockwise from outside, as triangles (a, b, c) and (a, c, d).
    const uint16_t sides[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                  {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& s : sides)
        m.faces.insert(m.faces.end(), {{s[0], s[1], s[2]}, {s[0], s[2], s[3]}});
    if (!material.empty())
        m.groups.push_back(material);
    return m;
}

Mesh strip(const std::string& name, int n, const std::string& material) {
    Mesh m;
    m.name = name;
    for (int i = 0; i < n; ++i) {
        m.verts.push_back({float(i), float(2 * i), float(3 * i)});
        m.uvs.push_back({i / 10.0f, 1 - i / 10.0f});
    }
    for (int i = 0; i + 2 < n; ++i)
        m.faces.push_back({uint16_t(i), uint16_t(i + 1), uint16_t(i + 2)});
    m.groups.push_back(material);
    return m;
}

} // namespace scenebuild
