// The object list: order, drawing, the pair scheme of the collision pass, the two-level sphere
// test, the debug reaction and its silencing, and objects whose model is missing.
#include <vector>

#include <gtest/gtest.h>

#include "cball/cball.h"
#include "main/world.h"
#include "platform/headless.h"
#include "render/maxmesh.h"
#include "scene3ds/errlist3ds.h"
#include "worldtest.h"

using worldtest::ListTest;

namespace {

struct Hit {
    const GameObject* receiver;
    float x, y, z;
    OBJECT_TYPE type;
};

std::vector<Hit> hits;
std::vector<const GameObject*> drawn;
int destroyed = 0;

class Recorder : public GameObject {
  public:
    Recorder(const char* file, float x, float y, float z, OBJECT_TYPE kind) : GameObject(file) {
        xpos = x;
        ypos = y;
        zpos = z;
        typeID = kind;
    }
    ~Recorder() override { ++destroyed; }
    void reactCollision(float x, float y, float z, OBJECT_TYPE kind) override {
        hits.push_back({this, x, y, z, kind});
    }
    void draw() override {
        drawn.push_back(this);
        GameObject::draw();
    }
};

class ObjectList : public ListTest {
  protected:
    void SetUp() override {
        ListTest::SetUp();
        hits.clear();
        drawn.clear();
        destroyed = 0;
        ASSERT_TRUE(worldtest::writeModel("mesh/tri.3ds", {worldtest::triangleAt("t", 0, 0, 0)}));
        // One mesh, two small faces 20 apart: a large mesh sphere around two small face spheres.
        worldtest::ModelMesh pair = worldtest::triangleAt("p", -10, 0, 0);
        worldtest::ModelMesh right = worldtest::triangleAt("r", 10, 0, 0);
        pair.verts.insert(pair.verts.end(), right.verts.begin(), right.verts.end());
        pair.faces.push_back({3, 4, 5});
        ASSERT_TRUE(worldtest::writeModel("mesh/pair.3ds", {pair}));
    }
};

TEST_F(ObjectList, EmptyListThenAppendsInConstructionOrder) {
    EXPECT_EQ(hoopwind->head, nullptr);
    hoopwind->drawAllObjects();
    hoopwind->checkCollisions();
    EXPECT_TRUE(drawn.empty());
    EXPECT_TRUE(hits.empty());

    auto* a = new Recorder("mesh/tri.3ds", 0, 0, 0, PLAYER);
    EXPECT_EQ(hoopwind->head, a);
    EXPECT_EQ(hoopwind->current, a);
    auto* b = new Recorder("mesh/tri.3ds", 50, 0, 0, PLAYER);
    auto* c = new Recorder("mesh/tri.3ds", 100, 0, 0, STATIONARY_PIECE);
    EXPECT_EQ(hoopwind->head, a);
    EXPECT_EQ(hoopwind->current, c);
    EXPECT_EQ(a->walkForward(), b);
    EXPECT_EQ(b->walkForward(), c);
    EXPECT_EQ(c->walkForward(), nullptr);

    hoopwind->drawAllObjects();
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[0], a);
    EXPECT_EQ(drawn[1], b);
    EXPECT_EQ(drawn[2], c);
    EXPECT_EQ(hoopwind->current, nullptr);

    delete hoopwind;
    hoopwind = nullptr;
    EXPECT_EQ(destroyed, 3);
}

TEST_F(ObjectList, EachPairOnceFromTheEarlierObjectAndStationaryNeverStarts) {
    // All four overlap one another. Stationary pieces at both ends of the list.
    auto* s = new Recorder("mesh/tri.3ds", 0.0f, 0, 0, STATIONARY_PIECE);
    auto* a = new Recorder("mesh/tri.3ds", 0.1f, 0, 0, PLAYER);
    auto* b = new Recorder("mesh/tri.3ds", 0.2f, 0, 0, B_PELLUM);
    auto* t = new Recorder("mesh/tri.3ds", 0.3f, 0, 0, STATIONARY_PIECE);
    ASSERT_EQ(a->getMesh()->numMeshes, 1);

    hoopwind->checkCollisions();

    // The face sphere of the small triangle sits 0.1 below its object's origin.
    struct Expect {
        const GameObject* receiver;
        float x, y;
        OBJECT_TYPE type;
    };
    const Expect expected[] = {
        {b, 0.1f, 0.0f, PLAYER},   {a, 0.2f, -0.1f, B_PELLUM},         // a tests b
        {t, 0.1f, 0.0f, PLAYER},   {a, 0.3f, -0.1f, STATIONARY_PIECE}, // a tests t
        {t, 0.2f, 0.0f, B_PELLUM}, {b, 0.3f, -0.1f, STATIONARY_PIECE}, // b tests t
    };
    ASSERT_EQ(hits.size(), 6u);
    for (size_t i = 0; i < hits.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(hits[i].receiver, expected[i].receiver);
        EXPECT_NEAR(hits[i].x, expected[i].x, 1e-6);
        EXPECT_NEAR(hits[i].y, expected[i].y, 1e-6);
        EXPECT_EQ(hits[i].type, expected[i].type);
    }
    for (const Hit& h : hits) {
        EXPECT_NE(h.receiver, s);
    }
}

