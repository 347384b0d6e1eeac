// Parsed chunk bodies: the per-tag records LoadChunkData3ds hangs on chunk3ds::data.
#pragma once

#include <cstdint>

#include "scene3ds/chunktree3ds_local.h"
#include "scene3ds/database3ds.h"
#include "scene3ds/material3ds.h"
#include "scene3ds/mesh3ds.h"

// Kinds of record; every tag maps to exactly one.
enum chunkkind3ds {
    KindNone,       // containers: no record
    KindString,     // StringData3ds (names)
    KindRaw,        // RawData3ds (procedure data, extension data, tags kept as bytes)
    KindPoints,     // PointArray3ds
    KindPointFlags, // PointFlagArray3ds
    KindFaces,      // FaceArray3ds
    KindMatGroup,   // MatGroup3ds
    KindTexVerts,   // TexVertArray3ds
    KindSmoothing,  // SmoothGroup3ds
    KindMatrix,     // MeshMatrix3ds
    KindByte,       // ByteValue3ds
    KindMapInfo,    // mapinfo3ds
    KindBoxMap,     // BoxMap3ds
    KindColorF,     // fcolor3ds
    KindColor24,    // Color24_3ds
    KindInt16,      // Int16Value3ds
    KindUInt16,     // UInt16Value3ds
    KindFloat,      // FloatValue3ds
    KindReflect,    // Reflect3ds
    KindNodeHeader  // NodeHeader3ds
};

struct StringData3ds {
    char* name;
};
struct RawData3ds {
    uint32_t size;
    uint8_t* data;
};
struct PointArray3ds {
    uint16_t count;
    point3ds* points;
};
struct PointFlagArray3ds {
    uint16_t count;
    uint16_t* flags;
};
struct FaceArray3ds {
    uint16_t count;
    face3ds* faces;
};
struct MatGroup3ds {
    char* name;
    uint16_t count;
    uint16_t* faces; // null when count is 0
};
struct TexVertArray3ds {
    uint16_t count;
    textvert3ds* texverts;
};
struct SmoothGroup3ds {
    uint16_t count;
    uint32_t* masks;
};
struct MeshMatrix3ds {
    float xmatrix[12];
};
struct ByteValue3ds {
    uint8_t value;
};
struct BoxMap3ds {
    char* names[6];
};
struct Color24_3ds {
    uint8_t r, g, b;
};
struct Int16Value3ds {
    int16_t value;
};
struct UInt16Value3ds {
    uint16_t value;
};
struct FloatValue3ds {
    float value;
};
struct Reflect3ds {
    uint8_t byte1, byte2;
    int16_t flags;
    uint32_t value1, value2;
};
struct NodeHeader3ds {
    char* name;
    uint16_t flags1, flags2;
    int16_t parent;
};

// Longest string (NUL included) a tag's record accepts.
constexpr uint32_t ParentNameLimit3ds = 64;

chunkkind3ds ChunkKind3ds(chunktag3ds tag);
// Frees a record of the given tag with everything it owns.
void FreeChunkData3ds(chunktag3ds tag, void* data);
// Deep copy of a record of the given tag; null on failure (reported as ERR_NO_MEM).
void* CopyChunkData3ds(chunktag3ds tag, const void* data);
// Owned copy of a string, or null when out of memory.
char* StrDup3ds(const char* s);
// Copies a string into a fixed field, always terminated, truncating when it does not fit.
void CopyName3ds(char* dst, size_t dstSize, const char* src);

// The chunk's data record, loaded from its file when absent; null for a chunk without one.
void* LoadChunkData3ds(chunk3ds* chunk);
// Loads a chunk's record when it has none (LoadChunkData3ds); false when loading failed, with
// the failure reported. A chunk that legitimately has no record succeeds with data null.
bool ReadChunkData3ds(chunk3ds* chunk);
