// Fuzz harness for the scene database: runs the model loader's whole sequence on arbitrary bytes,
// once stopping at the first error and once carrying on past every error.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "scene3ds/scene3ds.h"

namespace {

const std::string& inputPath() {
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        return std::string(dir && *dir ? dir : "/tmp") + "/hw-scene3ds-fuzz-" +
               std::to_string(getpid()) + ".3ds";
    }();
    return path;
}

// Reads every element the record claims to hold, so that a count that disagrees with its array
// shows up under AddressSanitizer.
volatile uint32_t sink;

// A float's bits: any value the file holds, NaN and out-of-range ones included, is touched
// without a conversion that could itself be undefined.
uint32_t bitsOf(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

void touchMesh(const mesh3ds* m) {
    uint32_t acc = 0;
    for (uint16_t i = 0; i < m->vertexcount; ++i)
        acc += bitsOf(m->vertices[i].x) + bitsOf(m->vertices[i].y) + bitsOf(m->vertices[i].z);
    for (uint16_t i = 0; i < m->texvertcount; ++i)
        acc += bitsOf(m->texverts[i].u) + bitsOf(m->texverts[i].v);
    for (uint16_t i = 0; i < m->vertexflagcount; ++i)
        acc += m->vertexflags[i];
    for (uint16_t i = 0; i < m->facecount; ++i) {
        acc += m->faces[i].v1 + m->faces[i].v2 + m->faces[i].v3 + m->faces[i].flag;
        if (m->smoothing)
            acc += m->smoothing[i];
    }
    for (uint16_t g = 0; g < m->matgroupcount; ++g) {
        acc += static_cast<uint32_t>(std::string(m->matgroups[g].name).size());
        for (uint16_t i = 0; i < m->matgroups[g].facecount; ++i)
            acc += m->matgroups[g].faces[i];
    }
    for (uint32_t i = 0; i < m->procsize; ++i)
        acc += m->procdata[i];
    acc += static_cast<uint32_t>(std::string(m->name).size() + std::string(m->procname).size());
    for (const auto& box : m->boxmap)
        acc += static_cast<uint32_t>(std::string(box).size());
    sink = acc;
}

void touchMaterial(const material3ds* m) {
    uint32_t acc = static_cast<uint32_t>(std::string(m->name).size());
    const bitmap3ds* maps[] = {&m->texmap,  &m->mapA33E, &m->mapA33A, &m->mapA340,
                               &m->mapA210, &m->mapA342, &m->mapA230, &m->mapA344,
                               &m->mapA204, &m->mapA348, &m->mapA33C, &m->mapA346,
                               &m->mapA33D, &m->mapA34A, &m->mapA220, &m->mapA34C};
    for (const bitmap3ds* b : maps) {
        acc += static_cast<uint32_t>(std::string(b->name).size());
        for (uint32_t i = 0; i < b->procsize; ++i)
            acc += b->procdata[i];
    }
    sink = acc;
}

void loadModel(const char* path) {
    file3ds* file = OpenFile3ds(path, "r");
    database3ds* db = nullptr;
    InitDatabase3ds(&db);
    CreateDatabase3ds(file, db);
    DisconnectDatabase3ds(db);
    CloseFile3ds(file);

    namelist3ds* names = nullptr;
    GetMaterialNameList3ds(db, &names);
    for (uint32_t i = 0; names && i < names->count; ++i) {
        material3ds* mat = nullptr;
        if (names->names[i].name)
            GetMaterialByName3ds(db, names->names[i].name, &mat);
        GetMaterialByIndex3ds(db, i, &mat);
        if (mat)
            touchMaterial(mat);
        ReleaseMaterial3ds(&mat);
    }
    ReleaseNameList3ds(&names);

    GetMeshNameList3ds(db, &names);
    mesh3ds* reused = nullptr;
    for (uint32_t i = 0; names && i < names->count; ++i) {
        mesh3ds* mesh = nullptr;
        if (names->names[i].name)
            GetMeshByName3ds(db, names->names[i].name, &mesh);
        if (mesh)
            touchMesh(mesh);
        RelMeshObj3ds(&mesh);
        GetMeshByIndex3ds(db, i, &reused);
        if (reused)
            touchMesh(reused);
    }
    RelMeshObj3ds(&reused);
    ReleaseNameList3ds(&names);
    ReleaseDatabase3ds(&db);
    ClearErrList3ds();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = inputPath();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    if (size)
        std::fwrite(data, 1, size, f);
    std::fclose(f);

    ignoreftkerr3ds = 0;
    loadModel(path.c_str());
    ignoreftkerr3ds = 1;
    loadModel(path.c_str());
    ignoreftkerr3ds = 0;
    CloseAllFiles3ds();
    ClearErrList3ds();
    std::remove(path.c_str());
    return 0;
}
