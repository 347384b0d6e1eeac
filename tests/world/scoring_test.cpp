// The built world and its scoring: list contents and order, hoops and their boxes, goals for
// either side through any hoop, one goal per carry, and the Flicket ending the game.
#include <vector>

#include <gtest/gtest.h>

#include "cball/cball.h"
#include "main/world.h"
#include "player/player.h"
#include "static_objects/goal.h"
#include "static_objects/stadium.h"
#include "team/team.h"
#include "worldtest.h"

using worldtest::WorldTest;

namespace {

class Scoring : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        parkPlayers();
        flicket->setPos(0.0f, 200.0f, 0.0f);
    }
    // Gives the Pellum to side t, its Chaser and the ball at (x, y, z).
    void carry(int t, float x, float y, float z) {
        Player* c = team[t]->getChaser();
        c->xpos = x;
        c->ypos = y - 3.0f;
        c->zpos = z;
        pellum->setPos(x, y, z);
        pellum->catchBall(c);
        ASSERT_TRUE(pellum->caught);
        c->ypos = y;
        pellum->setPos(x, y, z);
    }
    void drawHoops() {
        for (GoalPost* g : stadium->goal) {
            g->draw();
        }
    }
};

TEST_F(Scoring, ListHoldsTheWorldInStartUpOrder) {
    std::vector<GameObject*> order;
    for (GameObject* o = hoopwind->head; o != nullptr; o = o->walkForward()) {
        order.push_back(o);
    }
    ASSERT_EQ(order.size(), 15u);
    EXPECT_EQ(order[0], stadium);
    for (int i = 0; i < NUM_GOALS; ++i) {
        EXPECT_EQ(order[1 + i], stadium->goal[i]);
    }
    EXPECT_EQ(order[7], pellum);
    EXPECT_EQ(order[8], brusker[0]);
    EXPECT_EQ(order[9], brusker[1]);
    EXPECT_EQ(order[10], flicket);
    EXPECT_EQ(order[11], team[0]->player[0]);
    EXPECT_EQ(order[12], team[0]->player[1]);
    EXPECT_EQ(order[13], team[1]->player[0]);
    EXPECT_EQ(order[14], team[1]->player[1]);

    const float hoops[NUM_GOALS][2] = {{0, -60}, {-25, -45}, {25, -42},
                                       {0, 60},  {-25, 45},  {25, 42}};
    for (int i = 0; i < NUM_GOALS; ++i) {
        SCOPED_TRACE(i);
        GoalPost* g = stadium->goal[i];
        EXPECT_EQ(g->X, hoops[i][0]);
        EXPECT_EQ(g->Z, hoops[i][1]);
        EXPECT_EQ(g->xpos, hoops[i][0]);
        EXPECT_EQ(g->zpos, hoops[i][1]);
    }
    EXPECT_EQ(brusker[1]->xpos, -5.0f);
    EXPECT_EQ(brusker[1]->ypos, 47.0f);
    EXPECT_EQ(brusker[1]->zpos, 15.0f);
}

TEST_F(Scoring, EitherSideScoresTenThroughEveryHoopAndDropsThePellum) {
    int expected[2] = {0, 0};
    for (int t = 0; t < 2; ++t) {
        for (int i = 0; i < NUM_GOALS; ++i) {
            SCOPED_TRACE(testing::Message() << "side " << t << " hoop " << i);
            GoalPost* g = stadium->goal[i];
            carry(t, g->X + 1.0f, 23.8f - 1.0f, g->Z + 0.5f);
            drawHoops(); // every hoop looks; the first that scores releases the ball
            expected[t] += 10;
            EXPECT_EQ(team[t]->getScore(), expected[t]);
            EXPECT_EQ(team[1 - t]->getScore(), expected[1 - t]);
            EXPECT_FALSE(pellum->caught);
            EXPECT_EQ(pellum->holding, NO_TEAM);
            EXPECT_FALSE(team[t]->isHoldingPellum());
            drawHoops(); // still in the box, but free: nothing more
            EXPECT_EQ(team[t]->getScore(), expected[t]);
        }
    }
}

TEST_F(Scoring, CarriedAlongZThroughAHoopScoresOnceAndTheBallFallsOut) {
    Player* c = team[1]->getChaser();
    carry(1, 0.0f, 23.8f, 52.0f);
    c->yrot = 0.0f;
    c->xrot = 0.0f;
    int frames = 0;
    for (; frames < 12; ++frames) { // hoops first, then the ball's step, then the input
        drawHoops();
        pellum->draw();
        c->moveBackward();
    }
    EXPECT_EQ(team[1]->getScore(), 10);
    EXPECT_EQ(team[0]->getScore(), 0);
    EXPECT_FALSE(pellum->caught);
    EXPECT_LT(pellum->ypos, 23.8f - 3.8f); // fell out of the box
    EXPECT_GT(c->zpos, 60.0f);
}

