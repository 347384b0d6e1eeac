// The world's rules, step by step on small generated models.
#include "worldtest.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "cball/cball.h"
#include "main/world.h"
#include "platform/headless.h"
#include "player/player.h"
#include "static_objects/goal.h"
#include "static_objects/stadium.h"
#include "support/gamesession.h"
#include "shared/random.h"
#include "team/team.h"

namespace {

using worldtest::part;

// A wide floor, two-triangle hoops, four-face player wedges (a ball centred on a player touches
// it); the random generator seeded after the build and every player parked out of reach.
class World : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(game.ok());
        ASSERT_TRUE(worldtest::writeModel(
            "mesh/stadium.3ds", {part({{-30, 0, -90}, {30, 0, -90}, {30, 0, 90}}, {{0, 1, 2}})}));
        ASSERT_TRUE(worldtest::writeModel(
            "mesh/goal.3ds",
            {part({{-3, 20, 0}, {3, 20, 0}, {3, 27, 0}, {-3, 27, 0}}, {{0, 1, 2}, {0, 2, 3}})}));
        ASSERT_TRUE(worldtest::writeModel(
            "mesh/player.3ds",
            {part({{0, 0.5f, 0}, {-0.5f, -0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}, {0, -0.5f, -0.5f}},
                  {{0, 1, 2}, {0, 2, 3}, {0, 3, 1}, {1, 3, 2}})}));
        game.start();
        headless::clearMessageBoxes();
        seedGameRandom(1);
        for (int t = 0; t < 2; ++t) {
            for (int p = 0; p < NUM_PLAYERS_PER_TEAM; ++p) {
                place(t, p, -200.0f + 100.0f * static_cast<float>(2 * t + p), 300.0f, 300.0f);
            }
        }
    }
    static void place(int side, int index, float x, float y, float z) {
        Player* p = team[side]->player[index];
        p->xpos = x;
        p->ypos = y;
        p->zpos = z;
    }

    testdata::ScratchDir dir;
    hwtest::GameSession game{dir.path()};
};

using Place = std::array<float, 3>;
Place at(const GameObject* o) {
    return {o->xpos, o->ypos, o->zpos};
}

Player* player(int side, int index) {
    return team[side]->player[index];
}

// Gives the Pellum to a side's Chaser, standing just under it.
void carry(int side, float x, float y, float z) {
    if (pellum->caught) {
        pellum->catchBall(team[pellum->holding]->getChaser());
    }
    pellum->setPos(x, y, z);
    Player* c = team[side]->getChaser();
    c->xpos = x;
    c->ypos = y - 3.0f;
    c->zpos = z;
    pellum->catchBall(c);
    ASSERT_TRUE(pellum->caught);
}

void stepHoops() {
    for (GoalPost* g : stadium->goal) {
        g->step();
    }
}

TEST_F(World, PellumFallsToRestAtItsRadiusFollowsItsCarrierAndOnlyTheHoldingSideLetsGo) {
    pellum->step();
    EXPECT_NEAR(pellum->ypos, 48.0f - 0.845f, 1e-5);
    for (int i = 1; i < 56; ++i) {
        pellum->step();
    }
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
        if (pellum->caught) {
            pellum->catchBall(player(0, 0));
        }
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
    for (int i = 0; i < 4; ++i) {
        pellum->step();
    }
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
    int turns[2] = {0, 0};
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
    EXPECT_TRUE(turns[0] == 54 && turns[1] == 134)
        << turns[0] << " " << turns[1]; // 53 x 2.05 > 30.2 + 78
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
    const struct {
        int hoop;
        float x, y, z;
        bool scores;
    } cases[] = {
        {0, 3.8f, 23.8f, -60.0f, false}, {0, -3.8f, 23.8f, -60.0f, false},
        {0, 3.79f, 23.8f, -60.0f, true}, {3, 0.0f, 27.6f, 60.0f, false},
        {3, 0.0f, 20.01f, 60.0f, true},  {3, 0.0f, 23.8f, 61.45f, false},
        {3, 0.0f, 23.8f, 58.55f, false}, {3, 0.0f, 23.8f, 61.44f, true},
        {0, 0.0f, 23.8f, -58.56f, true}, {0, 0.0f, 23.8f, -61.45f, false},
    };
    for (const auto& k : cases) {
        carry(0, k.x, k.y, k.z);
        const int before = team[0]->getScore();
        stadium->goal[k.hoop]->step();
        EXPECT_EQ(team[0]->getScore() - before, k.scores ? 10 : 0)
            << k.hoop << " " << k.x << " " << k.y << " " << k.z;
    }
    // A free Pellum falls right through a box and scores for nobody.
    if (pellum->caught) {
        pellum->catchBall(team[0]->getChaser());
    }
    const int total = team[0]->getScore();
    pellum->setPos(0.0f, 30.0f, -60.0f);
    for (int i = 0; i < 20; ++i) {
        hoopwind->stepAllObjects(); // hoops look before the ball moves, as in a drawn frame
    }
    EXPECT_TRUE(pellum->ypos < 20.0f && team[0]->getScore() + team[1]->getScore() == total);
}

} // namespace
