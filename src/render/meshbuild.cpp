// Building one model mesh: copies the mesh record into flat arrays, computes face normals,
// face and mesh bounding spheres and smoothed vertex normals.
//
// Damaged input stays safe: a face naming a vertex past the vertex count is dropped (from the
// draw indices, the face array and the normal sums); the rest of the mesh is kept.
#include "render/meshbuild_local.h"

#include <cmath>
#include <cstring>

#include "scene3ds/mesh3ds.h"

namespace {

// The extents start outside any coordinate a model is expected to use.
constexpr float ExtentStart = 10000.0f;

float SquaredDistance(const Vector3f& a, const Vector3f& b) {
    float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return dx * dx + dy * dy + dz * dz;
}

void SetArrays(MESH* out, int32_t numVerts, int32_t numFaces) {
    out->numVerts = numVerts;
    out->numFaces = numFaces;
    out->verts = new VERTEX[numVerts];
    out->vertexArray = new float[3 * static_cast<size_t>(numVerts)];
    out->normalArray = new float[3 * static_cast<size_t>(numVerts)];
    out->texCoordArray = new float[2 * static_cast<size_t>(numVerts)];
    out->faces = new FACE[numFaces];
    out->indices = new uint16_t[3 * static_cast<size_t>(numFaces)];
}

void CopyVertices(const mesh3ds& src, MESH* out) {
    Vector3f min(ExtentStart, ExtentStart, ExtentStart);
    Vector3f max(-ExtentStart, -ExtentStart, -ExtentStart);
    const bool hasUV = src.texvertcount == src.vertexcount && src.texverts;
    for (int32_t j = 0; j < out->numVerts; ++j) {
        VERTEX& v = out->verts[j];
        v.pos = Vector3f(src.vertices[j].x, src.vertices[j].y, src.vertices[j].z);
        v.normal = Vector3f();
        v.faceCount = 0;
        v.u = hasUV ? src.texverts[j].u : 0.0f;
        v.v = hasUV ? src.texverts[j].v : 0.0f;
        if (v.pos.x > max.x)
            max.x = v.pos.x;
        if (v.pos.x < min.x)
            min.x = v.pos.x;
        if (v.pos.y > max.y)
            max.y = v.pos.y;
        if (v.pos.y < min.y)
            min.y = v.pos.y;
        if (v.pos.z > max.z)
            max.z = v.pos.z;
        if (v.pos.z < min.z)
            min.z = v.pos.z;
        out->vertexArray[3 * j] = v.pos.x;
        out->vertexArray[3 * j + 1] = v.pos.y;
        out->vertexArray[3 * j + 2] = v.pos.z;
        out->texCoordArray[2 * j] = v.u;
        out->texCoordArray[2 * j + 1] = v.v;
    }

    BoundingSphere& b = out->bounds;
    b.center = Vector3f((min.x + max.x) / 2, (min.y + max.y) / 2, (min.z + max.z) / 2);
    float largest = -1.0f;
    for (int32_t j = 0; j < out->numVerts; ++j) {
        float d = SquaredDistance(out->verts[j].pos, b.center);
        if (d > largest)
            largest = d;
    }
    // No vertices: a point sphere rather than the square root of a negative number.
    b.radius = out->numVerts > 0 ? std::sqrt(largest) : 0.0f;
}

bool FaceFits(const face3ds& f, int32_t numVerts) {
    return f.v1 < numVerts && f.v2 < numVerts && f.v3 < numVerts;
}

void BuildFaces(const mesh3ds& src, MESH* out) {
    int32_t f = 0;
    for (uint16_t i = 0; i < src.facecount; ++i) {
        const face3ds& in = src.faces[i];
        if (!FaceFits(in, out->numVerts))
            continue;
        FACE& face = out->faces[f];
        face.vert[0] = in.v1;
        face.vert[1] = in.v2;
        face.vert[2] = in.v3;
        const Vector3f& p0 = out->verts[in.v1].pos;
        const Vector3f& p1 = out->verts[in.v2].pos;
        const Vector3f& p2 = out->verts[in.v3].pos;
        face.bounds.center =
            Vector3f((p0.x + p1.x + p2.x) / 3, (p0.y + p1.y + p2.y) / 3, (p0.z + p1.z + p2.z) / 3);
        float largest = SquaredDistance(p0, face.bounds.center);
        float d1 = SquaredDistance(p1, face.bounds.center);
        float d2 = SquaredDistance(p2, face.bounds.center);
        if (d1 > largest)
            largest = d1;
        if (d2 > largest)
            largest = d2;
        face.bounds.radius = std::sqrt(largest);
        for (int k = 0; k < 3; ++k)
            ++out->verts[face.vert[k]].faceCount;
        face.normal = p1.difference(p0).cross(p2.difference(p0));
        for (int k = 0; k < 3; ++k)
            out->indices[3 * f + k] = static_cast<uint16_t>(face.vert[k]);
        ++f;
    }
}

// Stored normal: the normalised average of the face normals around the vertex. A vertex of no
// face, or whose faces cancel out, points up (0, 1, 0) so every vertex has a unit normal.
void SmoothNormals(MESH* out) {
    for (int32_t f = 0; f < out->numFaces; ++f)
        for (int k = 0; k < 3; ++k)
            out->verts[out->faces[f].vert[k]].normal.add(out->faces[f].normal);
    for (int32_t j = 0; j < out->numVerts; ++j) {
        VERTEX& v = out->verts[j];
        if (v.faceCount > 0) {
            float n = static_cast<float>(v.faceCount);
            v.normal = Vector3f(v.normal.x / n, v.normal.y / n, v.normal.z / n);
            v.normal.normalize();
        }
        if (v.faceCount == 0 || v.normal.length == 0.0f)
            v.normal = Vector3f(0.0f, 1.0f, 0.0f);
        out->normalArray[3 * j] = v.normal.x;
        out->normalArray[3 * j + 1] = v.normal.y;
        out->normalArray[3 * j + 2] = v.normal.z;
    }
}

int32_t FindMaterial(const mesh3ds& src, const MATERIAL* mats, int32_t numMats) {
    if (src.matgroupcount == 0 || !src.matgroups)
        return -1;
    const char* wanted = src.matgroups[0].name;
    for (int32_t i = 0; i < numMats; ++i)
        if (std::strncmp(mats[i].name, wanted, sizeof mats[i].name) == 0)
            return i;
    return -1;
}

} // namespace

