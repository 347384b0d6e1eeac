// The world digest: an FNV-1a hash over the bits of every object's state, in list order.
#include "main/worlddigest.h"

#include "cball/cball.h"
#include "main/world.h"
#include "player/player.h"
#include "team/team.h"

#include <cstring>

namespace {

struct Hash {
    uint64_t h = 1469598103934665603ull;
    void bytes(const void* p, size_t n) {
        const unsigned char* b = static_cast<const unsigned char*>(p);
        for (size_t i = 0; i < n; ++i) {
            h = (h ^ b[i]) * 1099511628211ull;
        }
    }
    void f(float v) {
        uint32_t u;
        std::memcpy(&u, &v, sizeof u);
        bytes(&u, sizeof u);
    }
    void i(int64_t v) { bytes(&v, sizeof v); }
};

} // namespace

uint64_t worldDigest() {
    Hash h;
    h.i(gameState);
    for (GameObject* o = hoopwind ? hoopwind->head : nullptr; o; o = o->next) {
        h.i(o->typeID);
        h.f(o->xpos);
        h.f(o->ypos);
        h.f(o->zpos);
        if (o->typeID == PLAYER) {
            const Player* p = static_cast<const Player*>(o);
            h.f(p->yrot);
            h.f(p->xrot);
        } else if (o->typeID != STATIONARY_PIECE) {
            const CBall* b = static_cast<const CBall*>(o);
            h.i(b->holding);
            h.i(b->caught);
        }
    }
    for (int t = 0; t < 2; ++t) {
        const Team* side = team[t];
        if (side) {
            h.i(side->score);
            h.i(side->holdingPellum);
            h.i(side->caughtFlicket);
            h.i(side->active);
        }
    }
    return h.h;
}