TEST_F(Scoring, ExactBoundariesMiss) {
    struct Case {
        int hoop;
        float x, y, z;
        bool scores;
    };
    const Case cases[] = {
        {0, 3.8f, 23.8f, -60.0f, false},  {0, -3.8f, 23.8f, -60.0f, false},
        {0, 3.79f, 23.8f, -60.0f, true},  {3, 0.0f, 27.6f, 60.0f, false},
        {3, 0.0f, 27.59f, 60.0f, true},   {3, 0.0f, 23.8f, 61.45f, false},
        {3, 0.0f, 23.8f, 58.55f, false},  {3, 0.0f, 23.8f, 61.44f, true},
        {0, 0.0f, 23.8f, -58.55f, false}, {0, 0.0f, 23.8f, -61.44f, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.hoop << " " << k.x << " " << k.y << " " << k.z);
        carry(0, k.x, k.y, k.z);
        EXPECT_EQ(stadium->goal[k.hoop]->scoredUpon(), k.scores);
        const int before = team[0]->getScore();
        stadium->goal[k.hoop]->draw();
        EXPECT_EQ(team[0]->getScore() - before, k.scores ? 10 : 0);
        if (pellum->caught) {
            pellum->catchBall(team[0]->getChaser());
        }
    }
}

TEST_F(Scoring, FreePellumThroughAHoopScoresNothing) {
    pellum->setPos(0.0f, 30.0f, -60.0f);
    for (int i = 0; i < 20; ++i) {
        drawHoops();
        pellum->draw();
    }
    EXPECT_LT(pellum->ypos, 20.0f); // it dropped right through the box
    EXPECT_EQ(team[0]->getScore(), 0);
    EXPECT_EQ(team[1]->getScore(), 0);
    pellum->scoreGoal();
    EXPECT_EQ(team[0]->getScore() + team[1]->getScore(), 0);
}

TEST_F(Scoring, CatchingTheFlicketAddsOneFiftyAndEndsTheGameEvenWhenBehind) {
    gameState = STATE_PLAYING;
    team[0]->score = 400;
    Player* s = team[1]->player[1]; // a computer Seeker tries on its own step
    s->xpos = 10.0f;
    s->ypos = 20.0f;
    s->zpos = 10.0f;
    flicket->setPos(10.0f + 4.5f, 23.0f, 10.0f);
    Player* mine = team[0]->player[1];
    mine->xpos = 10.0f + 4.82f; // out of reach in y
    mine->ypos = 30.0f;
    mine->zpos = 10.0f;
    mine->draw();
    EXPECT_EQ(gameState, STATE_PLAYING);
    s->draw();
    EXPECT_EQ(gameState, STATE_GAME_ENDING);
    EXPECT_EQ(team[1]->getScore(), 150);
    EXPECT_TRUE(team[1]->flicketCaught());
    EXPECT_FALSE(team[0]->flicketCaught());
    EXPECT_EQ(team[0]->getScore(), 400);
    EXPECT_FALSE(flicket->caught); // the Flicket itself is never held
}

TEST_F(Scoring, HumansInactiveSeekerStillTriesForTheFlicket) {
    gameState = STATE_PLAYING;
    Player* s = team[0]->player[1];
    ASSERT_NE(team[0]->activePlayer(), s);
    flicket->setPos(s->xpos, s->ypos + 3.0f, s->zpos - 4.0f);
    s->draw();
    EXPECT_EQ(gameState, STATE_GAME_ENDING);
    EXPECT_EQ(team[0]->getScore(), 150);

    // Once the human flies the Seeker, only a click catches.
    team[0]->changeActive();
    team[0]->caughtFlicket = false;
    gameState = STATE_PLAYING;
    s->draw();
    EXPECT_EQ(gameState, STATE_PLAYING);
    flicket->catchBall(s);
    EXPECT_EQ(gameState, STATE_GAME_ENDING);
    EXPECT_EQ(team[0]->getScore(), 300);
    // Attack balls cannot be caught at all.
    brusker[0]->setPos(s->xpos, s->ypos, s->zpos);
    brusker[0]->catchBall(s);
    EXPECT_FALSE(brusker[0]->caught);
}

TEST_F(Scoring, RebuildingStartsAFreshWorld) {
    team[0]->score = 70;
    DestroyWorld();
    EXPECT_EQ(hoopwind, nullptr);
    EXPECT_EQ(team[0], nullptr);
    BuildWorld();
    EXPECT_EQ(team[0]->getScore(), 0);
    EXPECT_EQ(pellum->ypos, 48.0f);
    int count = 0;
    for (GameObject* o = hoopwind->head; o != nullptr; o = o->walkForward()) {
        ++count;
    }
    EXPECT_EQ(count, 15);
}

} // namespace
