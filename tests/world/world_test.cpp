// The world's rules on small generated models; the collision pass against an every-face reference.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>

#include "render/maxmesh.h"
#include "static_objects/goal.h"
#include "static_objects/stadium.h"
#include "support/gamesession.h"
#include "support/scenebuilder.h"
#include "shared/random.h"

namespace {

using Place = std::array<float, 3>;
const auto at = [](const GameObject* o) { return Place{o->xpos, o->ypos, o->zpos}; };
const auto put = [](GameObject* o, Place p) { o->xpos = p[0], o->ypos = p[1], o->zpos = p[2]; };
const auto player = [](int side, int index) { return team[side]->player[index]; };
const auto place = [](int side, int index, float x, float y, float z) {
    put(player(side, index), {x, y, z});
};

scenebuild::Mesh part(std::vector<scenebuild::Vertex> verts, std::vector<scenebuild::Face> faces) {
    scenebuild::Mesh m;
    m.name = "part", m.verts = std::move(verts), m.faces = std::move(faces), m.groups = {"FLAT"};
    return m;
}

// A one-material model, relative to the working folder (the game session's); folders made on need.
bool writeModel(const std::string& path, const std::vector<scenebuild::Mesh>& meshes) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    scenebuild::Material flat;
    flat.name = "FLAT";
    return testdata::writeFile(path, scenebuild::scene({flat}, meshes));
}

// A floor, two-triangle hoops, wedge players (a ball centred on one touches it), all out of reach.
class World : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(game.ok());
        ASSERT_TRUE(writeModel("mesh/stadium.3ds",
                               {part({{-30, 0, -90}, {30, 0, -90}, {30, 0, 90}}, {{0, 1, 2}})}));
        ASSERT_TRUE(writeModel(
            "mesh/goal.3ds",
            {part({{-3, 20, 0}, {3, 20, 0}, {3, 27, 0}, {-3, 27, 0}}, {{0, 1, 2}, {0, 2, 3}})}));
        ASSERT_TRUE(writeModel(
            "mesh/player.3ds",
            {part({{0, 0.5f, 0}, {-0.5f, -0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}, {0, -0.5f, -0.5f}},
                  {{0, 1, 2}, {0, 2, 3}, {0, 3, 1}, {1, 3, 2}})}));
        game.start();
        headless::clearMessageBoxes();
        seedGameRandom(1);
        for (int t = 0; t < 2; ++t)
            for (int p = 0; p < NUM_PLAYERS_PER_TEAM; ++p)
                place(t, p, -200.0f + 100.0f * static_cast<float>(2 * t + p), 300.0f, 300.0f);
    }

    testdata::ScratchDir dir;
    hwtest::GameSession game{dir.path()};
};

// Gives the Pellum to a side's Chaser, standing just under it.
void carry(int side, float x, float y, float z) {
    if (pellum->caught)
        pellum->catchBall(team[pellum->holding]->getChaser());
    pellum->setPos(x, y, z);
    put(team[side]->getChaser(), {x, y - 3.0f, z});
    pellum->catchBall(team[side]->getChaser());
    ASSERT_TRUE(pellum->caught);
}

const auto stepHoops = [] {
    for (GoalPost* g : stadium->goal)
        g->step();
};

TEST_F(World, PellumFallsToRestAtItsRadiusFollowsItsCarrierAndOnlyTheHoldingSideLetsGo) {
    pellum->step();
    EXPECT_NEAR(pellum->ypos, 48.0f - 0.845f, 1e-5);
    for (int i = 1; i < 56; ++i)
        pellum->step();
    EXPECT_NEAR(pellum->ypos, 0.68f, 1e-3); // 56 steps down, still above the floor
    pellum->step();
    EXPECT_EQ(at(pellum), (Place{5.0f, 0.6f, 0.0f}));

    carry(1, 0.0f, 10.0f, 0.0f);
    EXPECT_TRUE(pellum->holding == 1 && team[1]->isHoldingPellum());
    place(1, 0, 12.0f, 20.0f, -3.0f);
    pellum->step();
    EXPECT_EQ(at(pellum), (Place{12.0f, 20.0f, -3.0f}));
    place(0, 0, 12.0f, 17.0f, -3.0f); // the other side's Chaser right at the ball
    pellum->catchBall(player(0, 0));
    EXPECT_TRUE(pellum->holding == 1 && !team[0]->isHoldingPellum());
    pellum->catchBall(player(1, 1)); // any player of the holding side, wherever it is
    EXPECT_FALSE(pellum->caught || team[1]->isHoldingPellum());
    EXPECT_EQ(pellum->holding, 20); // no team
    EXPECT_TRUE(!worldTeam(20) && !worldTeam(2) && !worldTeam(-1) && worldTeam(1) == team[1]);
    pellum->step();
    EXPECT_NEAR(pellum->ypos, 20.0f - 0.845f, 1e-5);
}

