// Scene database core records and operations: open files, the chunk tree, databases, name lists.
#pragma once

#include <cstdint>
#include <cstdio>

#include "scene3ds/chunktags3ds.h"

// One node of the in-memory chunk tree, owned by its parent (the root by its database).
struct chunk3ds {
    chunktag3ds tag;
    uint32_t size;     // whole chunk, header included
    uint32_t position; // file offset of the header
    void* data;        // parsed body, loaded on demand; null until then
    chunk3ds* sibling;
    chunk3ds* children;
    uint8_t readindex;  // open-file slot the chunk reads from; 255 = detached
    uint8_t writeindex; // open-file slot last written to; 255 = none
};

struct chunklistentry3ds {
    char* name;
    chunk3ds* chunk; // borrowed from the tree
};

struct chunklist3ds {
    uint32_t count;
    chunklistentry3ds* entries;
};

struct namelistentry3ds {
    char* name; // owned; null when the slot is empty
};

struct namelist3ds {
    uint32_t count;
    uint32_t capacity; // equals count, or 5 for a list made with a count of 0
    namelistentry3ds* names;
};

struct database3ds {
    chunk3ds* root;
    uint8_t objectsstale;
    uint8_t materialsstale;
    uint8_t nodesstale;
    chunklist3ds* objects;
    chunklist3ds* materials;
    chunklist3ds* nodes;
};

enum dbtype3ds { Unknown = 0, MeshFile = 1, ProjectFile = 2, MaterialFile = 3 };

enum filestate3ds { StateNotKnown = 0, ReadFromFile = 1, WriteToFile = 2, ReadWriteFile = 3 };

struct file3ds {
    FILE* stream;
    char* filename;
    filestate3ds state;
    uint8_t index; // open-file table slot; 255 = not registered
    uint8_t* buffer;
    int32_t buffersize;
    uint8_t istemporary;
};

constexpr int MaxOpenFiles3ds = 252;
constexpr uint8_t NoFileIndex3ds = 255;
// Size of the module-owned buffer given to every stream.
constexpr int32_t StreamBufferSize3ds = 8192;

// Files.
file3ds* OpenFile3ds(const char* filename, const char* attrib);
void CloseFile3ds(file3ds* file);
void CloseAllFiles3ds();
bool IsValidFileIndex3ds(uint32_t index);

// Databases.
void InitDatabase3ds(database3ds** db);
void CreateDatabase3ds(file3ds* file, database3ds* db);
void CreateNewDatabase3ds(database3ds* db, dbtype3ds type);
void DisconnectDatabase3ds(database3ds* db);
void ReleaseDatabase3ds(database3ds** db);
dbtype3ds GetDatabaseType3ds(database3ds* db);

// Name lists handed to callers.
void InitNameList3ds(namelist3ds** list, uint32_t count);
void ReleaseNameList3ds(namelist3ds** list);

// Tree operations the mesh and material extraction build on.
void* LoadChunkData3ds(chunk3ds* chunk);
void FindChunkInTree3ds(chunk3ds* chunk, chunktag3ds tag, chunk3ds** found);
void FindChunkInSiblings3ds(chunk3ds* chunk, chunktag3ds tag, chunk3ds** found);
void CopyChunkTree3ds(chunk3ds* source, chunk3ds** copy);
void FreeChunkTree3ds(chunk3ds** chunk);
void RefreshObjectList3ds(database3ds* db);
void RefreshMaterialList3ds(database3ds* db);
