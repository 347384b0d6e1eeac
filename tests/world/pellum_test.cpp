// The Pellum: falling to the floor, bouncing, catch reach and the 3.0 height offset, carrying,
// letting go, and being knocked loose by attack balls.
#include <string>
#include <vector>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "cball/cball.h"
#include "font/glprint.h"
#include "main/world.h"
#include "player/player.h"
#include "team/team.h"
#include "worldtest.h"

using worldtest::WorldTest;

namespace {

class Pellum : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        parkPlayers();
    }
    Player* chaser(int t) { return team[t]->player[0]; }
    Player* seeker(int t) { return team[t]->player[1]; }
    void placeFor(Player* p, float x, float y, float z) {
        p->xpos = x;
        p->ypos = y;
        p->zpos = z;
    }
};

TEST_F(Pellum, FallsToTheFloorAndRestsThere) {
    ASSERT_FLOAT_EQ(pellum->ypos, 48.0f);
    pellum->draw();
    EXPECT_NEAR(pellum->ypos, 48.0f - 0.845f, 1e-5);
    for (int i = 1; i < 56; ++i) {
        pellum->draw();
    }
    EXPECT_NEAR(pellum->ypos, 0.68f, 1e-3); // 56 steps down, still above the floor
    pellum->draw();
    EXPECT_EQ(pellum->ypos, 0.6f);
    for (int i = 0; i < 100; ++i) {
        pellum->draw();
    }
    EXPECT_EQ(pellum->ypos, 0.6f);
    EXPECT_EQ(pellum->xpos, 5.0f);
    EXPECT_EQ(pellum->zpos, 0.0f);
}

TEST_F(Pellum, BounceIgnoresTheFloorForFiveStepsThenFallsBack) {
    pellum->setPos(0.0f, 0.6f, 0.0f);
    pellum->reactCollision(0.0f, 5.6f, 0.0f, B_BRUSKER); // hit from above
    EXPECT_TRUE(pellum->collided);
    EXPECT_EQ(pellum->yi, 0.6f - 5.6f);
    EXPECT_EQ(pellum->yv, 0.035f);

    pellum->draw();
    EXPECT_NEAR(pellum->ypos, 0.404f, 1e-6); // below its radius: no floor during a bounce
    EXPECT_EQ(CBall::bounceCountdown, 4.0f);
    for (int i = 0; i < 4; ++i) {
        const float before = pellum->ypos;
        pellum->draw();
        EXPECT_LT(pellum->ypos, before);
    }
    EXPECT_FALSE(pellum->collided);
    EXPECT_EQ(CBall::bounceCountdown, 5.0f);

    pellum->draw(); // a normal step again: falls, and the floor applies
    EXPECT_EQ(pellum->ypos, 0.6f);
}

TEST_F(Pellum, CatchReachIsStrictAndMeasuredThreeAboveThePlayer) {
    pellum->setPos(0.0f, 10.0f, 0.0f);
    Player* c = chaser(0);

    placeFor(c, 4.85f, 7.0f, 0.0f); // exactly 4.25 + 0.6 away in x
    pellum->catchBall(c);
    EXPECT_FALSE(pellum->caught);
    placeFor(c, 0.0f, 7.0f, -4.85f); // exactly at reach in z
    pellum->catchBall(c);
    EXPECT_FALSE(pellum->caught);
    pellum->setPos(0.0f, 3.0f + 4.85f, 0.0f);
    placeFor(c, 0.0f, 0.0f, 0.0f); // exactly at reach in y, counted from 3.0 above the player
    pellum->catchBall(c);
    EXPECT_FALSE(pellum->caught);

    // Level with the ball but 2 below it in y: the offset puts the reach point 5 away.
    pellum->setPos(0.0f, 10.0f, 0.0f);
    placeFor(c, 0.0f, 12.0f, 0.0f);
    pellum->catchBall(c);
    EXPECT_FALSE(pellum->caught);
    EXPECT_FALSE(team[0]->isHoldingPellum());

    placeFor(c, 4.84f, 7.0f + 4.84f, -4.84f); // inside on every axis
    pellum->catchBall(c);
    EXPECT_TRUE(pellum->caught);
    EXPECT_EQ(pellum->holding, 0);
    EXPECT_TRUE(team[0]->isHoldingPellum());
    EXPECT_FALSE(team[1]->isHoldingPellum());
}

