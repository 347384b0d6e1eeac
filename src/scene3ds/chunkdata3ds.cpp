// Parsed chunk bodies: which record each tag gets, how it is read, copied and freed.
#include "scene3ds/chunkdata3ds_local.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "scene3ds/errlist3ds.h"
#include "scene3ds/filetable3ds_local.h"
#include "scene3ds/prefix3ds_local.h"
#include "scene3ds/stream3ds_local.h"

using namespace stream3ds;

// Arrays are read straight into their records, so each element must be as long as in the file.
static_assert(sizeof(point3ds) == 12 && sizeof(textvert3ds) == 8 && sizeof(face3ds) == 8,
              "file array elements must match their records");

chunkkind3ds ChunkKind3ds(chunktag3ds tag) {
    switch (tag) {
    case COLOR_FLOAT:
    case COLOR_FLOAT_ALT:
        return KindColorF;
    case COLOR_BYTE:
    case COLOR_BYTE_ALT:
    case 0xA360:
    case 0xA362:
    case 0xA364:
    case 0xA366:
    case 0xA368:
        return KindColor24;
    case PERCENT_INT:
    case 0xA252:
    case NODE_ID:
        return KindInt16;
    case PERCENT_FLOAT:
    case 0xA087:
    case 0xA353:
    case 0xA354:
    case 0xA356:
    case 0xA358:
    case 0xA35A:
    case 0xA35C:
        return KindFloat;
    case MAP_TILING:
    case 0xA100:
        return KindUInt16;
    case OBJECT_BLOCK:
    case PROCEDURE_NAME:
    case MATERIAL_NAME:
    case MAP_FILE_NAME:
    case INSTANCE_NAME:
    case PARENT_NAME:
        return KindString;
    case VERTEX_LIST:
        return KindPoints;
    case VERTEX_FLAG_LIST:
        return KindPointFlags;
    case FACE_LIST:
        return KindFaces;
    case FACE_MATERIAL_GROUP:
        return KindMatGroup;
    case TEXCOORD_LIST:
        return KindTexVerts;
    case SMOOTHING_LIST:
        return KindSmoothing;
    case LOCAL_MATRIX:
        return KindMatrix;
    case OBJECT_COLOR_INDEX:
        return KindByte;
    case MAPPING_INFO:
        return KindMapInfo;
    case BOX_MAP_NAMES:
        return KindBoxMap;
    case 0xA310:
        return KindReflect;
    case NODE_HEADER:
        return KindNodeHeader;
    case EXTENSION_DATA:
        return KindRaw;
    default:
        // Containers carry no record; everything else is kept as its bytes.
        return PrefixRule3ds(tag).kind == PrefixNone ? KindNone : KindRaw;
    }
}