TEST_F(ObjectList, MeshSpheresOverlapButFacesDoNotGivesNoReaction) {
    auto* a = new Recorder("mesh/pair.3ds", 0, 0, 0, PLAYER);
    auto* b = new Recorder("mesh/pair.3ds", 0, 0, 5.0f, PLAYER);
    ASSERT_EQ(a->getMesh()->numMeshes, 1);
    ASSERT_EQ(a->getMesh()->meshes[0].numFaces, 2);
    ASSERT_GT(a->getMesh()->meshes[0].bounds.radius, 10.0f);

    hoopwind->checkCollisions();
    EXPECT_TRUE(hits.empty());

    // Close enough for the matching faces to touch: two face pairs, no early exit.
    b->zpos = 0.5f;
    hoopwind->checkCollisions();
    ASSERT_EQ(hits.size(), 4u);
    EXPECT_EQ(hits[0].receiver, b);
    EXPECT_EQ(hits[1].receiver, a);
    EXPECT_NEAR(hits[1].x, -10.0f, 1e-5);
    EXPECT_NEAR(hits[1].z, 0.5f, 1e-6);
    EXPECT_EQ(hits[2].receiver, b);
    EXPECT_EQ(hits[3].receiver, a);
    EXPECT_NEAR(hits[3].x, 10.0f, 1e-5);
}

TEST_F(ObjectList, CollideBoxUntilAnsweredNo) {
    new Recorder("mesh/tri.3ds", 0, 0, 0, PLAYER);
    auto* plain = new GameObject("mesh/tri.3ds"); // base reaction
    plain->xpos = 0.05f;

    hoopwind->checkCollisions();
    ASSERT_EQ(worldtest::collideBoxes(), 1);
    const auto& box = headless::messageBoxes().back();
    EXPECT_EQ(box.caption, "Test");
    EXPECT_EQ(box.type, MB_YESNO);

    hoopwind->checkCollisions(); // answered Yes: still shown
    EXPECT_EQ(worldtest::collideBoxes(), 2);

    headless::queueAnswer(IDNO);
    hoopwind->checkCollisions();
    EXPECT_EQ(worldtest::collideBoxes(), 3);
    EXPECT_TRUE(GameObject::collideBoxSilenced);

    hoopwind->checkCollisions();
    plain->reactCollision(1, 2, 3, B_BRUSKER);
    EXPECT_EQ(worldtest::collideBoxes(), 3);
    EXPECT_EQ(hits.size(), 4u); // the other party kept reacting every frame
}

TEST_F(ObjectList, MissingModelDrawsNothingAndTakesPartInNoTest) {
    auto* ball = new CBall(CBall::BRUSKER);
    auto* before = new Recorder("mesh/tri.3ds", 0, 0, 0, PLAYER);
    auto* ghost = new Recorder("mesh/absent.3ds", 0, 0, 0, PLAYER);
    ClearErrList3ds(); // the scene library would otherwise refuse every later file
    auto* after = new Recorder("mesh/tri.3ds", 0, 0, 0, PLAYER);
    EXPECT_FALSE(ghost->hasShape());
    EXPECT_TRUE(before->hasShape());
    EXPECT_TRUE(after->hasShape());

    hoopwind->checkCollisions();
    hoopwind->drawAllObjects();

    // before and after touch each other (and the ball); the shapeless object is in no hit.
    int withGhost = 0;
    int ballHits = 0;
    for (const Hit& h : hits) {
        withGhost += h.receiver == ghost;
        ballHits += h.type == B_BRUSKER;
    }
    EXPECT_EQ(withGhost, 0);
    EXPECT_EQ(ballHits, 2); // before and after, each hit by the ball once
    EXPECT_EQ(hits.size(), 4u);
    EXPECT_TRUE(ball->collided);
    EXPECT_EQ(drawn.size(), 3u);
}

} // namespace
