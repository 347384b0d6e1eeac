// Mesh records copied out of the scene database, and the operations that list and fetch them.
#pragma once

#include <cstdint>

#include "scene3ds/database3ds.h"

struct point3ds {
    float x, y, z;
};

struct textvert3ds {
    float u, v;
};

// Face edge visibility and texture wrap bits of face3ds::flag.
enum : uint16_t {
    FaceCAVisable3ds = 0x0001,
    FaceBCVisable3ds = 0x0002,
    FaceABVisable3ds = 0x0004,
    FaceUWrap3ds = 0x0008,
    FaceVWrap3ds = 0x0010
};

struct face3ds {
    uint16_t v1, v2, v3; // corners a, b, c
    uint16_t flag;
};

// One material group of a mesh: the faces drawn with one material.
struct objmat3ds {
    char name[17];
    uint16_t facecount;
    uint16_t* faces; // null when facecount is 0
};

struct mapinfo3ds {
    uint16_t maptype;
    float mapparams[21]; // in file order
};

struct mesh3ds {
    char name[11];
    uint8_t flag4010, flag4011, flag4013, flag4012, flag4014, flag4017, flag4016;
    uint16_t vertexcount;
    point3ds* vertices;
    uint16_t vertexflagcount;
    uint16_t* vertexflags;
    uint16_t texvertcount;
    textvert3ds* texverts;
    uint8_t hasmapping;
    mapinfo3ds mapping;
    float localmatrix[12];
    uint16_t facecount;
    face3ds* faces;
    uint32_t* smoothing; // one mask per face
    uint8_t hasboxmap;
    char boxmap[6][17];
    uint8_t colorindex;
    uint16_t matgroupcount;
    objmat3ds* matgroups;
    uint8_t flag4015;
    uint32_t procsize;
    char procname[13];
    uint8_t* procdata;
};

// Masks selecting the array fields InitMeshObj3ds / InitMeshObjField3ds size.
enum : uint16_t {
    InitNoExtras3ds = 0,
    InitVertexArray3ds = 1,
    InitTextArray3ds = 2,
    InitFaceArray3ds = 4,
    InitMatArray3ds = 8,
    InitSmoothArray3ds = 16,
    InitProcData3ds = 32,
    InitVFlagArray3ds = 64
};

uint32_t GetMeshCount3ds(database3ds* db);
void GetMeshNameList3ds(database3ds* db, namelist3ds** list);
void GetMeshByName3ds(database3ds* db, const char* name, mesh3ds** mesh);
void GetMeshByIndex3ds(database3ds* db, uint32_t index, mesh3ds** mesh);
void InitMeshObj3ds(mesh3ds** mesh, uint16_t vertexcount, uint16_t facecount, uint16_t initflags);
void InitMeshObjField3ds(mesh3ds* mesh, uint16_t initflags);
void RelMeshObj3ds(mesh3ds** mesh);
void ExtractMeshObject3ds(chunk3ds* object, mesh3ds** mesh);
