// Drawable models built from .3ds scene files: materials, meshes laid out for vertex arrays,
// smoothed normals and bounding spheres.
#pragma once

#include <cstdint>

#include "render/boundingsphere.h"
#include "shared/vector3f.h"

struct database3ds;

struct MATERIAL {
    float ambient[4]; // alpha 0
    float diffuse[4];
    float specular[4];
    float shininess;
    char name[17];
    char texFile[13];
    bool hasTexture;
    unsigned int texture; // GL name; 0 when the file failed to load
};

struct VERTEX {
    Vector3f pos;
    Vector3f normal; // normalised average of its faces' normals; (0, 1, 0) for a vertex of no face
    int32_t faceCount;
    float u, v; // (0, 0) when the file's texture-coordinate count differs from the vertex count
};

struct FACE {
    int32_t vert[3];
    Vector3f normal; // (P1 - P0) x (P2 - P0), not normalised
    BoundingSphere bounds;
};

// Faces naming a vertex past the vertex count are left out (of faces, indices and normals);
// numFaces counts the faces kept. A mesh without vertices has centre (0, 0, 0) and radius 0.
struct MESH {
    int32_t matIndex; // -1: no material of the file matched; drawn with the plain material
    int32_t numFaces;
    FACE* faces;
    int32_t numVerts;
    VERTEX* verts;
    BoundingSphere bounds;
    float* vertexArray;   // 3 per vertex
    float* normalArray;   // 3 per vertex, unit length
    float* texCoordArray; // 2 per vertex
    uint16_t* indices;    // 3 per face
};

class maxMesh {
  public:
    database3ds* db;
    int32_t numMeshes;
    int32_t numMats;
    MESH* meshes;
    MATERIAL* mats;

    // Builds the whole model; needs a current GL context (material textures are loaded).
    explicit maxMesh(const char* filename);
    ~maxMesh();
    maxMesh(const maxMesh&) = delete;
    maxMesh& operator=(const maxMesh&) = delete;

    void LoadDatabase(const char* filename);
    void draw();
};

// What a mesh without a matching material is drawn with: light grey (diffuse 0.8, ambient 0.2),
// no specular, shininess 0, untextured.
extern const MATERIAL PlainMaterial;
