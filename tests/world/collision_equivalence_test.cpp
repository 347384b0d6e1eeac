// The collision pass against a plain every-face-pair reference over random models.
#include "worldtest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "main/world.h"
#include "render/maxmesh.h"
#include "support/gamesession.h"

namespace {

struct Reaction {
    const GameObject* who;
    float at[3];
    OBJECT_TYPE type;
    bool operator==(const Reaction& o) const { // bits, so -0 and 0 or two NaNs may differ
        return who == o.who && std::memcmp(at, o.at, sizeof at) == 0 && type == o.type;
    }
};
std::vector<Reaction> reactions;

// A moving object that records every reaction; each reaction may nudge it along x.
struct Recorder : GameObject {
    Recorder(const char* file, OBJECT_TYPE kind, float nudge) : GameObject(file), nudge(nudge) {
        typeID = kind;
    }
    void reactCollision(float x, float y, float z, OBJECT_TYPE type) override {
        reactions.push_back(Reaction{this, {x, y, z}, type});
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
        for (GameObject* b = a->next; a->typeID != STATIONARY_PIECE && b != nullptr; b = b->next) {
            for (int32_t i = 0; i < a->getMesh()->numMeshes; ++i) {
                const MESH& mi = a->getMesh()->meshes[i];
                for (int32_t j = 0; j < b->getMesh()->numMeshes; ++j) {
                    const MESH& mj = b->getMesh()->meshes[j];
                    const bool near = touch(mi.bounds, a, mj.bounds, b); // before any reaction
                    for (int32_t k = 0; near && k < mi.numFaces; ++k) {
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

TEST(CollisionEquivalence, RandomModelsStillOrMovedGiveTheSameReactions) {
    testdata::ScratchDir dir;
    hwtest::GameSession game{dir.path()};
    ASSERT_TRUE(game.ok());
    std::mt19937 rng(20240611);
    // Still (some stationary), then nudged so contacts end part-way through a mesh pair.
    const struct {
        int trials;
        float spread, nudge;
        size_t leastReactions;
    } kinds[] = {{120, 3.0f, 0.0f, 1000}, {40, 1.0f, 0.013f, 100}};
    for (const auto& kind : kinds) {
        size_t total = 0;
        for (int trial = 0; trial < kind.trials; ++trial) {
            delete hoopwind;
            hoopwind = new GameManager;
            std::vector<GameObject*> objects; // owned by the list
            std::uniform_real_distribution<float> place(-kind.spread, kind.spread);
            const int n = kind.nudge == 0.0f ? 2 + trial % 3 : 3;
            for (int o = 0; o < n; ++o) {
                const std::string file = "mesh/r" + std::to_string(o) + ".3ds";
                ASSERT_TRUE(worldtest::writeModel(file, randomModel(rng)));
                const bool still = kind.nudge == 0.0f && rng() % 5 == 0;
                objects.push_back(new Recorder(file.c_str(), still ? STATIONARY_PIECE : PLAYER,
                                               kind.nudge * static_cast<float>(o + 1)));
                objects.back()->xpos = place(rng);
                objects.back()->ypos = place(rng);
                objects.back()->zpos = place(rng);
            }
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
            EXPECT_TRUE(fast == reactions) << "trial " << trial << ": " << fast.size()
                                           << " against " << reactions.size() << " reactions";
            for (size_t i = 0; i < objects.size(); ++i) {
                EXPECT_EQ(std::memcmp(&objects[i]->xpos, &fastEnd[i], sizeof(float)), 0) << trial;
            }
            total += reactions.size();
        }
        EXPECT_GE(total, kind.leastReactions);
    }
}

} // namespace
