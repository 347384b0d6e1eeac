// Players and teams: construction, movement steps and their height guard, the patrol with its
// turns and sideways drift, the human's player left alone, and handing control over.
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "cball/cball.h"
#include "main/world.h"
#include "player/player.h"
#include "team/team.h"
#include "worldtest.h"

using worldtest::WorldTest;

namespace {

class Players : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        flicket->setPos(0.0f, 200.0f, 0.0f); // out of every Seeker's reach
    }
};

TEST_F(Players, EachSideStartsFacingTheOtherEndWithATrail) {
    for (Player* p : {team[0]->player[0], team[0]->player[1]}) {
        EXPECT_EQ(p->zpos, 30.2f);
        EXPECT_EQ(p->yrot, 0.0f);
        EXPECT_EQ(p->dir, -1);
        EXPECT_EQ(p->target, 0);
        ASSERT_NE(p->magicTrail, nullptr);
    }
    for (Player* p : {team[1]->player[0], team[1]->player[1]}) {
        EXPECT_EQ(p->zpos, -30.4f);
        EXPECT_EQ(p->yrot, 180.0f);
        EXPECT_EQ(p->dir, 1);
        EXPECT_EQ(p->target, 161);
    }
    EXPECT_EQ(team[1]->player[0]->xpos, -2.5f); // the Chaser on the left, the Seeker on the right
    EXPECT_EQ(team[1]->player[1]->xpos, 2.5f);
}

TEST_F(Players, OverlongTeamNameIsCutToFit) {
    const std::string longName(200, 'x');
    std::unique_ptr<Team> side(new Team(longName.c_str(), 0.0f, 24.0f, 0.0f, 1));
    EXPECT_EQ(std::strlen(side->name()), 63u);
    EXPECT_EQ(std::string(side->name()), longName.substr(0, 63));
    std::unique_ptr<Team> blank(new Team(nullptr, 0.0f, 24.0f, 0.0f, 1));
    EXPECT_STREQ(blank->name(), "");
}

TEST_F(Players, MovementStepsAndTheForwardHeightGuard) {
    Player* p = team[0]->player[0];
    p->xpos = 0.0f;
    p->ypos = 10.0f;
    p->zpos = 0.0f;
    p->moveForward();
    EXPECT_EQ(p->zpos, -2.05f);
    EXPECT_EQ(p->ypos, 10.0f);
    p->moveBackward();
    EXPECT_EQ(p->zpos, 0.0f);
    p->moveLeft();
    EXPECT_EQ(p->xpos, -2.05f);
    p->moveRight();
    EXPECT_EQ(p->xpos, 0.0f);
    p->moveUp();
    EXPECT_EQ(p->ypos, 11.85f);
    p->moveDown();
    EXPECT_EQ(p->ypos, 10.0f);

    // Pitched straight down: forward loses 1.85 of height, backward gains it.
    p->xrot = 90.0f;
    p->moveForward();
    EXPECT_NEAR(p->ypos, 8.15f, 1e-5);
    p->moveBackward();
    EXPECT_NEAR(p->ypos, 10.0f, 1e-5);

    // Near the ground the height stays put while x and z still change.
    p->ypos = 2.5f;
    p->zpos = 0.0f;
    p->moveForward();
    EXPECT_EQ(p->ypos, 2.5f);
    EXPECT_EQ(p->zpos, -2.05f); // the heading, not the pitch, moves x and z
    p->yrot = 90.0f;
    p->moveForward();
    EXPECT_EQ(p->ypos, 2.5f);
    EXPECT_NEAR(p->xpos, -2.05f, 1e-5);
    p->xrot = -90.0f;
    p->ypos = 2.5f;
    p->moveBackward();
    EXPECT_EQ(p->ypos, 2.5f);
    EXPECT_NEAR(p->xpos, 0.0f, 1e-5);
}

TEST_F(Players, PatrolTurnsAtBothEndsAsOneHalfTurn) {
    Player* p = team[0]->player[1]; // the human's Seeker, not active: patrols
    ASSERT_NE(team[0]->activePlayer(), p);
    int firstTurn = 0;
    int secondTurn = 0;
    for (int step = 1; step <= 140; ++step) {
        const float zBefore = p->zpos;
        const int targetBefore = p->target;
        p->draw();
        if (p->target != targetBefore) {
            EXPECT_EQ(p->zpos, zBefore) << "a turning step does not move";
            if (firstTurn == 0) {
                firstTurn = step;
                EXPECT_LE(zBefore, -78.0f);
                EXPECT_EQ(p->yrot, 180.0f);
                EXPECT_EQ(p->dir, 1);
                EXPECT_EQ(p->target, 161);
            } else if (secondTurn == 0) {
                secondTurn = step;
                EXPECT_GE(zBefore, 83.0f);
                EXPECT_EQ(p->yrot, 360.0f);
                EXPECT_EQ(p->dir, -1);
                EXPECT_EQ(p->target, 0);
            }
        } else {
            EXPECT_NEAR(std::fabs(p->zpos - zBefore), 2.05f, 1e-4);
        }
        EXPECT_FALSE(p->turning);
    }
    // 53 steps of 2.05 take 30.2 past -78; 79 more take it past 83.
    EXPECT_EQ(firstTurn, 54);
    EXPECT_EQ(secondTurn, 134);
    EXPECT_NEAR(p->xpos, 2.5f, 1e-3);
    EXPECT_EQ(p->ypos, 24.0f);
}

