// A long headless run of whole frames (input, collision pass, drawing with every step) with a
// random human at the controls: positions stay finite and the Pellum's bookkeeping stays whole.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "cball/cball.h"
#include "main/world.h"
#include "player/player.h"
#include "render/maxmesh.h"
#include "scene3ds/errlist3ds.h"
#include "static_objects/stadium.h"
#include "shared/globals.h"
#include "team/team.h"
#include "worldtest.h"

using worldtest::WorldTest;

namespace {

constexpr float RAD_TO_DEG = 57.29578f;

// Turns the player to face (x, z) and flies at it, matching height with the catch offset.
void flyTowards(Player* p, float x, float y, float z) {
    p->yrot = std::atan2(-(x - p->xpos), -(z - p->zpos)) * RAD_TO_DEG;
    p->xrot = 0.0f;
    p->moveForward();
    if (p->ypos + 3.0f < y - 1.0f) {
        p->moveUp();
    } else if (p->ypos + 3.0f > y + 1.0f && p->ypos - RISE_SPEED - 1.0f > 0.0f) {
        p->moveDown();
    }
}

// Plays `frames` whole frames as the frame driver and the in-play view would, checking the
// world after each; the human mixes random input with stretches of chasing the Pellum to a hoop.
void playFrames(int frames, unsigned inputSeed) {
    std::mt19937 input(inputSeed);
    gameState = STATE_PLAYING;
    PLAYER_TEAM_ID = 1;
    view = 1;

    int catches = 0;
    int flicketEnds = 0;
    int goalsSeen = 0;
    int lastTotal = 0;
    const auto start = std::chrono::steady_clock::now();

    for (int frame = 0; frame < frames; ++frame) {
        Player* me = team[view]->activePlayer();
        const bool chasing = (frame / 600) % 2 == 1 && me->type == CHASER;
        if (chasing) {
            if (!pellum->caught) {
                flyTowards(me, pellum->xpos, pellum->ypos, pellum->zpos);
                if (input() % 4 == 0) {
                    const bool was = pellum->caught;
                    pellum->catchBall(me);
                    catches += !was && pellum->caught;
                }
            } else {
                flyTowards(me, 0.0f, 23.8f, pellum->holding == 1 ? 60.0f : -60.0f);
            }
        } else {
            switch (input() % 8) {
            case 0:
                me->moveLeft();
                break;
            case 1:
                me->moveRight();
                break;
            case 2:
                me->moveForward();
                break;
            case 3:
                me->moveBackward();
                break;
            case 4:
                me->moveUp();
                break;
            case 5:
                if (me->ypos - RISE_SPEED - 1.0f > 0.0f) {
                    me->moveDown();
                }
                break;
            default:
                break;
            }
            // Mouse look: up to 40 pixels either way, 0.12 degree per pixel.
            me->yrot += static_cast<float>(static_cast<int>(input() % 81) - 40) / 100.0f * 12.0f;
            me->xrot -= static_cast<float>(static_cast<int>(input() % 81) - 40) / 100.0f * 12.0f;
            const unsigned click = input() % 50;
            if (click == 0) {
                (me->type == CHASER ? pellum : flicket)->catchBall(me);
            } else if (click == 1) {
                team[view]->changeActive();
            }
        }

        hoopwind->checkCollisions();
        xoffset = me->xpos;
        yoffset = me->ypos;
        zoffset = me->zpos;
        hoopwind->drawAllObjects();

        if (gameState == STATE_GAME_ENDING) {
            ++flicketEnds;
            gameState = STATE_PLAYING; // keep playing to exercise more frames
        }
        const int total = team[0]->getScore() + team[1]->getScore();
        if (total != lastTotal) {
            const int delta = total - lastTotal;
            ASSERT_TRUE(delta % 10 == 0) << "frame " << frame << " delta " << delta;
            goalsSeen += (delta % 150 == 0) ? 0 : delta / 10;
            lastTotal = total;
        }

        for (GameObject* o = hoopwind->head; o != nullptr; o = o->walkForward()) {
            ASSERT_TRUE(worldtest::finite3(o)) << "frame " << frame;
        }
        for (int t = 0; t < 2; ++t) {
            ASSERT_EQ(team[t]->isHoldingPellum(), pellum->caught && pellum->holding == t)
                << "frame " << frame;
        }
        ASSERT_GE(pellum->ypos, 0.0f);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("simulated %d frames in %.2f s: %d Pellum catches, %d goals, %d Flicket ends\n",
                frames, seconds, catches, goalsSeen, flicketEnds);
    EXPECT_EQ(worldtest::collideBoxes(), 0); // stationary pieces are never hit in this world
    EXPECT_GT(catches, 0);
}

class Simulation : public WorldTest {};

TEST_F(Simulation, ThousandsOfRandomFramesStayFiniteAndConsistent) {
    std::srand(7);
    playFrames(12000, 20240611u);
}

// The same run on the game's own generated models, when the data folder has been built.
class GameDataSimulation : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* data = std::getenv("HW_DATA_DIR");
        const std::string dir = data != nullptr ? data : "data";
        std::ifstream probe(dir + "/mesh/player.3ds");
        if (!probe) {
            GTEST_SKIP() << "no generated game data in " << dir;
        }
        ASSERT_TRUE(gl.ok());
        ASSERT_TRUE(cwd.enter(dir));
        headless::reset();
        ClearErrList3ds();
        GameObject::collideBoxSilenced = false;
        CBall::bounceCountdown = 5.0f;
        CBall::wanderTicks = 0;
        BuildWorld();
        headless::clearMessageBoxes();
    }
    void TearDown() override { DestroyWorld(); }

    headless::OffscreenGL gl;
    worldtest::WorkingDir cwd;
};

TEST_F(GameDataSimulation, RunsOnTheGeneratedModels) {
    ASSERT_GT(team[0]->player[0]->getMesh()->numMeshes, 0);
    ASSERT_GT(stadium->getMesh()->numMeshes, 0);
    std::srand(11);
    playFrames(1000, 77u);
}

} // namespace
