// The list's collision pass against a plain two-level test that measures every mesh pair and
// every face pair: the same reactions, in the same order, with bit-identical arguments, over
// random models and placements, reactions that move objects, and values that are not finite.
#include "worldtest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "main/gameobject.h"
#include "main/world.h"
#include "render/maxmesh.h"
#include "support/gamesession.h"

namespace {

struct Reaction {
    const GameObject* who;
    float x, y, z;
    OBJECT_TYPE type;
    bool operator==(const Reaction& o) const {
        // Bit patterns, so that -0 against 0 or two different NaNs count as differences.
        return who == o.who && std::memcmp(&x, &o.x, 3 * sizeof x) == 0 && type == o.type;
    }
};

std::vector<Reaction> reactions;

// A moving object that records every reaction; each reaction may nudge it along x.
struct Recorder : GameObject {
    Recorder(const char* file, OBJECT_TYPE kind, float nudge) : GameObject(file), nudge(nudge) {
        typeID = kind;
    }
    void reactCollision(float x, float y, float z, OBJECT_TYPE type) override {
        reactions.push_back(Reaction{this, x, y, z, type});
        xpos += nudge;
    }
    float nudge;
};

bool touch(const BoundingSphere& a, const GameObject* oa, const BoundingSphere& b,
           const GameObject* ob) {
    const float dx = b.center.x + ob->xpos - (a.center.x + oa->xpos);
    const float dy = b.center.y + ob->ypos - (a.center.y + oa->ypos);
    const float dz = b.center.z + ob->zpos - (a.center.z + oa->zpos);
    return std::sqrt(dx * dx + dy * dy + dz * dz) < a.radius + b.radius;
}

// Every later object of every moving one, every mesh pair whose spheres touch, every face pair.
void referencePass() {
    for (GameObject* a = hoopwind->head; a != nullptr; a = a->next) {
        if (a->typeID == STATIONARY_PIECE || a->getMesh() == nullptr) {
            continue;
        }
        for (GameObject* b = a->next; b != nullptr; b = b->next) {
            const maxMesh* mb = b->getMesh();
            for (int32_t i = 0; mb != nullptr && i < a->getMesh()->numMeshes; ++i) {
                const MESH& mi = a->getMesh()->meshes[i];
                for (int32_t j = 0; j < mb->numMeshes; ++j) {
                    const MESH& mj = mb->meshes[j];
                    if (!touch(mi.bounds, a, mj.bounds, b)) {
                        continue;
                    }
                    for (int32_t k = 0; k < mi.numFaces; ++k) {
                        for (int32_t l = 0; l < mj.numFaces; ++l) {
                            const BoundingSphere& fb = mj.faces[l].bounds;
                            // The hit point is taken before either reaction moves anything.
                            const float bx = fb.center.x + b->xpos, by = fb.center.y + b->ypos,
                                        bz = fb.center.z + b->zpos;
                            if (touch(mi.faces[k].bounds, a, fb, b)) {
                                b->reactCollision(a->xpos, a->ypos, a->zpos, a->typeID);
                                a->reactCollision(bx, by, bz, b->typeID);
                            }
                        }
                    }
                }
            }
        }
    }
}

// A random triangle soup of a few meshes, sized so that placements near each other overlap.
std::vector<scenebuild::Mesh> randomModel(std::mt19937& rng) {
    auto uniform = [&](float lo, float hi) {
        return std::uniform_real_distribution<float>(lo, hi)(rng);
    };
    auto below = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::vector<scenebuild::Mesh> meshes;
    for (int m = below(1, 4); m > 0; --m) {
        const float cx = uniform(-1.5f, 1.5f), cy = uniform(-1.5f, 1.5f), cz = uniform(-1.5f, 1.5f);
        const float s = uniform(0.2f, 2.5f);
        const int verts = below(3, 40);
        std::vector<scenebuild::Vertex> v;
        for (int i = 0; i < verts; ++i) {
            v.push_back({cx + uniform(-s, s), cy + uniform(-s, s), cz + uniform(-s, s)});
        }
        std::vector<scenebuild::Face> f;
        for (int i = below(1, 70); i > 0; --i) {
            f.push_back({static_cast<uint16_t>(below(0, verts - 1)),
                         static_cast<uint16_t>(below(0, verts - 1)),
                         static_cast<uint16_t>(below(0, verts - 1))});
        }
        meshes.push_back(worldtest::part(v, f));
    }
    return meshes;
}

class CollisionEquivalence : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(game.ok()); }

    // A fresh list of n random models at random places within `spread` of the origin.
    void freshList(std::mt19937& rng, int n, float spread, float nudge, bool someStationary) {
        delete hoopwind;
        hoopwind = new GameManager;
        objects.clear();
        std::uniform_real_distribution<float> place(-spread, spread);
        for (int o = 0; o < n; ++o) {
            const std::string file = "mesh/r" + std::to_string(o) + ".3ds";
            ASSERT_TRUE(worldtest::writeModel(file, randomModel(rng)));
            const OBJECT_TYPE kind = someStationary && rng() % 5 == 0 ? STATIONARY_PIECE : PLAYER;
            GameObject* r = new Recorder(file.c_str(), kind, nudge * static_cast<float>(o + 1));
            r->xpos = place(rng);
            r->ypos = place(rng);
            r->zpos = place(rng);
            objects.push_back(r);
        }
    }

    // Both passes from the same places: the same reactions and the same end places. Returns
    // the number of reactions.
    size_t compare(const std::string& what) {
        std::vector<float> start, fastEnd;
        for (const GameObject* o : objects) {
            start.insert(start.end(), {o->xpos, o->ypos, o->zpos});
        }
        reactions.clear();
        hoopwind->checkCollisions();
        const std::vector<Reaction> fast = reactions;
        for (size_t i = 0; i < objects.size(); ++i) {
            fastEnd.push_back(objects[i]->xpos);
            objects[i]->xpos = start[3 * i];
            objects[i]->ypos = start[3 * i + 1];
            objects[i]->zpos = start[3 * i + 2];
        }
        reactions.clear();
        referencePass();
        EXPECT_TRUE(fast == reactions)
            << what << ": " << fast.size() << " against " << reactions.size() << " reactions";
        for (size_t i = 0; i < objects.size(); ++i) {
            EXPECT_EQ(std::memcmp(&objects[i]->xpos, &fastEnd[i], sizeof(float)), 0) << what;
        }
        return reactions.size();
    }

    worldtest::MeshDir dir;
    hwtest::GameSession game{dir.path()};
    std::vector<GameObject*> objects; // owned by the list
};

