// Material records copied out of the scene database, and the operations that list and fetch them.
#pragma once

#include <cstdint>

#include "scene3ds/database3ds.h"

struct fcolor3ds {
    float r, g, b;
};

enum tiletype3ds { Tile = 1, Decal = 2, Both = 3 };
enum filtertype3ds { Pyramidal = 0, SummedArea = 1 };
enum tinttype3ds { RGB = 0, Alpha = 1, RGBLumaTint = 2, AlphaTint = 3, RGBTint = 4 };
enum shadetype3ds { Wire = 0, Flat = 1, Gouraud = 2, Phong = 3, Metal = 4 };

// One texture or mask map of a material.
struct bitmap3ds {
    char name[13];
    float percent;
    tiletype3ds tiling;
    uint8_t ignorealpha;
    filtertype3ds filter;
    float blur;
    uint8_t mirror;
    uint8_t negative;
    float uscale, vscale;
    float uoffset, voffset;
    float rotation;
    tinttype3ds tint;
    fcolor3ds tint1, tint2, tint3, tint4, tint5;
    uint32_t procsize;
    uint8_t* procdata;
};

struct material3ds {
    char name[17];
    fcolor3ds ambient;
    fcolor3ds diffuse;
    fcolor3ds specular;
    float shininess;
    float percentA041;
    float percentA053;
    float percentA050;
    float percentA052;
    float percentA084;
    float valueA087;
    shadetype3ds shading;
    uint8_t flagA250, flagA240, flagA081, flagA080, flagA083;
    uint8_t flagA08E, flagA088, flagA08C;
    bitmap3ds texmap;
    bitmap3ds mapA33E, mapA33A, mapA340, mapA210, mapA342, mapA230, mapA344, mapA204, mapA348,
        mapA33C, mapA346, mapA33D, mapA34A, mapA220;
    uint8_t hasreflect;
    uint8_t reflectflag9, reflectflag17;
    uint32_t reflectvalue1;
    uint32_t reflectvalue2;
    bitmap3ds mapA34C;
};

uint32_t GetMaterialCount3ds(database3ds* db);
void GetMaterialNameList3ds(database3ds* db, namelist3ds** list);
void GetMaterialByName3ds(database3ds* db, const char* name, material3ds** mat);
void GetMaterialByIndex3ds(database3ds* db, uint32_t index, material3ds** mat);
void InitMaterial3ds(material3ds** mat);
void InitBitmap3ds(bitmap3ds* map);
void ReleaseMaterial3ds(material3ds** mat);
void ExtractMaterial3ds(chunk3ds* block, material3ds** mat);