// Reach is 4.25 + 0.6 on each axis, strict, measured from a point 3 above the player.
TEST_F(World, CatchReachIsStrictOnEveryAxisAndMeasuredThreeAboveThePlayer) {
    const struct {
        float dx, dy, dz;
        bool caught;
    } cases[] = {{4.85f, -3.0f, 0.0f, false},  {0.0f, -3.0f, -4.85f, false},
                 {0.0f, -7.85f, 0.0f, false},  {0.0f, 2.0f, 0.0f, false},
                 {4.84f, 1.84f, -4.84f, true}, {-4.84f, -7.84f, 4.84f, true}};
    for (const auto& k : cases) {
        pellum->setPos(0.0f, 10.0f, 0.0f);
        place(0, 0, k.dx, 10.0f + k.dy, k.dz);
        pellum->catchBall(player(0, 0));
        EXPECT_EQ(pellum->caught, k.caught) << k.dx << " " << k.dy << " " << k.dz;
        EXPECT_EQ(team[0]->isHoldingPellum(), k.caught);
        if (pellum->caught)
            pellum->catchBall(player(0, 0));
    }
}

TEST_F(World, AttackBallHittingTheHoldingSideKnocksThePellumLooseAndItBouncesFiveSteps) {
    carry(0, 0.0f, 10.0f, 0.0f);
    place(1, 1, 40.0f, 30.0f, 40.0f); // the other side's Seeker hit: nothing to the Pellum
    brusker[0]->setPos(40.0f, 30.0f, 40.0f);
    brusker[0]->detectCollision();
    EXPECT_TRUE(brusker[0]->collided && pellum->caught);
    pellum->reactCollision(0.0f, 0.0f, 0.0f, PLAYER); // a carried ball ignores players
    EXPECT_FALSE(pellum->collided);
    place(0, 1, -40.0f, 30.0f, 40.0f); // the holding side's Seeker hit: the side drops it
    brusker[1]->setPos(-40.0f, 30.0f, 40.0f);
    brusker[1]->detectCollision();
    EXPECT_FALSE(pellum->caught || team[0]->isHoldingPellum());

    // Hit from above: towards its place minus the hit point for five steps, then back up.
    pellum->setPos(0.0f, 0.6f, 0.0f);
    pellum->reactCollision(0.0f, 5.6f, 0.0f, B_BRUSKER);
    pellum->step();
    EXPECT_NEAR(pellum->ypos, 0.6f + (0.6f - 5.6f - 0.6f) * 0.035f, 1e-6);
    EXPECT_EQ(CBall::bounceCountdown, 4.0f);
    for (int i = 0; i < 4; ++i)
        pellum->step();
    EXPECT_TRUE(!pellum->collided && pellum->ypos < 0.6f);
    pellum->step();
    EXPECT_EQ(pellum->ypos, 0.6f);
}