namespace {

// Limits (NUL included) of the strings each tag's record holds.
uint32_t stringLimit(chunktag3ds tag) {
    switch (tag) {
    case OBJECT_BLOCK:
    case INSTANCE_NAME:
    case NODE_HEADER:
        return 11;
    case PROCEDURE_NAME:
    case MAP_FILE_NAME:
        return 13;
    case MATERIAL_NAME:
    case FACE_MATERIAL_GROUP:
    case BOX_MAP_NAMES:
        return 17;
    default:
        return ParentNameLimit3ds;
    }
}

size_t podSize(chunkkind3ds kind) {
    switch (kind) {
    case KindMatrix:
        return sizeof(MeshMatrix3ds);
    case KindByte:
        return sizeof(ByteValue3ds);
    case KindMapInfo:
        return sizeof(mapinfo3ds);
    case KindColorF:
        return sizeof(fcolor3ds);
    case KindColor24:
        return sizeof(Color24_3ds);
    case KindInt16:
        return sizeof(Int16Value3ds);
    case KindUInt16:
        return sizeof(UInt16Value3ds);
    case KindFloat:
        return sizeof(FloatValue3ds);
    case KindReflect:
        return sizeof(Reflect3ds);
    default:
        return 0;
    }
}

template <class T> T* newRecord() {
    return static_cast<T*>(std::calloc(1, sizeof(T)));
}

// Array for a count read from a file; null for 0 elements (nothing to hold). It is not cleared:
// every element is written by the read that follows, and a failed read frees the array, so
// clearing would only cost a pass over large arrays.
template <class T> T* newArray(size_t count) {
    return count ? static_cast<T*>(std::malloc(count * sizeof(T))) : nullptr;
}

template <class T> T* dupArray(const T* src, size_t count) {
    if (!src || count == 0)
        return nullptr;
    T* out = static_cast<T*>(std::malloc(count * sizeof(T)));
    if (out)
        std::memcpy(out, src, count * sizeof(T));
    return out;
}

// Reads n elements of a file array into dst: the bytes land in dst's own storage in one read
// (large arrays go straight from the file), then each element is decoded in place from its
// little-endian bytes. The in-file element size equals sizeof(T) for every array read this way.
template <class T, class Decode> bool readElements(T* dst, size_t n, Decode decode) {
    if (uint64_t(n) * sizeof(T) > remaining())
        return false;
    if (n == 0)
        return true;
    uint8_t* bytes = reinterpret_cast<uint8_t*>(dst);
    if (!readBytes(bytes, n * sizeof(T)))
        return false;
    for (size_t i = 0; i < n; ++i) {
        uint8_t b[sizeof(T)];
        std::memcpy(b, bytes + i * sizeof(T), sizeof(T));
        dst[i] = decode(b);
    }
    return true;
}

bool readOwnedString(uint32_t limit, char** out) {
    char buf[ParentNameLimit3ds + 1];
    if (!readString(buf, limit))
        return false;
    *out = StrDup3ds(buf);
    return *out != nullptr;
}

bool readRawBody(uint64_t bytes, RawData3ds* rec) {
    // The size comes from the file: refuse it before allocating when the file cannot hold it.
    if (bytes > remaining() || tell() + bytes > fileLength())
        return false;
    rec->size = static_cast<uint32_t>(bytes);
    rec->data = newArray<uint8_t>(bytes);
    if (bytes && !rec->data)
        return false;
    return readBytes(rec->data, bytes);
}

// Reads the record of a chunk whose body starts at the stream position; false on failure (the
// error already chosen in *err), leaving *out null.
bool parseRecord(chunk3ds* chunk, void** out, uint32_t* err) {
    *out = nullptr;
    *err = ERR_READING_FILE;
    chunkkind3ds kind = ChunkKind3ds(chunk->tag);
    uint64_t body = chunk->size - 6ull;
    switch (kind) {
    case KindNone:
        return true;
    case KindString: {
        auto* rec = newRecord<StringData3ds>();
        *out = rec;
        return rec && readOwnedString(stringLimit(chunk->tag), &rec->name);
    }
    case KindRaw: {
        uint64_t bytes = body;
        prefixrule3ds rule = PrefixRule3ds(chunk->tag);
        if (chunk->tag != EXTENSION_DATA && rule.kind != PrefixLeaf) {
            // Only the prefix is this chunk's own; the rest are subchunks with their own records.
            uint64_t start = tell();
            if (!SkipPrefix3ds(chunk->tag))
                return false;
            bytes = tell() - start;
            if (!seek(start))
                return false;
        }
        if (bytes == 0)
            return true;
        auto* rec = newRecord<RawData3ds>();
        *out = rec;
        return rec && readRawBody(bytes, rec);
    }
    case KindPoints: {
        auto* rec = newRecord<PointArray3ds>();
        *out = rec;
        if (!rec || !readU16(rec->count))
            return false;
        rec->points = newArray<point3ds>(rec->count);
        point3ds* p = rec->points;
        return readElements(p, rec->count, [](const uint8_t* b) {
            return point3ds{lef32(b), lef32(b + 4), lef32(b + 8)};
        });
    }
    case KindPointFlags: {
        auto* rec = newRecord<PointFlagArray3ds>();
        *out = rec;
        if (!rec || !readU16(rec->count))
            return false;
        rec->flags = newArray<uint16_t>(rec->count);
        uint16_t* f = rec->flags;
        return readElements(f, rec->count, [](const uint8_t* b) { return le16(b); });
    }
    case KindFaces: {
        auto* rec = newRecord<FaceArray3ds>();
        *out = rec;
        if (!rec || !readU16(rec->count))
            return false;
        rec->faces = newArray<face3ds>(rec->count);
        face3ds* f = rec->faces;
        return readElements(f, rec->count, [](const uint8_t* b) {
            return face3ds{le16(b), le16(b + 2), le16(b + 4), le16(b + 6)};
        });
    }
    case KindMatGroup: {
        auto* rec = newRecord<MatGroup3ds>();
        *out = rec;
        if (!rec || !readOwnedString(stringLimit(chunk->tag), &rec->name) || !readU16(rec->count))
            return false;
        rec->faces = newArray<uint16_t>(rec->count);
        uint16_t* f = rec->faces;
        return readElements(f, rec->count, [](const uint8_t* b) { return le16(b); });
    }
    case KindTexVerts: {
        auto* rec = newRecord<TexVertArray3ds>();
        *out = rec;
        if (!rec || !readU16(rec->count))
            return false;
        rec->texverts = newArray<textvert3ds>(rec->count);
        textvert3ds* t = rec->texverts;
        return readElements(t, rec->count, [](const uint8_t* b) {
            return textvert3ds{lef32(b), lef32(b + 4)};
        });
    }
    case KindSmoothing: {
        // The count is derived from the size and stored in 16 bits: a larger list cannot belong
        // to any mesh (faces are counted in 16 bits too), so it marks a damaged chunk.
        uint64_t n = body / 4;
        if (n > UINT16_MAX) {
            *err = ERR_INVALID_CHUNK;
            return false;
        }
        auto* rec = newRecord<SmoothGroup3ds>();
        *out = rec;
        if (!rec)
            return false;
        rec->count = static_cast<uint16_t>(n);
        rec->masks = newArray<uint32_t>(n);
        uint32_t* m = rec->masks;
        return readElements(m, n, [](const uint8_t* b) { return le32(b); });
    }
    case KindMatrix: {
        auto* rec = newRecord<MeshMatrix3ds>();
        *out = rec;
        return rec && readFloats(rec->xmatrix, 12);
    }
    case KindByte: {
        auto* rec = newRecord<ByteValue3ds>();
        *out = rec;
        return rec && readU8(rec->value);
    }
    case KindMapInfo: {
        auto* rec = newRecord<mapinfo3ds>();
        *out = rec;
        return rec && readU16(rec->maptype) && readFloats(rec->mapparams, 21);
    }
    case KindBoxMap: {
        auto* rec = newRecord<BoxMap3ds>();
        *out = rec;
        if (!rec)
            return false;
        for (char*& name : rec->names) {
            if (!readOwnedString(stringLimit(chunk->tag), &name))
                return false;
        }
        return true;
    }
    case KindColorF: {
        auto* rec = newRecord<fcolor3ds>();
        *out = rec;
        return rec && readF32(rec->r) && readF32(rec->g) && readF32(rec->b);
    }
    case KindColor24: {
        auto* rec = newRecord<Color24_3ds>();
        *out = rec;
        return rec && readU8(rec->r) && readU8(rec->g) && readU8(rec->b);
    }
    case KindInt16: {
        auto* rec = newRecord<Int16Value3ds>();
        *out = rec;
        return rec && readI16(rec->value);
    }
    case KindUInt16: {
        auto* rec = newRecord<UInt16Value3ds>();
        *out = rec;
        return rec && readU16(rec->value);
    }
    case KindFloat: {
        auto* rec = newRecord<FloatValue3ds>();
        *out = rec;
        return rec && readF32(rec->value);
    }
    case KindReflect: {
        auto* rec = newRecord<Reflect3ds>();
        *out = rec;
        return rec && readU8(rec->byte1) && readU8(rec->byte2) && readI16(rec->flags) &&
               readU32(rec->value1) && readU32(rec->value2);
    }
    case KindNodeHeader: {
        auto* rec = newRecord<NodeHeader3ds>();
        *out = rec;
        return rec && readOwnedString(stringLimit(chunk->tag), &rec->name) &&
               readU16(rec->flags1) && readU16(rec->flags2) && readI16(rec->parent);
    }
    }
    return false;
}

} // namespace

