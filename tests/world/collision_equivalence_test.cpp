// The list's collision pass against a plain two-level test that measures every mesh pair and
// every face pair: the same reactions, in the same order, with bit-identical arguments, over
// random models and placements, reactions that move objects, and values that are not finite.
#include "worldtest.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "main/gameobject.h"
#include "render/maxmesh.h"

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
class Recorder : public GameObject {
  public:
    Recorder(const char* file, OBJECT_TYPE kind, float x, float y, float z, float nudge)
        : GameObject(file), nudge_(nudge) {
        typeID = kind;
        xpos = x;
        ypos = y;
        zpos = z;
    }
    void reactCollision(float x, float y, float z, OBJECT_TYPE type) override {
        reactions.push_back(Reaction{this, x, y, z, type});
        xpos += nudge_;
    }

  private:
    float nudge_;
};

float dist(float ax, float ay, float az, float bx, float by, float bz) {
    return std::sqrt((ax - bx) * (ax - bx) + (ay - by) * (ay - by) + (az - bz) * (az - bz));
}

bool touch(const BoundingSphere& a, const GameObject* oa, const BoundingSphere& b,
           const GameObject* ob) {
    return dist(b.center.x + ob->xpos, b.center.y + ob->ypos, b.center.z + ob->zpos,
                a.center.x + oa->xpos, a.center.y + oa->ypos,
                a.center.z + oa->zpos) < a.radius + b.radius;
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
std::vector<worldtest::ModelMesh> randomModel(std::mt19937& rng) {
    std::uniform_real_distribution<float> centre(-1.5f, 1.5f);
    std::uniform_real_distribution<float> spread(0.2f, 2.5f);
    std::vector<worldtest::ModelMesh> meshes(std::uniform_int_distribution<int>(1, 4)(rng));
    for (worldtest::ModelMesh& mesh : meshes) {
        mesh.name = "part";
        const float cx = centre(rng), cy = centre(rng), cz = centre(rng), s = spread(rng);
        std::uniform_real_distribution<float> offset(-s, s);
        const int verts = std::uniform_int_distribution<int>(3, 40)(rng);
        for (int v = 0; v < verts; ++v) {
            mesh.verts.push_back({cx + offset(rng), cy + offset(rng), cz + offset(rng)});
        }
        std::uniform_int_distribution<int> corner(0, verts - 1);
        for (int f = std::uniform_int_distribution<int>(1, 70)(rng); f > 0; --f) {
            mesh.faces.push_back({static_cast<uint16_t>(corner(rng)),
                                  static_cast<uint16_t>(corner(rng)),
                                  static_cast<uint16_t>(corner(rng))});
        }
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
            objects.push_back(new Recorder(file.c_str(), kind, place(rng), place(rng), place(rng),
                                           nudge * static_cast<float>(o + 1)));
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

    worldtest::ScratchDir dir;
    hwtest::GameSession game{dir.path()};
    std::vector<GameObject*> objects; // owned by the list
};

TEST_F(CollisionEquivalence, RandomModelsAndPlacementsStillOrMovedByTheirReactions) {
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
}

TEST_F(CollisionEquivalence, ValuesThatAreNotFiniteNumbersGiveTheSameReactions) {
    std::mt19937 rng(99);
    const float odd[] = {std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN(), 3.0e38f, 1.0e-40f};
    for (int trial = 0; trial < 30; ++trial) {
        freshList(rng, 3, 0.3f, 0.0f, false);
        // Spoil one face radius, one face centre, one mesh radius or one object's position. A
        // spoiled centre or mesh radius is never a small finite number: the loader always builds
        // a mesh sphere that holds its faces' centres, and the pass may rely on that.
        MESH& m = objects[trial % 3]->getMesh()->meshes[0];
        const bool anyValue = trial % 4 == 0 || trial % 4 == 3;
        const float v = odd[trial % (anyValue ? 5 : 4)];
        float* const spoiled[] = {&m.faces[0].bounds.radius,
                                  &m.faces[m.numFaces - 1].bounds.center.y, &m.bounds.radius,
                                  &objects[trial % 3]->zpos};
        *spoiled[trial % 4] = v;
        compare("odd trial " + std::to_string(trial));
    }
}

} // namespace