TEST_F(CollisionEquivalence, RandomModelsStillMovedOrSpoiledGiveTheSameReactions) {
    std::mt19937 rng(20240611);
    size_t still = 0, moving = 0;
    for (int trial = 0; trial < 120; ++trial) {
        freshList(rng, 2 + trial % 3, 3.0f, 0.0f, true);
        still += compare("trial " + std::to_string(trial));
    }
    for (int trial = 0; trial < 40; ++trial) {
        // Small steps, so objects slide out of contact part-way through a mesh pair.
        freshList(rng, 3, 1.0f, 0.013f, false);
        moving += compare("moving trial " + std::to_string(trial));
    }
    // The placements must actually produce contacts, or the comparison proves nothing.
    EXPECT_GT(still, 1000u);
    EXPECT_GT(moving, 100u);

    const float inf = std::numeric_limits<float>::infinity();
    const float odd[] = {inf, -inf, std::numeric_limits<float>::quiet_NaN(), 3.0e38f, 1.0e-40f};
    for (int trial = 0; trial < 30; ++trial) {
        freshList(rng, 3, 0.3f, 0.0f, false);
        // Spoil a face radius, a face centre, a mesh radius or a position. A spoiled centre or
        // mesh radius is never a small finite number: the loader's mesh sphere holds its faces.
        MESH& m = objects[trial % 3]->getMesh()->meshes[0];
        const bool anyValue = trial % 4 == 0 || trial % 4 == 3;
        float* const spoiled[] = {&m.faces[0].bounds.radius,
                                  &m.faces[m.numFaces - 1].bounds.center.y, &m.bounds.radius,
                                  &objects[trial % 3]->zpos};
        *spoiled[trial % 4] = odd[trial % (anyValue ? 5 : 4)];
        compare("odd trial " + std::to_string(trial));
    }
}

} // namespace