TEST_F(World, AttackBallsHuntTheNearestPlayerWithinReachAndWanderBeyondIt) {
    CBall* b = brusker[0];
    b->setPos(0.0f, 30.0f, 0.0f);
    place(1, 0, -10.0f, 30.0f, 0.0f);
    place(0, 1, 10.0f, 30.0f, 0.0f);
    b->step();
    EXPECT_TRUE(b->victimsTeam == 0 && b->victim == 1); // equal distance: the earlier side
    EXPECT_NEAR(b->xpos, 10.0f * 0.0457f, 1e-6);
    b->setPos(0.0f, 30.0f, 0.0f);
    place(1, 1, 0.0f, 25.0f, 0.0f); // closer, on the later side
    b->step();
    EXPECT_TRUE(b->victimsTeam == 1 && b->victim == 1);
    EXPECT_NEAR(b->ypos, 30.0f - 5.0f * 0.0457f, 1e-5);

    for (auto [side, index] : std::vector<std::pair<int, int>>{{1, 0}, {0, 1}, {1, 1}})
        place(side, index, 200.0f, 300.0f, 300.0f);
    place(0, 0, 35.0f, 30.0f, 0.0f); // exactly at the edge of reach
    b->setPos(0.0f, 30.0f, 0.0f);
    b->step();
    EXPECT_TRUE(b->victim == 99 && b->xv == 0.095f && b->noVicTic == 1);
    EXPECT_TRUE(CBall::wanderTicks >= 15 && CBall::wanderTicks <= 60) << CBall::wanderTicks;
    EXPECT_TRUE(std::fabs(b->xi) <= 27.0f && std::fabs(b->zi) <= 82.0f) << b->xi << " " << b->zi;
    b->setPos(0.0f, -5.0f, 0.0f);
    b->yi = -5.0f;
    b->step();
    EXPECT_EQ(b->ypos, 0.5f); // the floor holds every ball at its radius
}

TEST_F(World, ComputerPlayersPatrolTurningHalfwayAtEachEndAndDriftOffTheAxis) {
    Player* p = player(0, 1); // the human side's Seeker, not the active player: patrols
    place(0, 1, 2.5f, 24.0f, 30.2f);
    std::array<int, 2> turns{};
    for (int step = 1; step <= 140; ++step) {
        const int target = p->target;
        const float z = p->zpos;
        p->step();
        if (p->target != target) {
            EXPECT_EQ(p->zpos, z) << "a turning step does not move";
            turns[turns[0] == 0 ? 0 : 1] = step;
        } else {
            EXPECT_NEAR(std::fabs(p->zpos - z), 2.05f, 1e-4);
        }
    }
    EXPECT_EQ(turns, (std::array<int, 2>{54, 134})); // 53 x 2.05 > 30.2 + 78
    EXPECT_EQ(p->yrot, 360.0f);
    EXPECT_NEAR(p->xpos, 2.5f, 1e-3);

    Player* q = player(1, 0); // beyond the far end: turned back whichever way it faces
    place(1, 0, 0.0f, 24.0f, -90.0f);
    q->step();
    EXPECT_TRUE(std::fabs(q->zpos + 87.95f) < 1e-4f && q->yrot == 360.0f) << q->zpos;

    q->yrot = 90.0f; // off the axis: forward, and sideways to the patrol's left
    q->xrot = 25.0f;
    q->dir = -1;
    q->target = PATROL_NEAR_END;
    place(1, 0, 0.0f, 24.0f, 0.0f);
    q->step();
    EXPECT_TRUE(std::fabs(q->xpos + 2.05f) < 1e-5f && std::fabs(q->zpos - 2.05f) < 1e-5f);
    EXPECT_EQ(q->xrot, 0.0f);
    q->yrot = 90.0f; // turned a quarter: right is along -z, left along +z
    place(1, 0, 0.0f, 24.0f, 0.0f);
    q->moveRight();
    EXPECT_TRUE(std::fabs(q->xpos) < 1e-5f && std::fabs(q->zpos + 2.05f) < 1e-5f) << q->zpos;
    q->moveLeft();
    EXPECT_TRUE(std::fabs(q->zpos) < 1e-5f) << q->zpos;
    q->yrot = 180.5f; // headings count in whole degrees: this one is on the axis
    place(1, 0, 0.0f, 24.0f, 0.0f);
    q->step();
    EXPECT_NEAR(q->xpos, 0.0f, 0.1f);
}

TEST_F(World, TheHumansActivePlayerIsLeftToTheInputButItsSeekerStillTriesForTheFlicket) {
    Player* chaser = player(0, 0);
    place(0, 0, 0.0f, 24.0f, 0.0f);
    chaser->yrot = 37.0f;
    chaser->step();
    EXPECT_TRUE(chaser->zpos == 0.0f && chaser->yrot == 37.0f);

    gameState = STATE_PLAYING;
    team[1]->score = 400;
    Player* seeker = player(0, 1);
    place(0, 1, 10.0f, 20.0f, 10.0f);
    flicket->setPos(10.0f + 4.5f, 23.0f, 10.0f);
    seeker->step();
    EXPECT_EQ(gameState, STATE_GAME_ENDING); // a catch ends the game even from behind
    EXPECT_EQ(team[0]->getScore(), 150);
    EXPECT_TRUE(team[0]->flicketCaught() && !team[1]->flicketCaught());

    team[0]->changeActive(); // flown by the human, only a click catches
    gameState = STATE_PLAYING;
    seeker->step();
    EXPECT_TRUE(gameState == STATE_PLAYING && chaser->yrot == 0.0f);
}