char* StrDup3ds(const char* s) {
    if (!s)
        return nullptr;
    size_t n = std::strlen(s) + 1;
    char* out = static_cast<char*>(std::malloc(n));
    if (out)
        std::memcpy(out, s, n);
    return out;
}

void CopyName3ds(char* dst, size_t dstSize, const char* src) {
    if (dstSize == 0)
        return;
    size_t n = 0;
    if (src) {
        while (n + 1 < dstSize && src[n])
            ++n;
        std::memcpy(dst, src, n);
    }
    dst[n] = '\0';
}

void FreeChunkData3ds(chunktag3ds tag, void* data) {
    if (!data)
        return;
    switch (ChunkKind3ds(tag)) {
    case KindString:
        std::free(static_cast<StringData3ds*>(data)->name);
        break;
    case KindRaw:
        std::free(static_cast<RawData3ds*>(data)->data);
        break;
    case KindPoints:
        std::free(static_cast<PointArray3ds*>(data)->points);
        break;
    case KindPointFlags:
        std::free(static_cast<PointFlagArray3ds*>(data)->flags);
        break;
    case KindFaces:
        std::free(static_cast<FaceArray3ds*>(data)->faces);
        break;
    case KindMatGroup:
        std::free(static_cast<MatGroup3ds*>(data)->name);
        std::free(static_cast<MatGroup3ds*>(data)->faces);
        break;
    case KindTexVerts:
        std::free(static_cast<TexVertArray3ds*>(data)->texverts);
        break;
    case KindSmoothing:
        std::free(static_cast<SmoothGroup3ds*>(data)->masks);
        break;
    case KindBoxMap:
        for (char* name : static_cast<BoxMap3ds*>(data)->names)
            std::free(name);
        break;
    case KindNodeHeader:
        std::free(static_cast<NodeHeader3ds*>(data)->name);
        break;
    default:
        break;
    }
    std::free(data);
}

