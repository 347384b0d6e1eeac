// The list's collision pass against a plain two-level test that measures every mesh pair and
// every face pair: the same reactions, in the same order, with bit-identical arguments, over
// many random models and placements, reactions that move objects, the game's own player model,
// and models carrying values that are not finite numbers.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "main/gameobject.h"
#include "render/maxmesh.h"
#include "worldtest.h"

namespace {

struct Reaction {
    const GameObject* who;
    float x, y, z;
    OBJECT_TYPE type;

    static uint32_t bits(float f) {
        uint32_t u;
        std::memcpy(&u, &f, sizeof u);
        return u;
    }
    bool operator==(const Reaction& o) const {
        // Bit patterns, so that -0 against 0 or two different NaNs count as differences.
        return who == o.who && bits(x) == bits(o.x) && bits(y) == bits(o.y) &&
               bits(z) == bits(o.z) && type == o.type;
    }
};

std::vector<Reaction>& reactions() {
    static std::vector<Reaction> log;
    return log;
}

// A moving object with a model that records every reaction; optionally each reaction nudges it,
// as a reaction that moves its object would.
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
        reactions().push_back(Reaction{this, x, y, z, type});
        xpos += nudge_;
    }

  private:
    float nudge_;
};

float dist(float ax, float ay, float az, float bx, float by, float bz) {
    const float dx = ax - bx;
    const float dy = ay - by;
    const float dz = az - bz;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Every pair of objects, meshes and faces, both centres translated afresh for every pair.
void referencePass(GameManager* list) {
    for (GameObject* a = list->head; a != nullptr; a = a->next) {
        if (a->typeID == STATIONARY_PIECE || a->getMesh() == nullptr) {
            continue;
        }
        for (GameObject* b = a->next; b != nullptr; b = b->next) {
            if (b->getMesh() == nullptr) {
                continue;
            }
            const maxMesh* ma = a->getMesh();
            const maxMesh* mb = b->getMesh();
            for (int32_t i = 0; i < ma->numMeshes; ++i) {
                const MESH& mi = ma->meshes[i];
                for (int32_t j = 0; j < mb->numMeshes; ++j) {
                    const MESH& mj = mb->meshes[j];
                    const float d =
                        dist(mj.bounds.center.x + b->xpos, mj.bounds.center.y + b->ypos,
                             mj.bounds.center.z + b->zpos, mi.bounds.center.x + a->xpos,
                             mi.bounds.center.y + a->ypos, mi.bounds.center.z + a->zpos);
                    if (!(d < mi.bounds.radius + mj.bounds.radius)) {
                        continue;
                    }
                    for (int32_t k = 0; k < mi.numFaces; ++k) {
                        for (int32_t l = 0; l < mj.numFaces; ++l) {
                            const BoundingSphere& fa = mi.faces[k].bounds;
                            const BoundingSphere& fb = mj.faces[l].bounds;
                            const float bx = fb.center.x + b->xpos;
                            const float by = fb.center.y + b->ypos;
                            const float bz = fb.center.z + b->zpos;
                            const float fd = dist(bx, by, bz, fa.center.x + a->xpos,
                                                  fa.center.y + a->ypos, fa.center.z + a->zpos);
                            if (fd < fa.radius + fb.radius) {
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
    std::uniform_int_distribution<int> meshCount(1, 4);
    std::uniform_real_distribution<float> centre(-1.5f, 1.5f);
    std::uniform_real_distribution<float> spread(0.2f, 2.5f);
    std::uniform_int_distribution<int> vertCount(3, 40);
    std::uniform_int_distribution<int> faceCount(1, 70);
    std::vector<worldtest::ModelMesh> meshes;
    const int n = meshCount(rng);
    for (int m = 0; m < n; ++m) {
        worldtest::ModelMesh mesh;
        mesh.name = "part" + std::to_string(m);
        const float cx = centre(rng), cy = centre(rng), cz = centre(rng), s = spread(rng);
        std::uniform_real_distribution<float> offset(-s, s);
        const int verts = vertCount(rng);
        for (int v = 0; v < verts; ++v) {
            mesh.verts.push_back({cx + offset(rng), cy + offset(rng), cz + offset(rng)});
        }
        std::uniform_int_distribution<int> corner(0, verts - 1);
        const int faces = faceCount(rng);
        for (int f = 0; f < faces; ++f) {
            mesh.faces.push_back({static_cast<uint16_t>(corner(rng)),
                                  static_cast<uint16_t>(corner(rng)),
                                  static_cast<uint16_t>(corner(rng))});
        }
        meshes.push_back(mesh);
    }
    return meshes;
}

class CollisionEquivalence : public worldtest::ListTest {
  protected:
    void TearDown() override {
        reactions().clear();
        ListTest::TearDown();
    }

    void freshList() {
        delete hoopwind;
        hoopwind = new GameManager;
        objects.clear();
    }

    void add(const std::string& file, OBJECT_TYPE kind, float x, float y, float z, float nudge) {
        objects.push_back(new Recorder(file.c_str(), kind, x, y, z, nudge));
    }

    // Runs the list's pass and the reference from the same positions; both must give the same
    // reactions and leave the objects in the same places. Returns the number of reactions.
    size_t compare(const std::string& what) {
        std::vector<float> start;
        for (const GameObject* o : objects) {
            start.insert(start.end(), {o->xpos, o->ypos, o->zpos});
        }
        reactions().clear();
        hoopwind->checkCollisions();
        const std::vector<Reaction> fast = reactions();
        std::vector<float> fastEnd;
        for (const GameObject* o : objects) {
            fastEnd.insert(fastEnd.end(), {o->xpos, o->ypos, o->zpos});
        }

        for (size_t i = 0; i < objects.size(); ++i) {
            objects[i]->xpos = start[3 * i];
            objects[i]->ypos = start[3 * i + 1];
            objects[i]->zpos = start[3 * i + 2];
        }
        reactions().clear();
        referencePass(hoopwind);
        const std::vector<Reaction> plain = reactions();

        EXPECT_EQ(fast.size(), plain.size()) << what;
        for (size_t i = 0; i < fast.size() && i < plain.size(); ++i) {
            if (!(fast[i] == plain[i])) {
                ADD_FAILURE() << what << ": reaction " << i << " differs";
                break;
            }
        }
        for (size_t i = 0; i < objects.size(); ++i) {
            EXPECT_EQ(objects[i]->xpos, fastEnd[3 * i]) << what << " object " << i;
        }
        return plain.size();
    }

    std::vector<GameObject*> objects; // owned by the list
};

TEST_F(CollisionEquivalence, RandomModelsAndPlacementsGiveTheSameReactions) {
    std::mt19937 rng(20240611);
    std::uniform_real_distribution<float> place(-3.0f, 3.0f);
    std::uniform_int_distribution<int> count(2, 4);
    size_t total = 0;
    for (int trial = 0; trial < 150; ++trial) {
        freshList();
        const int n = count(rng);
        for (int o = 0; o < n; ++o) {
            const std::string file = "mesh/r" + std::to_string(o) + ".3ds";
            ASSERT_TRUE(worldtest::writeModel(file, randomModel(rng)));
            // Now and then a stationary piece, which is tested but never starts a test.
            const OBJECT_TYPE kind = (trial + o) % 5 == 0 ? STATIONARY_PIECE : PLAYER;
            add(file, kind, place(rng), place(rng), place(rng), 0.0f);
        }
        total += compare("trial " + std::to_string(trial));
    }
    // The placements must actually produce contacts, or the comparison proves nothing.
    EXPECT_GT(total, 1000u);
}

TEST_F(CollisionEquivalence, ReactionsThatMoveTheirObjectAreFollowedFromThePairAfter) {
    std::mt19937 rng(77);
    std::uniform_real_distribution<float> place(-1.0f, 1.0f);
    size_t total = 0;
    for (int trial = 0; trial < 40; ++trial) {
        freshList();
        for (int o = 0; o < 3; ++o) {
            const std::string file = "mesh/m" + std::to_string(o) + ".3ds";
            ASSERT_TRUE(worldtest::writeModel(file, randomModel(rng)));
            // Small steps, so that objects slide out of contact part-way through a mesh pair.
            add(file, PLAYER, place(rng), place(rng), place(rng),
                0.013f * static_cast<float>(o + 1));
        }
        total += compare("moving trial " + std::to_string(trial));
    }
    EXPECT_GT(total, 100u);
}

TEST_F(CollisionEquivalence, GeneratedPlayerModelsNearEachOther) {
    const char* env = std::getenv("HW_DATA_DIR");
    const std::string dir = env != nullptr && *env != '\0' ? env : HW_DATA_DIR_DEFAULT;
    worldtest::WorkingDir data;
    ASSERT_TRUE(data.enter(dir));
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> place(-4.0f, 4.0f);
    size_t total = 0;
    for (int trial = 0; trial < 12; ++trial) {
        freshList();
        for (int o = 0; o < 3; ++o) {
            add("mesh/player.3ds", PLAYER, place(rng), 24.0f + place(rng), place(rng), 0.0f);
        }
        if (objects[0]->getMesh() == nullptr || objects[0]->getMesh()->numMeshes == 0) {
            GTEST_SKIP() << "no generated player model";
        }
        total += compare("player trial " + std::to_string(trial));
    }
    EXPECT_GT(total, 100u);
}

TEST_F(CollisionEquivalence, ValuesThatAreNotFiniteNumbersGiveTheSameReactions) {
    std::mt19937 rng(99);
    const float odd[] = {std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN(), 3.0e38f, 1.0e-40f};
    for (int trial = 0; trial < 30; ++trial) {
        freshList();
        for (int o = 0; o < 3; ++o) {
            const std::string file = "mesh/n" + std::to_string(o) + ".3ds";
            ASSERT_TRUE(worldtest::writeModel(file, randomModel(rng)));
            add(file, PLAYER, 0.3f * static_cast<float>(o), 0.0f, 0.0f, 0.0f);
        }
        // Spoil one face radius, one face centre, one mesh radius or one object's position. A
        // spoiled centre or mesh radius is never a small finite number: the loader always builds
        // a mesh sphere that holds its faces' centres, and the pass may rely on that.
        MESH& m = objects[trial % 3]->getMesh()->meshes[0];
        const bool anyValue = trial % 4 == 0 || trial % 4 == 3;
        const float v = odd[trial % (anyValue ? 5 : 4)];
        switch (trial % 4) {
        case 0:
            m.faces[0].bounds.radius = v;
            break;
        case 1:
            m.faces[m.numFaces - 1].bounds.center.y = v;
            break;
        case 2:
            m.bounds.radius = v;
            break;
        default:
            objects[trial % 3]->zpos = v;
            break;
        }
        compare("odd trial " + std::to_string(trial));
    }
}

} // namespace