void BuildMesh(const mesh3ds& src, const MATERIAL* mats, int32_t numMats, MESH* out) {
    int32_t numVerts = src.vertices ? src.vertexcount : 0;
    int32_t numFaces = 0;
    if (src.faces)
        for (uint16_t i = 0; i < src.facecount; ++i)
            if (FaceFits(src.faces[i], numVerts))
                ++numFaces;
    SetArrays(out, numVerts, numFaces);
    CopyVertices(src, out);
    if (src.faces)
        BuildFaces(src, out);
    SmoothNormals(out);
    out->matIndex = FindMaterial(src, mats, numMats);
}

void BuildEmptyMesh(MESH* out) {
    SetArrays(out, 0, 0);
    out->bounds.center = Vector3f();
    out->bounds.radius = 0.0f;
    out->matIndex = -1;
}

void FreeMesh(MESH* mesh) {
    delete[] mesh->faces;
    delete[] mesh->verts;
    delete[] mesh->vertexArray;
    delete[] mesh->texCoordArray;
    delete[] mesh->normalArray;
    delete[] mesh->indices;
    mesh->faces = nullptr;
    mesh->verts = nullptr;
    mesh->vertexArray = nullptr;
    mesh->texCoordArray = nullptr;
    mesh->normalArray = nullptr;
    mesh->indices = nullptr;
}