TEST_F(Pellum, CarriedByTheChaserAndLetGoOnlyByTheHoldingSide) {
    pellum->setPos(0.0f, 10.0f, 0.0f);
    placeFor(chaser(1), 0.0f, 7.0f, 0.0f);
    pellum->catchBall(chaser(1));
    ASSERT_TRUE(pellum->caught);
    ASSERT_EQ(pellum->holding, 1);

    placeFor(chaser(1), 12.0f, 20.0f, -3.0f);
    pellum->draw();
    EXPECT_EQ(pellum->xpos, 12.0f);
    EXPECT_EQ(pellum->ypos, 20.0f);
    EXPECT_EQ(pellum->zpos, -3.0f);

    // The other side's Chaser right on the ball changes nothing.
    placeFor(chaser(0), 12.0f, 17.0f, -3.0f);
    pellum->catchBall(chaser(0));
    EXPECT_TRUE(pellum->caught);
    EXPECT_EQ(pellum->holding, 1);
    EXPECT_TRUE(team[1]->isHoldingPellum());
    EXPECT_FALSE(team[0]->isHoldingPellum());

    // Any player of the holding side lets go, wherever it is.
    pellum->catchBall(seeker(1));
    EXPECT_FALSE(pellum->caught);
    EXPECT_EQ(pellum->holding, NO_TEAM);
    EXPECT_FALSE(team[1]->isHoldingPellum());

    pellum->draw(); // free again: falls from where it was let go
    EXPECT_EQ(pellum->xpos, 12.0f);
    EXPECT_NEAR(pellum->ypos, 20.0f - 0.845f, 1e-5);
}

TEST_F(Pellum, AttackBallOnTheHoldingSideKnocksItLoose) {
    pellum->setPos(0.0f, 10.0f, 0.0f);
    placeFor(chaser(0), 0.0f, 7.0f, 0.0f);
    pellum->catchBall(chaser(0));
    ASSERT_TRUE(team[0]->isHoldingPellum());

    // Hit on the other side's Seeker: nothing happens to the Pellum.
    placeFor(seeker(1), 40.0f, 30.0f, 40.0f);
    brusker[0]->setPos(40.0f, 30.0f, 40.0f);
    brusker[0]->detectCollision();
    EXPECT_TRUE(pellum->caught);
    EXPECT_TRUE(brusker[0]->collided);

    // Hit on the holding side's Seeker (not the carrier): the side drops it.
    placeFor(seeker(0), -40.0f, 30.0f, 40.0f);
    brusker[1]->setPos(-40.0f, 30.0f, 40.0f);
    brusker[1]->detectCollision();
    EXPECT_FALSE(pellum->caught);
    EXPECT_EQ(pellum->holding, NO_TEAM);
    EXPECT_FALSE(team[0]->isHoldingPellum());
}

TEST_F(Pellum, CarriedPellumHitByAnAttackBallIsDroppedAndBouncesOnceFree) {
    pellum->setPos(0.0f, 10.0f, 0.0f);
    placeFor(chaser(1), 0.0f, 7.0f, 0.0f);
    pellum->catchBall(chaser(1));
    ASSERT_TRUE(pellum->caught);

    // A carried ball does not bounce off players.
    pellum->reactCollision(0.0f, 0.0f, 0.0f, PLAYER);
    EXPECT_FALSE(pellum->collided);
    EXPECT_TRUE(pellum->caught);

    brusker[0]->setPos(0.5f, 10.0f, 0.0f);
    pellum->detectCollision();
    EXPECT_FALSE(pellum->caught);
    EXPECT_FALSE(team[1]->isHoldingPellum());
    EXPECT_TRUE(pellum->collided);
    EXPECT_EQ(pellum->xi, -0.5f);
    pellum->draw();
    // Bouncing towards its position minus the attack ball's, taken as a point.
    EXPECT_NEAR(pellum->xpos, -0.5f * 0.035f, 1e-7);
    EXPECT_NEAR(pellum->ypos, 10.0f - 10.0f * 0.035f, 1e-6);
}

} // namespace

namespace {

std::vector<std::string> printed;
void capture(const char* text) {
    printed.push_back(text);
}

TEST_F(Pellum, StatusLineNamesTheHolderAndLeavesThePenWhereItWas) {
    printed.clear();
    glPrintSetObserver(capture);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    pellum->dispStatus();
    pellum->setPos(0.0f, 10.0f, 0.0f);
    placeFor(chaser(1), 0.0f, 7.0f, 0.0f);
    pellum->catchBall(chaser(1));
    pellum->dispStatus();
    glPrintSetObserver(nullptr);

    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[0], "No one is holding the Pellum");
    EXPECT_EQ(printed[1], "Stormwick is in possesion of the Pellum!");
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_EQ(m[12], 0.0f); // shifted left for the long line, then back
}

} // namespace