void* CopyChunkData3ds(chunktag3ds tag, const void* data) {
    if (!data)
        return nullptr;
    chunkkind3ds kind = ChunkKind3ds(tag);
    bool ok = true;
    void* out = nullptr;
    switch (kind) {
    case KindNone:
        return nullptr;
    case KindString: {
        auto* rec = newRecord<StringData3ds>();
        out = rec;
        ok = rec && (rec->name = StrDup3ds(static_cast<const StringData3ds*>(data)->name));
        break;
    }
    case KindRaw: {
        auto* src = static_cast<const RawData3ds*>(data);
        auto* rec = newRecord<RawData3ds>();
        out = rec;
        ok = rec && ((rec->size = src->size) == 0 || (rec->data = dupArray(src->data, src->size)));
        break;
    }
    case KindPoints: {
        auto* src = static_cast<const PointArray3ds*>(data);
        auto* rec = newRecord<PointArray3ds>();
        out = rec;
        ok = rec &&
             ((rec->count = src->count) == 0 || (rec->points = dupArray(src->points, src->count)));
        break;
    }
    case KindPointFlags: {
        auto* src = static_cast<const PointFlagArray3ds*>(data);
        auto* rec = newRecord<PointFlagArray3ds>();
        out = rec;
        ok = rec &&
             ((rec->count = src->count) == 0 || (rec->flags = dupArray(src->flags, src->count)));
        break;
    }
    case KindFaces: {
        auto* src = static_cast<const FaceArray3ds*>(data);
        auto* rec = newRecord<FaceArray3ds>();
        out = rec;
        ok = rec &&
             ((rec->count = src->count) == 0 || (rec->faces = dupArray(src->faces, src->count)));
        break;
    }
    case KindMatGroup: {
        auto* src = static_cast<const MatGroup3ds*>(data);
        auto* rec = newRecord<MatGroup3ds>();
        out = rec;
        ok = rec && (rec->name = StrDup3ds(src->name)) &&
             ((rec->count = src->count) == 0 || (rec->faces = dupArray(src->faces, src->count)));
        break;
    }
    case KindTexVerts: {
        auto* src = static_cast<const TexVertArray3ds*>(data);
        auto* rec = newRecord<TexVertArray3ds>();
        out = rec;
        ok = rec && ((rec->count = src->count) == 0 ||
                     (rec->texverts = dupArray(src->texverts, src->count)));
        break;
    }
    case KindSmoothing: {
        auto* src = static_cast<const SmoothGroup3ds*>(data);
        auto* rec = newRecord<SmoothGroup3ds>();
        out = rec;
        ok = rec &&
             ((rec->count = src->count) == 0 || (rec->masks = dupArray(src->masks, src->count)));
        break;
    }
    case KindBoxMap: {
        auto* src = static_cast<const BoxMap3ds*>(data);
        auto* rec = newRecord<BoxMap3ds>();
        out = rec;
        for (int i = 0; ok && i < 6; ++i)
            ok = rec && (rec->names[i] = StrDup3ds(src->names[i] ? src->names[i] : ""));
        break;
    }
    case KindNodeHeader: {
        auto* src = static_cast<const NodeHeader3ds*>(data);
        auto* rec = newRecord<NodeHeader3ds>();
        out = rec;
        if (rec) {
            *rec = *src;
            rec->name = StrDup3ds(src->name ? src->name : "");
        }
        ok = rec && rec->name;
        break;
    }
    default: {
        size_t n = podSize(kind);
        out = std::malloc(n);
        ok = out != nullptr;
        if (ok)
            std::memcpy(out, data, n);
        break;
    }
    }
    if (!ok) {
        FreeChunkData3ds(tag, out);
        PushErrList3ds(ERR_NO_MEM);
        return nullptr;
    }
    return out;
}

bool ReadChunkData3ds(chunk3ds* chunk) {
    if (!chunk)
        return false;
    if (chunk->data || chunk->readindex == NoFileIndex3ds)
        return true;
    file3ds* file = FileAt3ds(chunk->readindex);
    if (!file)
        return true;
    if (ChunkKind3ds(chunk->tag) == KindNone)
        return true;
    makeCurrent(file);
    uint64_t saved = limit();
    bool ok = chunk->size >= 6 && seek(uint64_t(chunk->position) + 6);
    setLimit(uint64_t(chunk->position) + chunk->size);
    void* rec = nullptr;
    uint32_t err = ERR_READING_FILE;
    ok = ok && parseRecord(chunk, &rec, &err);
    setLimit(saved);
    if (!ok) {
        FreeChunkData3ds(chunk->tag, rec);
        PushErrList3ds(err);
        return false;
    }
    chunk->data = rec;
    return true;
}

void* LoadChunkData3ds(chunk3ds* chunk) {
    if (!chunk) {
        PushErrList3ds(ERR_INVALID_ARG);
        return nullptr;
    }
    ReadChunkData3ds(chunk);
    return chunk->data;
}
