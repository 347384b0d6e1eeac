// Attack balls and the Flicket: choosing victims, wandering targets and the shared counters,
// ball-against-ball bounces, and the approach factors after a bounce.
#include <cstdlib>

#include <gtest/gtest.h>

#include "cball/cball.h"
#include "main/world.h"
#include "player/player.h"
#include "team/team.h"
#include "worldtest.h"

using worldtest::WorldTest;

namespace {

class AttackBalls : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        parkPlayers();
    }
    void place(int t, int p, float x, float y, float z) {
        Player* pl = team[t]->player[p];
        pl->xpos = x;
        pl->ypos = y;
        pl->zpos = z;
    }
};

struct WanderDraw {
    float xi, yi, zi;
    int ticks;
};

// The wander target as the rules draw it: x size and sign, z size and sign, y, then the ticks.
WanderDraw drawWander(unsigned seed) {
    std::srand(seed);
    WanderDraw w{};
    const int ax = std::rand() % 28;
    const bool xPlus = std::rand() % 2 == 1;
    const int az = std::rand() % 83;
    const bool zPlus = std::rand() % 2 == 1;
    w.xi = static_cast<float>(xPlus ? ax : -ax);
    w.zi = static_cast<float>(zPlus ? az : -az);
    w.yi = static_cast<float>(std::rand() % 50);
    w.ticks = std::rand() % 46 + 15;
    return w;
}

TEST_F(AttackBalls, NearestPlayerWithinReachTiesGoToTheEarlierCandidate) {
    CBall* b = brusker[0];
    b->setPos(0.0f, 30.0f, 0.0f);
    place(1, 0, -10.0f, 30.0f, 0.0f);
    place(0, 1, 10.0f, 30.0f, 0.0f);
    b->draw();
    EXPECT_EQ(b->victimsTeam, 0); // team 0 before team 1 at equal distance
    EXPECT_EQ(b->victim, 1);
    EXPECT_EQ(b->xv, 0.0457f);
    EXPECT_EQ(b->noVicTic, 0);
    EXPECT_EQ(b->xi, 10.0f);
    EXPECT_NEAR(b->xpos, 0.457f, 1e-6);

    b->setPos(0.0f, 30.0f, 0.0f);
    place(0, 0, 0.0f, 30.0f, 10.0f); // the Chaser before the Seeker at equal distance
    b->draw();
    EXPECT_EQ(b->victimsTeam, 0);
    EXPECT_EQ(b->victim, 0);
    EXPECT_NEAR(b->zpos, 0.457f, 1e-6);

    // A closer player of the later team wins outright; the hunt follows it as it moves.
    b->setPos(0.0f, 30.0f, 0.0f);
    place(1, 1, 0.0f, 25.0f, 0.0f);
    b->draw();
    EXPECT_EQ(b->victimsTeam, 1);
    EXPECT_EQ(b->victim, 1);
    place(1, 1, 0.0f, 20.0f, 0.0f);
    b->draw();
    EXPECT_EQ(b->yi, 20.0f);
}

TEST_F(AttackBalls, ThirtyFiveAwayIsOutOfReachAndTheBallWanders) {
    CBall* b = brusker[1];
    b->setPos(0.0f, 30.0f, 0.0f);
    place(0, 0, 35.0f, 30.0f, 0.0f);
    place(1, 1, 0.0f, 30.0f, -35.0f);
    const WanderDraw w = drawWander(4242);
    std::srand(4242);
    b->draw();
    EXPECT_EQ(b->victim, PLAYER_NOT_FOUND);
    EXPECT_EQ(b->xv, 0.095f);
    EXPECT_EQ(b->xi, w.xi);
    EXPECT_EQ(b->yi, w.yi);
    EXPECT_EQ(b->zi, w.zi);
    EXPECT_EQ(b->noVicTic, 1);
    EXPECT_EQ(CBall::wanderTicks, w.ticks);
    EXPECT_NEAR(b->xpos, w.xi * 0.095f, 1e-5);

    place(0, 0, 34.9f, 30.0f, 0.0f); // now just inside: hunted
    b->setPos(0.0f, 30.0f, 0.0f);
    b->draw();
    EXPECT_EQ(b->victim, 0);
    EXPECT_EQ(b->victimsTeam, 0);
}

TEST_F(AttackBalls, WanderCounterWrapsAtTheSharedTicksAndOnReachingTheTargetInX) {
    CBall* f = flicket;
    f->setPos(0.0f, 20.0f, 0.0f);
    f->xi = 27.0f;
    f->yi = 20.0f;
    f->zi = 0.0f;
    f->noVicTic = 5;
    CBall::wanderTicks = 7;
    f->draw();
    EXPECT_EQ(f->noVicTic, 6);
    f->draw();
    EXPECT_EQ(f->noVicTic, 0); // reached the shared tick count
    EXPECT_EQ(f->xi, 27.0f);
    const WanderDraw w = drawWander(99);
    std::srand(99);
    f->draw(); // a counter of 0 picks a new target at once
    EXPECT_EQ(f->noVicTic, 1);
    EXPECT_EQ(f->xi, w.xi);
    EXPECT_EQ(f->zi, w.zi);

    // Another ball's choice re-draws the shared ticks below this ball's count: it keeps counting.
    f->xi = 27.0f;
    f->setPos(0.0f, 20.0f, 0.0f);
    f->noVicTic = 30;
    CBall::wanderTicks = 20;
    for (int i = 0; i < 10; ++i) {
        f->draw();
    }
    EXPECT_EQ(f->noVicTic, 40);
    EXPECT_EQ(f->xi, 27.0f);

    // Only x decides that the target is reached: within the radius in x, far off in z.
    f->setPos(26.8f, 20.0f, -60.0f);
    f->zi = 60.0f;
    f->draw();
    EXPECT_EQ(f->noVicTic, 1);
    EXPECT_NE(f->zi, 60.0f);
}

