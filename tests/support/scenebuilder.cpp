// .3ds scene files built over the chunk writer.
#include "support/scenebuilder.h"

#include "scene3ds/chunktags3ds.h"

namespace scenebuild {

void colour(ChunkWriter& w, uint16_t container, const Rgb& c, bool alternate) {
    w.begin(container);
    w.begin(COLOR_BYTE);
    w.u8(c[0]);
    w.u8(c[1]);
    w.u8(c[2]);
    w.end();
    if (alternate) {
        w.begin(COLOR_BYTE_ALT);
        w.u8(c[2]);
        w.u8(c[1]);
        w.u8(c[0]);
        w.end();
    }
    w.end();
}

void percent(ChunkWriter& w, uint16_t container, int16_t value) {
    w.begin(container);
    w.begin(PERCENT_INT);
    w.i16(value);
    w.end();
    w.end();
}

void vertices(ChunkWriter& w, const std::vector<Vertex>& verts) {
    w.begin(VERTEX_LIST);
    w.u16(static_cast<uint16_t>(verts.size()));
    for (const Vertex& v : verts) {
        w.f32(v.x);
        w.f32(v.y);
        w.f32(v.z);
    }
    w.end();
}

void texCoords(ChunkWriter& w, const std::vector<std::array<float, 2>>& uvs) {
    w.begin(TEXCOORD_LIST);
    w.u16(static_cast<uint16_t>(uvs.size()));
    for (const auto& uv : uvs) {
        w.f32(uv[0]);
        w.f32(uv[1]);
    }
    w.end();
}

void beginFaces(ChunkWriter& w, const std::vector<Face>& faces) {
    w.begin(FACE_LIST);
    w.u16(static_cast<uint16_t>(faces.size()));
    for (const Face& f : faces) {
        w.u16(f.a);
        w.u16(f.b);
        w.u16(f.c);
        w.u16(f.flags);
    }
}

namespace {

void materialExtras(ChunkWriter& w) {
    w.begin(0xA050); // transparency as a float percentage
    w.begin(PERCENT_FLOAT);
    w.f32(0.5f);
    w.end();
    w.end();
    w.begin(0xA08A); // a flag chunk
    w.end();
    w.begin(0xA100); // shading
    w.u16(2);
    w.end();
}

void mapExtras(ChunkWriter& w) {
    w.begin(MAP_TILING);
    w.u16(0x0011);
    w.end();
    w.begin(0xA354);
    w.f32(2);
    w.end();
    w.begin(0xA360);
    w.u8(9);
    w.u8(8);
    w.u8(7);
    w.end();
}

void trimesh(ChunkWriter& w, const Mesh& m) {
    w.begin(TRIMESH_BLOCK);
    vertices(w, m.verts);
    if (!m.vertexFlags.empty()) {
        w.begin(VERTEX_FLAG_LIST);
        w.u16(static_cast<uint16_t>(m.vertexFlags.size()));
        for (uint16_t f : m.vertexFlags)
            w.u16(f);
        w.end();
    }
    if (!m.uvs.empty())
        texCoords(w, m.uvs);
    beginFaces(w, m.faces);
    for (const Group& g : m.groups) {
        w.begin(FACE_MATERIAL_GROUP);
        w.string(g.material.c_str());
        if (g.everyFace) {
            w.u16(static_cast<uint16_t>(m.faces.size()));
            for (size_t f = 0; f < m.faces.size(); ++f)
                w.u16(static_cast<uint16_t>(f));
        } else {
            w.u16(static_cast<uint16_t>(g.faces.size()));
            for (uint16_t f : g.faces)
                w.u16(f);
        }
        w.end();
    }
    if (!m.smoothing.empty()) {
        w.begin(SMOOTHING_LIST);
        for (uint32_t s : m.smoothing)
            w.u32(s);
        w.end();
    }
    if (!m.boxMap.empty()) {
        w.begin(BOX_MAP_NAMES);
        for (const std::string& n : m.boxMap)
            w.string(n.c_str());
        w.end();
    }
    w.end(); // face list
    if (!m.localMatrix.empty()) {
        w.begin(LOCAL_MATRIX);
        for (float v : m.localMatrix)
            w.f32(v);
        w.end();
    }
    if (m.colorIndex >= 0) {
        w.begin(OBJECT_COLOR_INDEX);
        w.u8(static_cast<uint8_t>(m.colorIndex));
        w.end();
    }
    if (!m.mapping.empty()) {
        w.begin(MAPPING_INFO);
        w.u16(1);
        for (float v : m.mapping)
            w.f32(v);
        w.end();
    }
    if (!m.procName.empty()) {
        w.begin(PROCEDURE_NAME);
        w.string(m.procName.c_str());
        w.end();
    }
    if (!m.procData.empty()) {
        w.begin(PROCEDURE_DATA);
        w.raw(m.procData.data(), m.procData.size());
        w.end();
    }
    w.end(); // triangle mesh
}

} // namespace

void material(ChunkWriter& w, const Material& m) {
    w.begin(MATERIAL_BLOCK);
    w.begin(MATERIAL_NAME);
    w.string(m.name.c_str());
    w.end();
    colour(w, MATERIAL_AMBIENT, m.ambient, m.extras);
    colour(w, MATERIAL_DIFFUSE, m.diffuse, m.extras);
    colour(w, MATERIAL_SPECULAR, m.specular, m.extras);
    percent(w, MATERIAL_SHININESS, m.shininess);
    if (m.extras)
        materialExtras(w);
    if (!m.texture.empty()) {
        w.begin(MATERIAL_TEXTURE_MAP);
        w.begin(PERCENT_INT);
        w.i16(100);
        w.end();
        w.begin(MAP_FILE_NAME);
        w.string(m.texture.c_str());
        w.end();
        if (m.extras)
            mapExtras(w);
        w.end();
    }
    if (m.extras) {
        percent(w, 0xA230, 30); // bump map amount, kept in its own chunk
        w.begin(0xA320);
        w.u16(5);
        w.end();
        w.begin(0xA310); // reflection
        w.u8(0);
        w.u8(0);
        w.i16(9);
        w.u32(1);
        w.u32(2);
        w.end();
    }
    w.end();
}

void mesh(ChunkWriter& w, const Mesh& m) {
    w.begin(OBJECT_BLOCK);
    w.string(m.name.c_str());
    for (uint16_t flag : m.objectFlags) {
        w.begin(flag);
        w.end();
    }
    trimesh(w, m);
    w.end();
}

void keyframer(ChunkWriter& w, const std::vector<std::string>& nodes) {
    w.begin(KEYFRAMER_BLOCK);
    for (size_t i = 0; i < nodes.size(); ++i) {
        w.begin(0xB002); // object node
        w.begin(NODE_ID);
        w.i16(static_cast<int16_t>(i));
        w.end();
        w.begin(NODE_HEADER);
        w.string(nodes[i].c_str());
        w.u16(0);
        w.u16(0);
        w.i16(static_cast<int16_t>(i) - 1);
        w.end();
        w.end();
    }
    w.end();
}

std::vector<uint8_t> scene(const std::vector<Material>& materials, const std::vector<Mesh>& meshes,
                           const std::vector<std::string>& nodes) {
    ChunkWriter w;
    w.begin(MESH_FILE);
    w.begin(0x0002); // version
    w.u32(3);
    w.end();
    w.begin(EDITOR_BLOCK);
    for (const Material& m : materials)
        material(w, m);
    for (const Mesh& m : meshes)
        mesh(w, m);
    w.end();
    if (!nodes.empty())
        keyframer(w, nodes);
    w.end();
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
    for (const auto& s : sides) {
        m.faces.push_back({s[0], s[1], s[2]});
        m.faces.push_back({s[0], s[2], s[3]});
    }
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

Material plain(const std::string& name, const std::string& texture) {
    Material m;
    m.name = name;
    m.ambient = {10, 20, 30};
    m.diffuse = {255, 128, 0};
    m.specular = {0, 0, 255};
    m.shininess = 25;
    m.texture = texture;
    return m;
}

} // namespace scenebuild
