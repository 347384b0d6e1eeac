// Writes the scene database fuzz seeds into a folder: small but complete scenes made with the
// chunk writer (meshes, materials with maps, a material library, keyframer and extension data).
#include <cstdio>
#include <string>

#include "scene3ds/chunkwriter.h"
#include "scene3ds/scene3ds.h"

namespace {

void mesh(ChunkWriter& w, const char* name, int n, const char* material) {
    w.begin(OBJECT_BLOCK);
    w.string(name);
    w.begin(0x4010);
    w.end();
    w.begin(TRIMESH_BLOCK);
    w.begin(VERTEX_LIST);
    w.u16(static_cast<uint16_t>(n));
    for (int i = 0; i < n; ++i) {
        w.f32(float(i));
        w.f32(float(i * i));
        w.f32(-float(i));
    }
    w.end();
    w.begin(VERTEX_FLAG_LIST);
    w.u16(1);
    w.u16(3);
    w.end();
    w.begin(TEXCOORD_LIST);
    w.u16(static_cast<uint16_t>(n));
    for (int i = 0; i < n; ++i) {
        w.f32(i * 0.25f);
        w.f32(1 - i * 0.25f);
    }
    w.end();
    w.begin(FACE_LIST);
    int faces = n - 2;
    w.u16(static_cast<uint16_t>(faces));
    for (int i = 0; i < faces; ++i) {
        w.u16(static_cast<uint16_t>(i));
        w.u16(static_cast<uint16_t>(i + 1));
        w.u16(static_cast<uint16_t>(i + 2));
        w.u16(7);
    }
    w.begin(FACE_MATERIAL_GROUP);
    w.string(material);
    w.u16(static_cast<uint16_t>(faces));
    for (int i = 0; i < faces; ++i)
        w.u16(static_cast<uint16_t>(i));
    w.end();
    w.begin(SMOOTHING_LIST);
    for (int i = 0; i < faces; ++i)
        w.u32(1u << i);
    w.end();
    w.begin(BOX_MAP_NAMES);
    for (int i = 0; i < 6; ++i)
        w.string(material);
    w.end();
    w.end();
    w.begin(LOCAL_MATRIX);
    for (int i = 0; i < 12; ++i)
        w.f32(i % 4 == 0 ? 1.0f : 0.0f);
    w.end();
    w.begin(OBJECT_COLOR_INDEX);
    w.u8(3);
    w.end();
    w.begin(MAPPING_INFO);
    w.u16(1);
    for (int i = 0; i < 21; ++i)
        w.f32(1);
    w.end();
    w.begin(PROCEDURE_NAME);
    w.string("proc");
    w.end();
    w.begin(PROCEDURE_DATA);
    w.u32(0xDEADBEEF);
    w.end();
    w.end();
    w.end();
}

void material(ChunkWriter& w, const char* name, const char* texture) {
    w.begin(MATERIAL_BLOCK);
    w.begin(MATERIAL_NAME);
    w.string(name);
    w.end();
    const uint16_t colours[] = {MATERIAL_AMBIENT, MATERIAL_DIFFUSE, MATERIAL_SPECULAR};
    for (uint16_t c : colours) {
        w.begin(c);
        w.begin(COLOR_BYTE);
        w.u8(200);
        w.u8(100);
        w.u8(50);
        w.end();
        w.begin(COLOR_BYTE_ALT);
        w.u8(1);
        w.u8(2);
        w.u8(3);
        w.end();
        w.end();
    }
    w.begin(MATERIAL_SHININESS);
    w.begin(PERCENT_INT);
    w.i16(40);
    w.end();
    w.end();
    w.begin(0xA050);
    w.begin(PERCENT_FLOAT);
    w.f32(0.5f);
    w.end();
    w.end();
    w.begin(0xA08A);
    w.end();
    w.begin(0xA100);
    w.u16(2);
    w.end();
    w.begin(MATERIAL_TEXTURE_MAP);
    w.begin(PERCENT_INT);
    w.i16(100);
    w.end();
    w.begin(MAP_FILE_NAME);
    w.string(texture);
    w.end();
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
    w.end();
    w.begin(0xA230);
    w.begin(0xA252);
    w.i16(30);
    w.end();
    w.end();
    w.begin(0xA320);
    w.u16(5);
    w.end();
    w.begin(0xA310);
    w.u8(0);
    w.u8(0);
    w.i16(9);
    w.u32(1);
    w.u32(2);
    w.end();
    w.end();
}

void keyframer(ChunkWriter& w) {
    w.begin(KEYFRAMER_BLOCK);
    for (int i = 0; i < 2; ++i) {
        w.begin(0xB002);
        w.begin(NODE_ID);
        w.i16(static_cast<int16_t>(i));
        w.end();
        w.begin(NODE_HEADER);
        w.string(i == 0 ? "Body" : "Arm");
        w.u16(0);
        w.u16(0);
        w.i16(static_cast<int16_t>(i - 1));
        w.end();
        w.begin(INSTANCE_NAME);
        w.string("one");
        w.end();
        w.end();
    }
    w.end();
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
    material(scene, "Skin", "skin.bmp");
    material(scene, "Cloth", "cloth.bmp");
    mesh(scene, "Body", 5, "Skin");
    mesh(scene, "Cape", 4, "Cloth");
    scene.begin(OBJECT_BLOCK);
    scene.string("Lamp");
    scene.begin(0x4600);
    scene.f32(0);
    scene.f32(1);
    scene.f32(2);
    scene.end();
    scene.end();
    scene.end();
    keyframer(scene);
    scene.end();
    ok = save(scene, dir, "scene.3ds") && ok;

    ChunkWriter project;
    project.begin(PROJECT_FILE);
    project.begin(EDITOR_BLOCK);
    mesh(project, "Hoop", 3, "Gold");
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
    material(library, "Gold", "gold.bmp");
    material(library, "Silver", "silver.bmp");
    library.end();
    ok = save(library, dir, "library.3ds") && ok;

    ChunkWriter tiny;
    tiny.begin(MESH_FILE);
    tiny.begin(EDITOR_BLOCK);
    mesh(tiny, "T", 3, "M");
    tiny.end();
    tiny.end();
    ok = save(tiny, dir, "tiny.3ds") && ok;

    return ok ? 0 : 1;
}