TEST_F(World, PlayersAnswerOnlyAttackBallsAndOnlyWhileTheirSideHoldsThePellum) {
    Player* seeker = player(1, 1);
    seeker->reactCollision(0, 0, 0, B_BRUSKER);
    EXPECT_FALSE(team[1]->isHoldingPellum());
    carry(1, 0.0f, 10.0f, 0.0f);
    for (OBJECT_TYPE kind : {B_PELLUM, B_FLICKET, PLAYER, STATIONARY_PIECE}) {
        seeker->reactCollision(0, 0, 0, kind);
        EXPECT_TRUE(pellum->caught && !seeker->reactsTo(kind)) << kind;
    }
    EXPECT_TRUE(seeker->reactsTo(B_BRUSKER));
    seeker->reactCollision(0, 0, 0, B_BRUSKER);
    EXPECT_FALSE(pellum->caught);
}

// Each hoop is drawn where it stands, less the world's offset (window units = world units here).
TEST_F(World, HoopsAreDrawnWhereTheyStand) {
    glViewport(0, 0, 600, 600), glMatrixMode(GL_PROJECTION), glLoadIdentity();
    glOrtho(-300, 300, -300, 300, -300, 300), glMatrixMode(GL_MODELVIEW), glLoadIdentity();
    for (GoalPost* g : stadium->goal) {
        std::vector<GLfloat> fb(4096);
        glFeedbackBuffer(GLsizei(fb.size()), GL_2D, fb.data());
        glRenderMode(GL_FEEDBACK);
        g->draw();
        const GLint used = glRenderMode(GL_RENDER);
        float x = 0, y = 0;
        int n = 0;
        for (GLint i = 0; i + 1 < used && fb[i] == GL_POLYGON_TOKEN; i += 2 + 2 * int(fb[i + 1]))
            for (int v = 0; v < int(fb[i + 1]); ++v, ++n)
                x += fb[i + 2 + 2 * v], y += fb[i + 3 + 2 * v];
        ASSERT_EQ(n, 6); // the model's two triangles, centred 23.5 above its foot
        EXPECT_NEAR(x / 6 - 300, g->xpos - xoffset, 1e-3);
        EXPECT_NEAR(y / 6 - 300, g->ypos - yoffset + 23.5f, 1e-3);
    }
}

TEST_F(World, EitherSideScoresTenThroughEveryHoopOncePerCarry) {
    int expected[2] = {0, 0};
    for (int t = 0; t < 2; ++t) {
        for (GoalPost* g : stadium->goal) {
            carry(t, g->X + 1.0f, GOAL_BOX_HEIGHT - 1.0f, g->Z + 0.5f);
            stepHoops();
            expected[t] += 10;
            EXPECT_TRUE(team[t]->getScore() == expected[t] &&
                        team[1 - t]->getScore() == expected[1 - t]);
            EXPECT_FALSE(pellum->caught || team[t]->isHoldingPellum());
            stepHoops(); // still in the box, but free: nothing more
            EXPECT_EQ(team[t]->getScore(), expected[t]);
        }
    }
}

