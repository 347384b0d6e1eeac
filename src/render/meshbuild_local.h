// Internal to the model loader: one MESH built from one mesh record of the scene database.
#pragma once

#include "render/maxmesh.h"

struct mesh3ds;

// Fills `out` (a default-constructed MESH) from `src`: vertex arrays, face normals and spheres,
// smoothed unit vertex normals, the mesh sphere and the index of the first material whose name
// equals the mesh's first material group (-1 when none does).
void BuildMesh(const mesh3ds& src, const MATERIAL* mats, int32_t numMats, MESH* out);

// An empty mesh: no vertices or faces, radius 0, drawn with the plain material.
void BuildEmptyMesh(MESH* out);

// Frees the arrays BuildMesh made.
void FreeMesh(MESH* mesh);
