// The world-object base (model, list membership, two-level sphere test, debug reaction) and the
// list.
#include "main/gameobject.h"

#include <GL/gl.h>
#include <cmath>
#include <new>

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

void GameObject::draw() {
    if (hasShape()) {
        mesh->draw();
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
        const maxMesh* theirs = other->getMesh();
        for (int32_t i = 0; i < mesh->numMeshes; ++i) {
            const MESH& a = mesh->meshes[i];
            for (int32_t j = 0; j < theirs->numMeshes; ++j) {
                const MESH& b = theirs->meshes[j];
                const float d =
                    worldDistance(b.bounds.center.x + other->xpos, b.bounds.center.y + other->ypos,
                                  b.bounds.center.z + other->zpos, a.bounds.center.x + xpos,
                                  a.bounds.center.y + ypos, a.bounds.center.z + zpos);
                if (!(d < a.bounds.radius + b.bounds.radius)) {
                    continue;
                }
                for (int32_t k = 0; k < a.numFaces; ++k) {
                    const BoundingSphere& fa = a.faces[k].bounds;
                    const float ax = fa.center.x + xpos;
                    const float ay = fa.center.y + ypos;
                    const float az = fa.center.z + zpos;
                    for (int32_t l = 0; l < b.numFaces; ++l) {
                        const BoundingSphere& fb = b.faces[l].bounds;
                        const float bx = fb.center.x + other->xpos;
                        const float by = fb.center.y + other->ypos;
                        const float bz = fb.center.z + other->zpos;
                        const float fd = worldDistance(bx, by, bz, ax, ay, az);
                        if (fd < fa.radius + fb.radius) {
                            other->reactCollision(xpos, ypos, zpos, typeID);
                            reactCollision(bx, by, bz, other->typeID);
                        }
                    }
                }
            }
        }
    }
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

void GameManager::checkCollisions() {
    current = head;
    while (current != nullptr) {
        current->detectCollision();
        current = current->next;
    }
}
