// maxMesh construction and destruction: the scene file read into a database, then its
// materials (with their textures, which the model owns) and its meshes copied out in list order.
#include "render/maxmesh.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstring>

#include "render/meshbuild_local.h"
#include "render/texture.h"
#include "scene3ds/scene3ds.h"

namespace {

void CopyName(char* dst, size_t capacity, const char* src) {
    std::snprintf(dst, capacity, "%.*s", static_cast<int>(capacity - 1), src ? src : "");
}

void SetColour(float* dst, const fcolor3ds& c) {
    dst[0] = c.r;
    dst[1] = c.g;
    dst[2] = c.b;
    dst[3] = 0.0f;
}

// A listed material the database will not hand out (an earlier failure is still pending in its
// error list) keeps its name and gets the plain material's colours and no texture.
void BuildMaterial(database3ds* db, const char* name, MATERIAL* out) {
    material3ds* src = nullptr;
    if (name)
        GetMaterialByName3ds(db, name, &src);
    if (!src) {
        *out = PlainMaterial;
        CopyName(out->name, sizeof out->name, name);
        return;
    }
    SetColour(out->ambient, src->ambient);
    SetColour(out->diffuse, src->diffuse);
    SetColour(out->specular, src->specular);
    out->shininess = src->shininess;
    CopyName(out->texFile, sizeof out->texFile, src->texmap.name);
    out->hasTexture = out->texFile[0] != '\0';
    out->texture = out->hasTexture ? LoadGLTextures(out->texFile) : 0;
    CopyName(out->name, sizeof out->name, src->name);
    ReleaseMaterial3ds(&src);
}

} // namespace

maxMesh::maxMesh(const char* filename)
    : db(nullptr), numMeshes(0), numMats(0), meshes(nullptr), mats(nullptr) {
    LoadDatabase(filename);

    namelist3ds* list = nullptr;
    GetMaterialNameList3ds(db, &list);
    numMats = list ? static_cast<int32_t>(list->count) : 0;
    mats = new MATERIAL[numMats];
    for (int32_t i = 0; i < numMats; ++i)
        BuildMaterial(db, list->names ? list->names[i].name : nullptr, &mats[i]);
    ReleaseNameList3ds(&list);

    GetMeshNameList3ds(db, &list);
    numMeshes = list ? static_cast<int32_t>(list->count) : 0;
    meshes = new MESH[numMeshes];
    for (int32_t i = 0; i < numMeshes; ++i) {
        mesh3ds* src = nullptr;
        const char* name = list->names ? list->names[i].name : nullptr;
        if (name)
            GetMeshByName3ds(db, name, &src);
        if (src)
            BuildMesh(*src, mats, numMats, &meshes[i]);
        else
            BuildEmptyMesh(&meshes[i]);
        RelMeshObj3ds(&src);
    }
    ReleaseNameList3ds(&list);
}

void maxMesh::LoadDatabase(const char* filename) {
    db = nullptr;
    // The scene database refuses every later file while an earlier failure is still listed, so
    // one missing model would blank every model loaded after it. Each model starts clean.
    ClearErrList3ds();
    file3ds* file = OpenFile3ds(filename, "r");
    InitDatabase3ds(&db);
    CreateDatabase3ds(file, db);
    DisconnectDatabase3ds(db);
    CloseFile3ds(file);
}

maxMesh::~maxMesh() {
    // Every game loads its models afresh; textures left alive would pile up in the context with
    // each restart.
    for (int32_t i = 0; i < numMats; ++i) {
        if (mats[i].texture != 0) {
            glDeleteTextures(1, &mats[i].texture);
        }
    }
    delete[] mats;
    for (int32_t i = 0; i < numMeshes; ++i)
        FreeMesh(&meshes[i]);
    delete[] meshes;
    ReleaseDatabase3ds(&db);
}
