// The whole-game fingerprint: every value a frame of play can change, hashed in a fixed order.
#include "main/worlddigest.h"

#include <cstring>
#include <initializer_list>

#include "cball/cball.h"
#include "main/world.h"
#include "player/player.h"
#include "team/team.h"

namespace {

class Fnv1a {
  public:
    void bytes(const void* data, size_t size) {
        const unsigned char* p = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i) {
            hash_ ^= p[i];
            hash_ *= 0x100000001b3ULL;
        }
    }
    void i32(int32_t v) { bytes(&v, sizeof v); }
    void f32(float v) {
        uint32_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        bytes(&bits, sizeof bits);
    }
    uint64_t value() const { return hash_; }

  private:
    uint64_t hash_ = 0xcbf29ce484222325ULL;
};

void addBall(Fnv1a& h, const CBall& b) {
    h.i32(b.caught);
    h.i32(b.holding);
    h.i32(b.victim);
    h.i32(b.victimsTeam);
    h.i32(b.noVicTic);
    for (float v : {b.xv, b.yv, b.zv, b.xi, b.yi, b.zi}) {
        h.f32(v);
    }
}

void addPlayer(Fnv1a& h, const Player& p) {
    h.i32(p.teamNum);
    h.i32(p.turning);
    h.f32(p.yrot);
    h.f32(p.xrot);
    h.f32(p.rotRemain);
    h.i32(p.dir);
    h.i32(p.target);
}

} // namespace

uint64_t worldDigest() {
    Fnv1a h;
    h.i32(gameState);
    h.i32(view);
    h.i32(PLAYER_TEAM_ID);
    h.f32(CBall::bounceCountdown);
    h.i32(CBall::wanderTicks);
    for (const Team* side : team) {
        h.i32(side != nullptr);
        if (side != nullptr) {
            h.i32(side->score);
            h.i32(side->holdingPellum);
            h.i32(side->caughtFlicket);
            h.i32(side->active);
        }
    }
    if (hoopwind == nullptr) {
        h.i32(0);
        return h.value();
    }
    for (const GameObject* o = hoopwind->head; o != nullptr; o = o->next) {
        h.i32(o->typeID);
        h.i32(o->collided);
        h.f32(o->xpos);
        h.f32(o->ypos);
        h.f32(o->zpos);
        if (o->typeID == PLAYER) {
            addPlayer(h, *static_cast<const Player*>(o));
        } else if (o->typeID != STATIONARY_PIECE) {
            addBall(h, *static_cast<const CBall*>(o));
        }
    }
    return h.value();
}
