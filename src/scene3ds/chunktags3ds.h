// Chunk tags of .3ds scene files that the scene database reads by name.
#pragma once

#include <cstdint>

typedef uint32_t chunktag3ds;

enum : chunktag3ds {
    // File roots.
    MESH_FILE = 0x4D4D,
    PROJECT_FILE = 0xC23D,
    MATERIAL_FILE = 0x3DAA,

    // Colour and percentage value chunks.
    COLOR_FLOAT = 0x0010,
    COLOR_BYTE = 0x0011,
    COLOR_BYTE_ALT = 0x0012,
    COLOR_FLOAT_ALT = 0x0013,
    PERCENT_INT = 0x0030,
    PERCENT_FLOAT = 0x0031,

    // Mesh path.
    EDITOR_BLOCK = 0x3D3D,
    OBJECT_BLOCK = 0x4000,
    TRIMESH_BLOCK = 0x4100,
    VERTEX_LIST = 0x4110,
    VERTEX_FLAG_LIST = 0x4111,
    FACE_LIST = 0x4120,
    FACE_MATERIAL_GROUP = 0x4130,
    TEXCOORD_LIST = 0x4140,
    SMOOTHING_LIST = 0x4150,
    LOCAL_MATRIX = 0x4160,
    OBJECT_COLOR_INDEX = 0x4165,
    MAPPING_INFO = 0x4170,
    PROCEDURE_NAME = 0x4181,
    PROCEDURE_DATA = 0x4182,
    BOX_MAP_NAMES = 0x4190,

    // Material path.
    MATERIAL_BLOCK = 0xAFFF,
    MATERIAL_NAME = 0xA000,
    MATERIAL_AMBIENT = 0xA010,
    MATERIAL_DIFFUSE = 0xA020,
    MATERIAL_SPECULAR = 0xA030,
    MATERIAL_SHININESS = 0xA040,
    MATERIAL_TEXTURE_MAP = 0xA200,
    MAP_FILE_NAME = 0xA300,
    MAP_TILING = 0xA351,

    // Extension data and keyframer chunks used by the parent-name pass.
    EXTENSION_DATA = 0x8001,
    PARENT_NAME = 0x80F0,
    KEYFRAMER_BLOCK = 0xB000,
    NODE_HEADER = 0xB010,
    INSTANCE_NAME = 0xB011,
    NODE_ID = 0xB030
};