TEST_F(AttackBalls, BallBounceUsesTheTestersDoubleRadiusAndNegatedPosition) {
    // The Pellum (0.6) tests the Flicket (0.28) 1.0 away: closer than 1.2, so both bounce.
    pellum->setPos(1.0f, 2.0f, 3.0f);
    flicket->setPos(2.0f, 2.0f, 3.0f);
    brusker[0]->setPos(-50.0f, 30.0f, 0.0f);
    brusker[1]->setPos(50.0f, 30.0f, 0.0f);
    pellum->detectCollision();
    ASSERT_TRUE(pellum->collided);
    ASSERT_TRUE(flicket->collided);
    EXPECT_EQ(pellum->xi, -1.0f); // its own position minus the Flicket's
    EXPECT_EQ(pellum->yi, 0.0f);
    EXPECT_EQ(pellum->zi, 0.0f);
    EXPECT_EQ(flicket->xi, 3.0f); // its own position minus the Pellum's negated position
    EXPECT_EQ(flicket->yi, 4.0f);
    EXPECT_EQ(flicket->zi, 6.0f);
    EXPECT_EQ(flicket->xv, 0.035f);
    EXPECT_EQ(flicket->victim, PLAYER_NOT_FOUND);

    // An attack ball (0.5) 1.1 from the Flicket is out of its own doubled radius: no bounce.
    flicket->collided = false;
    brusker[1]->setPos(3.1f, 2.0f, 3.0f);
    brusker[1]->detectCollision();
    EXPECT_FALSE(brusker[1]->collided);
    EXPECT_FALSE(flicket->collided);
}

TEST_F(AttackBalls, SharedBounceCountdownShortensTwoBouncesAtOnce) {
    CBall* a = brusker[0];
    CBall* b = brusker[1];
    a->setPos(0.0f, 30.0f, 0.0f);
    b->setPos(0.3f, 30.0f, 0.0f);
    a->detectCollision();
    ASSERT_TRUE(a->collided);
    ASSERT_TRUE(b->collided);
    EXPECT_NEAR(a->xi, -0.3f, 1e-6);
    EXPECT_EQ(b->yi, 60.0f);

    int aEnds = 0;
    int bEnds = 0;
    for (int frame = 1; frame <= 10; ++frame) {
        a->draw();
        b->draw();
        if (aEnds == 0 && !a->collided) {
            aEnds = frame;
        }
        if (bEnds == 0 && !b->collided) {
            bEnds = frame;
        }
    }
    EXPECT_EQ(aEnds, 3); // 5 shared steps, two taken per frame
    EXPECT_EQ(bEnds, 7); // then a fresh 5 for the other ball alone
    EXPECT_EQ(CBall::bounceCountdown, 5.0f);
}

TEST_F(AttackBalls, AfterABounceTheFlicketKeepsTheSlowFactorWhileAttackBallsRecover) {
    flicket->setPos(0.0f, 20.0f, 0.0f);
    flicket->xi = 10.0f;
    flicket->yi = 20.0f;
    flicket->zi = 0.0f;
    flicket->noVicTic = 1;
    CBall::wanderTicks = 60;
    flicket->draw();
    EXPECT_NEAR(flicket->xpos, 0.9f, 1e-6); // 0.09 of the way before any bounce

    flicket->reactCollision(flicket->xpos - 10.0f, 20.0f, 0.0f, B_BRUSKER);
    for (int i = 0; i < 5; ++i) {
        flicket->draw();
    }
    ASSERT_FALSE(flicket->collided);
    flicket->draw();
    EXPECT_EQ(flicket->xv, 0.035f);
    EXPECT_EQ(flicket->zv, 0.035f);

    brusker[0]->setPos(0.0f, 30.0f, 0.0f);
    brusker[0]->reactCollision(-1.0f, 30.0f, 0.0f, B_FLICKET);
    for (int i = 0; i < 5; ++i) {
        brusker[0]->draw();
    }
    ASSERT_FALSE(brusker[0]->collided);
    brusker[0]->draw();
    EXPECT_EQ(brusker[0]->xv, 0.095f); // wandering again

    brusker[0]->reactCollision(-1.0f, 30.0f, 0.0f, B_FLICKET);
    for (int i = 0; i < 5; ++i) {
        brusker[0]->draw();
    }
    place(0, 0, 5.0f, 30.0f, 0.0f);
    brusker[0]->draw();
    EXPECT_EQ(brusker[0]->xv, 0.0457f); // hunting again
    flicket->draw();
    EXPECT_EQ(flicket->xv, 0.035f);
}

TEST_F(AttackBalls, FloorHoldsEveryBallAtItsRadius) {
    brusker[0]->setPos(0.0f, 0.1f, 0.0f);
    brusker[0]->xi = 20.0f;
    brusker[0]->yi = -20.0f;
    brusker[0]->noVicTic = 1;
    CBall::wanderTicks = 60;
    brusker[0]->draw();
    EXPECT_EQ(brusker[0]->ypos, 0.5f);
    flicket->setPos(5.0f, 0.0f, 0.0f);
    flicket->xi = 20.0f;
    flicket->yi = 0.0f;
    flicket->noVicTic = 1;
    flicket->draw();
    EXPECT_EQ(flicket->ypos, 0.28f);
}

} // namespace