TEST_F(Players, BeyondTheFarEndTurnsAtOnceWhicheverWayItFaces) {
    Player* p = team[1]->player[0]; // heading +z towards 161
    p->zpos = -90.0f;
    p->draw();
    EXPECT_NEAR(p->zpos, -87.95f, 1e-4); // step 1 still moved it the right way
    EXPECT_EQ(p->yrot, 360.0f);          // and step 2 turned it regardless
    EXPECT_EQ(p->dir, 1);
    EXPECT_EQ(p->target, 161);

    Player* q = team[1]->player[1];
    q->yrot = 0.0f;
    q->dir = -1;
    q->target = 0;
    q->zpos = 90.0f;
    q->draw();
    EXPECT_NEAR(q->zpos, 87.95f, 1e-4);
    EXPECT_EQ(q->yrot, 180.0f);
    EXPECT_EQ(q->target, 0);
}

TEST_F(Players, HeadingOffTheAxisDriftsSideways) {
    Player* p = team[1]->player[0];
    p->yrot = 90.0f;
    p->dir = -1;
    p->target = 0;
    p->xpos = 0.0f;
    p->zpos = 0.0f;
    p->xrot = 25.0f;
    p->draw();
    EXPECT_NEAR(p->xpos, -2.05f, 1e-5); // forward along the heading
    EXPECT_NEAR(p->zpos, 2.05f, 1e-5);  // and left, since it patrols towards -z
    EXPECT_EQ(p->xrot, 0.0f);

    p->dir = 1;
    p->target = 161;
    p->xpos = 0.0f;
    p->zpos = 0.0f;
    p->draw();
    EXPECT_NEAR(p->xpos, -2.05f, 1e-5);
    EXPECT_NEAR(p->zpos, -2.05f, 1e-5); // right instead

    // Truncated headings: 179.9 counts as 179 (drifts), -180 and 540 are on the axis.
    p->yrot = 179.9f;
    p->xpos = 0.0f;
    p->zpos = 0.0f;
    p->draw();
    EXPECT_GT(std::fabs(p->xpos), 2.0f);
    for (float heading : {-180.0f, 540.0f}) {
        p->yrot = heading;
        p->xpos = 0.0f;
        p->zpos = 0.0f;
        p->draw();
        EXPECT_NEAR(p->xpos, 0.0f, 1e-4);
    }
}

TEST_F(Players, HumanActivePlayerIsLeftAloneAndChangeActiveHandsOver) {
    Team* side = team[0];
    Player* chaser = side->player[0];
    Player* seeker = side->player[1];
    chaser->yrot = 37.0f;
    chaser->draw();
    EXPECT_EQ(chaser->zpos, 30.2f);
    EXPECT_EQ(chaser->yrot, 37.0f);

    side->changeActive();
    EXPECT_EQ(side->active, 1);
    EXPECT_EQ(side->activePlayer(), seeker);
    EXPECT_EQ(chaser->yrot, 0.0f);
    chaser->draw(); // now a computer player: patrols from where it is
    EXPECT_NEAR(chaser->zpos, 30.2f - 2.05f, 1e-5);
    const float seekerZ = seeker->zpos;
    seeker->draw();
    EXPECT_EQ(seeker->zpos, seekerZ);

    seeker->yrot = -12.0f;
    side->changeActive();
    EXPECT_EQ(side->active, 0);
    EXPECT_EQ(side->activePlayer(), chaser);
    EXPECT_EQ(seeker->yrot, 0.0f);

    // The other side is never the human's: its active player patrols too.
    Player* other = team[1]->activePlayer();
    other->draw();
    EXPECT_NEAR(other->zpos, -30.4f + 2.05f, 1e-4);
}

TEST_F(Players, OnlyAttackBallsMatterAndOnlyWhileTheSideHoldsThePellum) {
    Player* p = team[0]->player[1];
    p->reactCollision(0, 0, 0, B_BRUSKER); // not holding: nothing to drop
    EXPECT_FALSE(team[0]->isHoldingPellum());

    pellum->setPos(team[0]->player[0]->xpos, 27.0f, team[0]->player[0]->zpos);
    pellum->catchBall(team[0]->player[0]);
    ASSERT_TRUE(team[0]->isHoldingPellum());
    p->reactCollision(0, 0, 0, B_FLICKET);
    p->reactCollision(0, 0, 0, PLAYER);
    p->reactCollision(0, 0, 0, STATIONARY_PIECE);
    EXPECT_TRUE(pellum->caught);
    p->reactCollision(0, 0, 0, B_BRUSKER);
    EXPECT_FALSE(pellum->caught);
    EXPECT_FALSE(team[0]->isHoldingPellum());
}

// The collision pass skips measuring two parties whose reactions would both do nothing, so a
// player must claim to react to exactly the types that change something.
TEST_F(Players, ClaimsToReactToExactlyTheTypesThatChangeSomething) {
    Player* p = team[0]->player[1];
    for (OBJECT_TYPE kind : {B_BRUSKER, B_PELLUM, B_FLICKET, PLAYER, STATIONARY_PIECE}) {
        SCOPED_TRACE(kind);
        pellum->setPos(team[0]->player[0]->xpos, 27.0f, team[0]->player[0]->zpos);
        pellum->catchBall(team[0]->player[0]);
        ASSERT_TRUE(pellum->caught);
        const float x = p->xpos, y = p->ypos, z = p->zpos, heading = p->yrot;
        p->reactCollision(1.0f, 2.0f, 3.0f, kind);
        const bool changed = !pellum->caught || p->xpos != x || p->ypos != y || p->zpos != z ||
                             p->yrot != heading || p->turning;
        EXPECT_EQ(p->reactsTo(kind), changed);
        if (pellum->caught) {
            pellum->catchBall(team[0]->player[0]); // let go for the next round
        }
        ASSERT_FALSE(pellum->caught);
    }
}

} // namespace
