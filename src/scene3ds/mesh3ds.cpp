// Meshes: listing the mesh objects of a database and copying one into a caller-owned record.
#include "scene3ds/mesh3ds.h"

#include <cstdlib>
#include <cstring>

#include "scene3ds/chunkdata3ds_local.h"
#include "scene3ds/database3ds_local.h"
#include "scene3ds/errlist3ds.h"

namespace {

bool failed() {
    return ftkerr3ds && !ignoreftkerr3ds;
}

bool hasTrimesh(chunk3ds* object) {
    chunk3ds* found = nullptr;
    FindChunkInTree3ds(object, TRIMESH_BLOCK, &found);
    return found != nullptr;
}

// Identity mapping, so that a reader of a record without mapping data gets a neutral one:
// tiling 1 x 1, icon at the origin with scale 1, identity matrix, unit plane and cylinder sizes.
void defaultMapping(mapinfo3ds& m) {
    static const float params[21] = {1, 1, 0, 0, 0, 1, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 1};
    m.maptype = 0;
    std::memcpy(m.mapparams, params, sizeof params);
}

// Sizes an array to count elements: frees it for 0, fills a new one with fill, and resizes an
// existing one keeping its first oldCount elements and filling the rest. False when out of
// memory (reported).
template <class T> bool sizeArray(T*& arr, size_t oldCount, size_t count, const T& fill) {
    if (count == 0) {
        std::free(arr);
        arr = nullptr;
        return true;
    }
    if (!arr)
        oldCount = 0;
    if (oldCount > count)
        oldCount = count;
    T* out = static_cast<T*>(std::realloc(arr, count * sizeof(T)));
    if (!out) {
        PushErrList3ds(ERR_NO_MEM);
        return false;
    }
    for (size_t i = oldCount; i < count; ++i)
        out[i] = fill;
    arr = out;
    return true;
}

void freeGroupFaces(mesh3ds* mesh) {
    for (uint16_t i = 0; mesh->matgroups && i < mesh->matgroupcount; ++i) {
        std::free(mesh->matgroups[i].faces);
        mesh->matgroups[i].faces = nullptr;
        mesh->matgroups[i].facecount = 0;
    }
}

// Takes over the arrays of a mesh-path child of the copied trimesh block.
// smoothLen tracks the length of m->smoothing, which the record itself does not hold.
bool takeTrimeshChild(chunk3ds* child, mesh3ds* m, size_t& smoothLen) {
    if (!ReadChunkData3ds(child))
        return false;
    void* data = child->data;
    if (!data)
        return true;
    switch (child->tag) {
    case VERTEX_LIST: {
        auto* rec = static_cast<PointArray3ds*>(data);
        std::free(m->vertices);
        m->vertexcount = rec->count;
        m->vertices = rec->points;
        rec->points = nullptr;
        break;
    }
    case VERTEX_FLAG_LIST: {
        auto* rec = static_cast<PointFlagArray3ds*>(data);
        std::free(m->vertexflags);
        m->vertexflagcount = rec->count;
        m->vertexflags = rec->flags;
        rec->flags = nullptr;
        break;
    }
    case FACE_LIST: {
        auto* rec = static_cast<FaceArray3ds*>(data);
        std::free(m->faces);
        m->facecount = rec->count;
        m->faces = rec->faces;
        rec->faces = nullptr;
        if (!child->children)
            break;
        chunk3ds* group = nullptr;
        FindChunkInTree3ds(child, FACE_MATERIAL_GROUP, &group);
        if (group) {
            // matgroupcount is 16 bits: further groups are left out rather than overflowing it.
            uint32_t count = 0;
            for (chunk3ds* g = group; g && count < UINT16_MAX; g = g->sibling)
                count += g->tag == FACE_MATERIAL_GROUP;
            freeGroupFaces(m);
            std::free(m->matgroups);
            m->matgroupcount = 0;
            m->matgroups = static_cast<objmat3ds*>(std::calloc(count, sizeof(objmat3ds)));
            if (!m->matgroups) {
                PushErrList3ds(ERR_NO_MEM);
                return false;
            }
            m->matgroupcount = static_cast<uint16_t>(count);
            uint32_t i = 0;
            for (chunk3ds* g = group; g && i < count; g = g->sibling) {
                if (g->tag != FACE_MATERIAL_GROUP)
                    continue;
                if (!ReadChunkData3ds(g))
                    return false;
                if (auto* grp = static_cast<MatGroup3ds*>(g->data)) {
                    CopyName3ds(m->matgroups[i].name, sizeof m->matgroups[i].name, grp->name);
                    m->matgroups[i].facecount = grp->count;
                    m->matgroups[i].faces = grp->faces;
                    grp->faces = nullptr;
                }
                ++i;
            }
        }
        chunk3ds* smooth = nullptr;
        FindChunkInSiblings3ds(child->children, SMOOTHING_LIST, &smooth);
        if (smooth) {
            if (!ReadChunkData3ds(smooth))
                return false;
            if (auto* rec = static_cast<SmoothGroup3ds*>(smooth->data)) {
                std::free(m->smoothing);
                m->smoothing = rec->masks;
                smoothLen = rec->count;
                rec->masks = nullptr;
            }
        }
        chunk3ds* box = nullptr;
        FindChunkInSiblings3ds(child->children, BOX_MAP_NAMES, &box);
        if (box) {
            if (!ReadChunkData3ds(box))
                return false;
            if (auto* rec = static_cast<BoxMap3ds*>(box->data)) {
                for (int i = 0; i < 6; ++i)
                    CopyName3ds(m->boxmap[i], sizeof m->boxmap[i], rec->names[i]);
                m->hasboxmap = 1;
            }
        }
        break;
    }
    case TEXCOORD_LIST: {
        auto* rec = static_cast<TexVertArray3ds*>(data);
        std::free(m->texverts);
        m->texvertcount = rec->count;
        m->texverts = rec->texverts;
        rec->texverts = nullptr;
        break;
    }
    case LOCAL_MATRIX:
        std::memcpy(m->localmatrix, static_cast<MeshMatrix3ds*>(data)->xmatrix,
                    sizeof m->localmatrix);
        break;
    case OBJECT_COLOR_INDEX:
        m->colorindex = static_cast<ByteValue3ds*>(data)->value;
        break;
    case MAPPING_INFO:
        m->hasmapping = 1;
        m->mapping = *static_cast<mapinfo3ds*>(data);
        break;
    case PROCEDURE_NAME:
        CopyName3ds(m->procname, sizeof m->procname, static_cast<StringData3ds*>(data)->name);
        break;
    case PROCEDURE_DATA: {
        auto* rec = static_cast<RawData3ds*>(data);
        std::free(m->procdata);
        m->procsize = rec->size;
        m->procdata = rec->data;
        rec->data = nullptr;
        break;
    }
    default:
        break;
    }
    return true;
}

void setObjectFlags(chunk3ds* object, mesh3ds* m) {
    struct {
        chunktag3ds tag;
        uint8_t mesh3ds::*field;
    } const flags[] = {{0x4010, &mesh3ds::flag4010}, {0x4011, &mesh3ds::flag4011},
                       {0x4012, &mesh3ds::flag4012}, {0x4013, &mesh3ds::flag4013},
                       {0x4014, &mesh3ds::flag4014}, {0x4016, &mesh3ds::flag4016},
                       {0x4017, &mesh3ds::flag4017}, {0x4015, &mesh3ds::flag4015}};
    for (const auto& f : flags) {
        chunk3ds* found = nullptr;
        FindChunkInSiblings3ds(object->children, f.tag, &found);
        m->*f.field = found ? 1 : 0;
    }
}

// Shared checks of the fetches; false when the fetch must stop. Null arguments and a database
// without root stop it even when errors are ignored: nothing sensible could follow.
bool checkMeshDatabase(database3ds* db, bool nameOk, mesh3ds** mesh) {
    if (!db || !nameOk || !mesh) {
        PushErrList3ds(ERR_INVALID_ARG);
        return false;
    }
    if (!db->root) {
        PushErrList3ds(ERR_INVALID_DATABASE);
        return false;
    }
    if (db->root->tag != MESH_FILE && db->root->tag != PROJECT_FILE) {
        PushErrList3ds(ERR_WRONG_DATABASE);
        if (!ignoreftkerr3ds)
            return false;
    }
    return true;
}

} // namespace

