// The world-object base (model, list membership, two-level sphere test, debug reaction) and the
// list.
#include "main/gameobject.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <vector>

#include "platform/platform.h"
#include "render/maxmesh.h"

bool GameObject::collideBoxSilenced = false;

float worldDistance(float ax, float ay, float az, float bx, float by, float bz) {
    const float dx = ax - bx;
    const float dy = ay - by;
    const float dz = az - bz;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

GameObject::GameObject()
    : collided(false), typeID(STATIONARY_PIECE), mesh(nullptr), xpos(0.0f), ypos(0.0f), zpos(0.0f),
      next(nullptr) {
    join();
}

GameObject::GameObject(const char* fileName)
    : collided(false), typeID(STATIONARY_PIECE), mesh(nullptr), xpos(0.0f), ypos(0.0f), zpos(0.0f),
      next(nullptr) {
    if (fileName != nullptr) {
        mesh = new (std::nothrow) maxMesh(fileName);
    }
    join();
}

void GameObject::join() {
    // Without a list nobody would own the object; it stays alone rather than crash.
    if (hoopwind != nullptr) {
        hoopwind->addObject(this);
    }
}

GameObject::~GameObject() {
    delete mesh;
}

bool GameObject::hasShape() const {
    return mesh != nullptr && mesh->numMeshes > 0;
}

void GameObject::step() {}

void GameObject::draw() {
    step();
    if (hasShape()) {
        mesh->draw();
    }
}

namespace {

// A face sphere translated to its object's place, with its index in the mesh.
struct PlacedFace {
    int32_t index;
    float x, y, z, radius;
};

// Scratch lists reused from pair to pair, so a frame allocates nothing once they have grown.
std::vector<PlacedFace>& scratchA() {
    static std::vector<PlacedFace> v;
    return v;
}
std::vector<PlacedFace>& scratchB() {
    static std::vector<PlacedFace> v;
    return v;
}

float magnitude3(float x, float y, float z) {
    return std::fabs(x) + std::fabs(y) + std::fabs(z);
}

// The faces of `m` placed at (px, py, pz) that could touch some face of the other mesh, whose
// sphere (placed centre c, radius r) holds every centre of its faces and whose face radii are at
// most rFace. A face whose centre lies farther than r + rFace + its own radius from c touches
// none of them; the margin covers float rounding many times over, and a bound that is not a
// finite number prunes nothing. Kept faces stay in index order.
void placeCandidates(const MESH& m, float px, float py, float pz, float cx, float cy, float cz,
                     float r, float rFace, std::vector<PlacedFace>& out) {
    out.clear();
    const float reach = r + rFace;
    const float scale = magnitude3(cx, cy, cz) + std::fabs(reach);
    for (int32_t k = 0; k < m.numFaces; ++k) {
        const BoundingSphere& f = m.faces[k].bounds;
        const float x = f.center.x + px;
        const float y = f.center.y + py;
        const float z = f.center.z + pz;
        const float d = worldDistance(x, y, z, cx, cy, cz);
        const float bound = reach + f.radius;
        const float margin = 1e-3f + 1e-4f * (scale + magnitude3(x, y, z) + std::fabs(f.radius));
        const bool provablyApart = std::isfinite(d) && std::isfinite(bound) &&
                                   std::isfinite(margin) && d >= bound + margin;
        if (!provablyApart) {
            out.push_back(PlacedFace{k, x, y, z, f.radius});
        }
    }
}

// The largest face radius of a mesh; infinity when any is not a finite number, so that such a
// mesh prunes nothing.
float largestFaceRadius(const MESH& m) {
    float largest = 0.0f;
    for (int32_t k = 0; k < m.numFaces; ++k) {
        const float r = m.faces[k].bounds.radius;
        if (!std::isfinite(r)) {
            return std::numeric_limits<float>::infinity();
        }
        largest = std::max(largest, r);
    }
    return largest;
}

} // namespace

// The face level of the two-level test for one pair of overlapping mesh spheres. Only face pairs
// that the sphere bounds cannot rule out are measured, in the same k-then-l order and with the
// same float arithmetic as measuring every pair, so the reactions, their order and their
// arguments are those of the full double loop. A reaction that moves either object makes the
// rest of the pass start again from the next face pair with the new positions.
void GameObject::collideFaces(GameObject* other, const MESH& a, const MESH& b) {
    std::vector<PlacedFace>& mine = scratchA();
    std::vector<PlacedFace>& theirs = scratchB();
    int32_t fromK = 0;
    int32_t fromL = 0;
    bool again = true;
    while (again) {
        again = false;
        const float ax0 = xpos, ay0 = ypos, az0 = zpos;
        const float bx0 = other->xpos, by0 = other->ypos, bz0 = other->zpos;
        placeCandidates(a, ax0, ay0, az0, b.bounds.center.x + bx0, b.bounds.center.y + by0,
                        b.bounds.center.z + bz0, b.bounds.radius, largestFaceRadius(b), mine);
        placeCandidates(b, bx0, by0, bz0, a.bounds.center.x + ax0, a.bounds.center.y + ay0,
                        a.bounds.center.z + az0, a.bounds.radius, largestFaceRadius(a), theirs);
        for (const PlacedFace& fa : mine) {
            if (fa.index < fromK) {
                continue;
            }
            for (const PlacedFace& fb : theirs) {
                if (fa.index == fromK && fb.index < fromL) {
                    continue;
                }
                const float fd = worldDistance(fb.x, fb.y, fb.z, fa.x, fa.y, fa.z);
                if (!(fd < fa.radius + fb.radius)) {
                    continue;
                }
                other->reactCollision(xpos, ypos, zpos, typeID);
                reactCollision(fb.x, fb.y, fb.z, other->typeID);
                if (xpos != ax0 || ypos != ay0 || zpos != az0 || other->xpos != bx0 ||
                    other->ypos != by0 || other->zpos != bz0) {
                    fromK = fa.index;
                    fromL = fb.index + 1;
                    again = true;
                    break;
                }
            }
            if (again) {
                break;
            }
            fromL = 0;
        }
    }
}

void GameObject::detectCollision() {
    if (typeID == STATIONARY_PIECE || !hasShape()) {
        return;
    }
    for (GameObject* other = next; other != nullptr; other = other->next) {
        if (other->getMesh() == nullptr || !other->hasShape()) {
            continue;
        }
        // Two flyers passing through each other touch in some hundred thousand face pairs, and
        // every reaction either side would make does nothing: skip measuring them.
        if (!other->reactsTo(typeID) && !reactsTo(other->typeID)) {
            continue;
        }
        const maxMesh* theirs = other->getMesh();
        for (int32_t i = 0; i < mesh->numMeshes; ++i) {
            const MESH& a = mesh->meshes[i];
            for (int32_t j = 0; j < theirs->numMeshes; ++j) {
                const MESH& b = theirs->meshes[j];
                const float d =
                    worldDistance(b.bounds.center.x + other->xpos, b.bounds.center.y + other->ypos,
                                  b.bounds.center.z + other->zpos, a.bounds.center.x + xpos,
                                  a.bounds.center.y + ypos, a.bounds.center.z + zpos);
                if (d < a.bounds.radius + b.bounds.radius) {
                    collideFaces(other, a, b);
                }
            }
        }
    }
}

bool GameObject::reactsTo(OBJECT_TYPE) const {
    return true;
}

void GameObject::reactCollision(float, float, float, OBJECT_TYPE) {
    if (collideBoxSilenced) {
        return;
    }
    if (MessageBox("COLLIDE", "Test", MB_YESNO) == IDNO) {
        collideBoxSilenced = true;
    }
}

void GameObject::getPos(float& x, float& y, float& z) {
    x = xpos;
    y = ypos;
    z = zpos;
}

maxMesh* GameObject::getMesh() {
    return mesh;
}

GameObject* GameObject::walkForward() {
    return next;
}

GameManager::GameManager() : head(nullptr), current(nullptr) {}

GameManager::~GameManager() {
    GameObject* obj = head;
    while (obj != nullptr) {
        GameObject* following = obj->next;
        delete obj;
        obj = following;
    }
    head = nullptr;
    current = nullptr;
}

void GameManager::addObject(GameObject* obj) {
    if (obj == nullptr) {
        return;
    }
    if (head == nullptr) {
        head = obj;
        current = obj;
        return;
    }
    findLast();
    current->next = obj;
    current = obj;
}

void GameManager::findLast() {
    current = head;
    while (current != nullptr && current->next != nullptr) {
        current = current->next;
    }
}

void GameManager::drawAllObjects() {
    current = head;
    while (current != nullptr) {
        current->draw();
        current = current->next;
    }
}

void GameManager::stepAllObjects() {
    current = head;
    while (current != nullptr) {
        current->step();
        current = current->next;
    }
}

void GameManager::checkCollisions() {
    current = head;
    while (current != nullptr) {
        current->detectCollision();
        current = current->next;
    }
}