TEST_F(World, TheScoringBoxIsStrictAndThinAlongZ) {
    // Each hoop (x, y, z) with the ball there, and whether it scores.
    const float cases[][5] = {
        {0, 3.79f, 23.8f, -60.0f, 1}, {0, -3.81f, 23.8f, -60.0f, 0}, {3, 0, 27.61f, 60.0f, 0},
        {3, 0, 20.01f, 60.0f, 1},     {3, 0, 23.8f, 61.46f, 0},      {3, 0, 23.8f, 58.56f, 1},
        {0, 0, 23.8f, -61.44f, 1},    {0, 0, 23.8f, -58.54f, 0},
    };
    auto scores = [&](GoalPost* g, float x, float y, float z) {
        carry(0, x, y, z);
        const int before = team[0]->getScore();
        g->step();
        return team[0]->getScore() - before == 10;
    };
    for (const auto& k : cases)
        EXPECT_EQ(scores(stadium->goal[int(k[0])], k[1], k[2], k[3]), k[4] == 1)
            << k[0] << " " << k[1] << " " << k[2] << " " << k[3];
    // The very edges, met to the bit on a hoop moved to the origin: out, and one step in.
    GoalPost* g = stadium->goal[1];
    g->X = g->Y = g->Z = 0.0f;
    const float half[3] = {g->scoringRadius, g->scoringRadius, WALK_SPEED - pellum->giveRadius()};
    for (int axis = 0; axis < 3; ++axis)
        for (float edge : {-half[axis], half[axis]}) {
            float at[3] = {0, 0, 0};
            at[axis] = edge;
            EXPECT_FALSE(scores(g, at[0], at[1], at[2])) << axis << " " << edge;
            at[axis] = std::nextafter(edge, 0.0f);
            EXPECT_TRUE(scores(g, at[0], at[1], at[2])) << axis << " " << edge;
        }
    // A free Pellum falls right through a box and scores for nobody.
    if (pellum->caught)
        pellum->catchBall(team[0]->getChaser());
    const int total = team[0]->getScore();
    pellum->setPos(0.0f, 30.0f, -60.0f);
    for (int i = 0; i < 20; ++i)
        hoopwind->stepAllObjects(); // hoops look before the ball moves, as in a drawn frame
    EXPECT_TRUE(pellum->ypos < 20.0f && team[0]->getScore() + team[1]->getScore() == total);
}

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
    for (GameObject* a = hoopwind->head; a != nullptr; a = a->next)
        for (GameObject* b = a->next; a->typeID != STATIONARY_PIECE && b != nullptr; b = b->next)
            for (int32_t i = 0; i < a->getMesh()->numMeshes; ++i) {
                const MESH& mi = a->getMesh()->meshes[i];
                for (int32_t j = 0; j < b->getMesh()->numMeshes; ++j) {
                    const MESH& mj = b->getMesh()->meshes[j];
                    const bool near = touch(mi.bounds, a, mj.bounds, b); // before any reaction
                    for (int32_t k = 0; near && k < mi.numFaces; ++k)
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
        for (int i = 0; i < verts; ++i)
            v.push_back({cx + uniform(-s, s), cy + uniform(-s, s), cz + uniform(-s, s)});
        std::vector<scenebuild::Face> f;
        auto index = [&] { return static_cast<uint16_t>(below(0, verts - 1)); };
        for (int i = below(1, 70); i > 0; --i)
            f.push_back({index(), index(), index()});
        meshes.push_back(part(v, f));
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
                ASSERT_TRUE(writeModel(file, randomModel(rng)));
                const bool still = kind.nudge == 0.0f && rng() % 5 == 0;
                objects.push_back(new Recorder(file.c_str(), still ? STATIONARY_PIECE : PLAYER,
                                               kind.nudge * static_cast<float>(o + 1)));
                ASSERT_EQ(at(objects.back()), (Place{0, 0, 0})) << "a new object at the origin";
                put(objects.back(), {place(rng), place(rng), place(rng)});
            }
            std::vector<Place> start;
            std::vector<float> fastEnd;
            for (const GameObject* o : objects)
                start.push_back(at(o));
            reactions.clear();
            hoopwind->checkCollisions();
            const std::vector<Reaction> fast = reactions;
            for (size_t i = 0; i < objects.size(); ++i) {
                fastEnd.push_back(objects[i]->xpos);
                put(objects[i], start[i]);
            }
            reactions.clear();
            referencePass();
            EXPECT_TRUE(fast == reactions) << "trial " << trial << ": " << fast.size()
                                           << " against " << reactions.size() << " reactions";
            for (size_t i = 0; i < objects.size(); ++i)
                EXPECT_EQ(std::memcmp(&objects[i]->xpos, &fastEnd[i], sizeof(float)), 0) << trial;
            total += reactions.size();
        }
        EXPECT_GE(total, kind.leastReactions);
    }
}

} // namespace