uint32_t GetMeshCount3ds(database3ds* db) {
    if (!db) {
        PushErrList3ds(ERR_INVALID_ARG);
        return 0;
    }
    RefreshObjectList3ds(db);
    if (failed() || !db->objects)
        return 0;
    uint32_t count = 0;
    for (uint32_t i = 0; i < db->objects->count; ++i)
        count += hasTrimesh(db->objects->entries[i].chunk);
    return count;
}

void GetMeshNameList3ds(database3ds* db, namelist3ds** list) {
    if (!db || !list) {
        PushErrList3ds(ERR_INVALID_ARG);
        return;
    }
    RefreshObjectList3ds(db);
    uint32_t count = GetMeshCount3ds(db);
    InitNameList3ds(list, count);
    if (!*list || !(*list)->names || !db->objects)
        return;
    uint32_t slot = 0;
    for (uint32_t i = 0; i < db->objects->count && slot < count; ++i) {
        chunklistentry3ds& e = db->objects->entries[i];
        if (!hasTrimesh(e.chunk))
            continue;
        (*list)->names[slot].name = StrDup3ds(e.name);
        if (!(*list)->names[slot].name) {
            PushErrList3ds(ERR_NO_MEM);
            return;
        }
        ++slot;
    }
}

void GetMeshByName3ds(database3ds* db, const char* name, mesh3ds** mesh) {
    if (!checkMeshDatabase(db, name != nullptr, mesh))
        return;
    RefreshObjectList3ds(db);
    if (failed() || !db->objects)
        return;
    for (uint32_t i = 0; i < db->objects->count; ++i) {
        chunklistentry3ds& e = db->objects->entries[i];
        if (std::strcmp(e.name, name) != 0)
            continue;
        if (hasTrimesh(e.chunk))
            ExtractMeshObject3ds(e.chunk, mesh);
        return;
    }
}

