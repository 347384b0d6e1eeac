// Databases: the chunk tree's records, building a database from a file, detaching and releasing
// it, and the name lists handed to callers (database3ds.cpp).
#pragma once

#include <cstdint>

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

struct file3ds;

void InitDatabase3ds(database3ds** db);
void CreateDatabase3ds(file3ds* file, database3ds* db);
void CreateNewDatabase3ds(database3ds* db, dbtype3ds type);
// Loads every chunk's data and cuts the tree from its file, so the file may be closed. A chunk
// that fails to load is reported and cut all the same, and the walk goes on past it.
void DisconnectDatabase3ds(database3ds* db);
void ReleaseDatabase3ds(database3ds** db);
dbtype3ds GetDatabaseType3ds(database3ds* db);

// Name lists handed to callers.
void InitNameList3ds(namelist3ds** list, uint32_t count);
void ReleaseNameList3ds(namelist3ds** list);