void GetMeshByIndex3ds(database3ds* db, uint32_t index, mesh3ds** mesh) {
    if (!checkMeshDatabase(db, true, mesh))
        return;
    RefreshObjectList3ds(db);
    if (failed() || !db->objects)
        return;
    uint32_t seen = 0;
    for (uint32_t i = 0; i < db->objects->count; ++i) {
        chunklistentry3ds& e = db->objects->entries[i];
        if (!hasTrimesh(e.chunk))
            continue;
        if (seen++ == index) {
            ExtractMeshObject3ds(e.chunk, mesh);
            return;
        }
    }
}

void ExtractMeshObject3ds(chunk3ds* object, mesh3ds** mesh) {
    if (!object || !mesh) {
        PushErrList3ds(ERR_INVALID_ARG);
        return;
    }
    chunk3ds* trimesh = nullptr;
    FindChunkInSiblings3ds(object->children, TRIMESH_BLOCK, &trimesh);
    if (!trimesh) {
        PushErrList3ds(ERR_WRONG_OBJECT);
        return;
    }
    InitMeshObj3ds(mesh, 0, 0, InitNoExtras3ds);
    if (failed() || !*mesh)
        return;
    mesh3ds* m = *mesh;

    // Work on a private copy so that the arrays can be taken over without disturbing the database.
    chunk3ds* copy = nullptr;
    CopyChunkTree3ds(object, &copy);
    if (!copy)
        return;
    if (ReadChunkData3ds(copy)) {
        if (auto* rec = static_cast<StringData3ds*>(copy->data))
            CopyName3ds(m->name, sizeof m->name, rec->name);
    } else if (!ignoreftkerr3ds) {
        FreeChunkTree3ds(&copy);
        return;
    }

    // The smoothing masks carry no count of their own and readers index them by face: an array
    // left from a mesh fetched earlier into this record could be shorter than this mesh's faces,
    // so it goes, and the masks found here are padded to the face count at the end.
    std::free(m->smoothing);
    m->smoothing = nullptr;
    size_t smoothLen = 0;
    chunk3ds* block = nullptr;
    FindChunkInSiblings3ds(copy->children, TRIMESH_BLOCK, &block);
    for (chunk3ds* child = block ? block->children : nullptr; child; child = child->sibling) {
        if (child->tag < VERTEX_LIST || child->tag > PROCEDURE_DATA)
            continue;
        if (!takeTrimeshChild(child, m, smoothLen) && !ignoreftkerr3ds)
            break;
    }
    if (m->smoothing && smoothLen < m->facecount)
        sizeArray(m->smoothing, smoothLen, m->facecount, uint32_t(0));
    setObjectFlags(copy, m);
    FreeChunkTree3ds(&copy);
}

void InitMeshObj3ds(mesh3ds** mesh, uint16_t vertexcount, uint16_t facecount, uint16_t initflags) {
    if (!mesh) {
        PushErrList3ds(ERR_INVALID_ARG);
        return;
    }
    if (!*mesh) {
        *mesh = static_cast<mesh3ds*>(std::calloc(1, sizeof(mesh3ds)));
        if (!*mesh) {
            PushErrList3ds(ERR_NO_MEM);
            return;
        }
    }
    mesh3ds* m = *mesh;
    // The group array itself stays, but the face arrays of its groups would be lost once the
    // count is reset, so they are freed here.
    freeGroupFaces(m);
    m->name[0] = '\0';
    m->flag4010 = m->flag4011 = m->flag4013 = m->flag4012 = m->flag4014 = m->flag4017 =
        m->flag4016 = m->flag4015 = 0;
    m->vertexcount = vertexcount;
    m->facecount = facecount;
    m->texvertcount = 0;
    m->vertexflagcount = 0;
    m->matgroupcount = 0;
    m->hasmapping = 0;
    defaultMapping(m->mapping);
    std::memset(m->localmatrix, 0, sizeof m->localmatrix);
    m->hasboxmap = 0;
    for (char* box : m->boxmap)
        box[0] = '\0';
    m->colorindex = 0;
    m->procsize = 0;
    m->procname[0] = '\0';

    InitMeshObjField3ds(m, InitVertexArray3ds | InitFaceArray3ds);
    if (initflags & InitTextArray3ds) {
        m->texvertcount = vertexcount;
        InitMeshObjField3ds(m, InitTextArray3ds);
    }
    if (initflags & InitVFlagArray3ds)
        InitMeshObjField3ds(m, InitVFlagArray3ds);
    if (initflags & InitSmoothArray3ds)
        InitMeshObjField3ds(m, InitSmoothArray3ds);
}

void InitMeshObjField3ds(mesh3ds* m, uint16_t initflags) {
    if (!m) {
        PushErrList3ds(ERR_INVALID_ARG);
        return;
    }
    // The record keeps no array lengths apart from the counts, which the caller has already
    // set: an existing array keeps its contents up to the new count (the kept part is the
    // caller's), and only a new array is filled with defaults.
    if (initflags & InitVertexArray3ds)
        sizeArray(m->vertices, m->vertexcount, m->vertexcount, point3ds{0, 0, 0});
    if (initflags & InitTextArray3ds)
        sizeArray(m->texverts, m->texvertcount, m->texvertcount, textvert3ds{0, 0});
    if (initflags & InitFaceArray3ds)
        sizeArray(m->faces, m->facecount, m->facecount, face3ds{0, 1, 2, 0});
    if (initflags & InitMatArray3ds)
        sizeArray(m->matgroups, m->matgroupcount, m->matgroupcount, objmat3ds{});
    if (initflags & InitSmoothArray3ds)
        sizeArray(m->smoothing, m->facecount, m->facecount, uint32_t(0));
    if (initflags & InitProcData3ds)
        sizeArray(m->procdata, m->procsize, m->procsize, uint8_t(0));
    if (initflags & InitVFlagArray3ds) {
        // The flags are sized by the vertex count; their count follows so the two always agree.
        if (sizeArray(m->vertexflags, m->vertexflagcount, m->vertexcount, uint16_t(0)))
            m->vertexflagcount = m->vertexcount;
    }
}

void RelMeshObj3ds(mesh3ds** mesh) {
    if (!mesh || !*mesh)
        return;
    mesh3ds* m = *mesh;
    std::free(m->vertices);
    std::free(m->vertexflags);
    std::free(m->texverts);
    std::free(m->faces);
    std::free(m->smoothing);
    freeGroupFaces(m);
    std::free(m->matgroups);
    std::free(m->procdata);
    std::free(m);
    *mesh = nullptr;
}
