// A game through the real bindings to game over and restart, every screen's texts, and the layers.
#include "support/gamesession.h"

#include "cball/cball.h"
#include "main/world.h"
#include "platform/headless.h"
#include "shared/globals.h"
#include "team/team.h"
#include "player/player.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

using hwtest::GameSession;
using hwtest::human;

// A line of text and where it stands in the text plane z = -50.1 (not checked when x is NaN).
struct Line {
    std::string text;
    float x = NAN, y = NAN;
};

void expectLines(const GameSession& game, const std::vector<Line>& want) {
    ASSERT_EQ(game.printed().size(), want.size()) << (want.empty() ? "" : want[0].text);
    for (size_t i = 0; i < want.size(); ++i) {
        const hwtest::Printed& p = game.printed()[i];
        EXPECT_EQ(p.text, want[i].text);
        EXPECT_TRUE(std::isnan(want[i].x) ||
                    (std::fabs(p.x - want[i].x) < 1e-3f && std::fabs(p.y - want[i].y) < 1e-3f &&
                     std::fabs(p.z + 50.1f) < 1e-3f))
            << p.text << " at " << p.x << ", " << p.y << ", " << p.z;
    }
}

TEST(Flow, HumanSeekerCatchesTheFlicketAndTheRestartKeepsViewAndLights) {
    GameSession game;
    ASSERT_TRUE(game.ok());
    game.start(7);
    game.frame();
    expectLines(game, {{"Press the Number of the Team You Wish to Play For", -24.2f, 2.75f},
                       {"1 - Emberhold", -21.7f, -2.8f},
                       {"2 - Stormwick", 9.8f, -2.8f}});
    game.tap('2');
    ASSERT_EQ(gameState, STATE_PLAYING);
    // Twice: the dark-rimmed pass, then the fill on top.
    const Line chaser{"Chaser currently in view      Score = 0 pts", -25.2f, 18.89f},
        holder{"No one is holding the Pellum", -12.7f, 17.14f};
    expectLines(game, {chaser, holder, chaser, holder});
    game.tap(VK_TAB);
    game.rightClick();
    game.frame();
    ASSERT_EQ(human(), team[1]->player[1]);
    game.tap(VK_F1); // the position lines under the status line (each drawn twice: rim, fill)
    ASSERT_EQ(game.printed().size(), 8u);
    EXPECT_EQ(game.printed()[2].text.rfind("X = ", 0), 0u);
    const Line seeker{"Seeker currently in view      Score = 0 pts", -25.2f, 18.89f},
        position{game.printed()[2].text, -23.35f, -18.41f},
        distance{"distBehindPlayer = 33.3000", -11.15f, -16.82f};
    expectLines(game, {seeker, holder, position, distance, seeker, holder, position, distance});
    Player* p = human();
    flicket->getPos(p->xpos, p->ypos, p->zpos);
    p->ypos -= 3.0f;
    game.leftClick();
    EXPECT_TRUE(team[1]->flicketCaught() && !team[0]->flicketCaught());
    game.frames(2);
    ASSERT_EQ(gameState, STATE_GAME_OVER);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING) || glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(team[1]->getScore(), 150);
    game.leftClick(); // on the game-over screen, the Seeker still beside the Flicket: nothing
    game.frame();
    EXPECT_EQ(team[1]->getScore(), 150);

    game.tap(VK_RETURN);
    EXPECT_EQ(gameState, STATE_TEAM_SELECT);
    EXPECT_EQ(team[0]->getScore() + team[1]->getScore(), 0);
    EXPECT_FALSE(team[1]->flicketCaught());
    EXPECT_TRUE(view == 1 && USE_LIGHTS); // view and lighting survive into the new game
    game.tap('1');
    ASSERT_EQ(gameState, STATE_PLAYING);
    EXPECT_TRUE(view == 0 && PLAYER_TEAM_ID == 0 && glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(human(), team[0]->getChaser());
}

TEST(GameOver, AnnouncesTheResult) {
    const struct {
        int score0;
        bool caught0;
        int score1;
        bool caught1;
        const char* lines; // separated by '|'
    } endings[] = {
        {10, false, 150, true,
         "Stormwick has won the game by 140 points!|Stormwick -- 150 points|Emberhold -- 10 "
         "points"},
        {160, true, 20, false,
         "Emberhold has won the game by 140 points!|Emberhold -- 160 points|Stormwick -- 20 "
         "points"},
        {170, false, 150, true,
         "Emberhold has won the game by 20 points!|and did it without catching the flicket!|"
         "Foolish, flicket-catching Stormwick!|Emberhold -- 170 points|Stormwick -- 150 points"},
        {150, true, 160, false,
         "Stormwick has won the game by 10 points!|and did it without catching the flicket!|"
         "Foolish, flicket-catching Emberhold!|Stormwick -- 160 points|Emberhold -- 150 points"},
        {150, false, 150, true,
         "A tie game! Stormwick caught the flicket.|Emberhold -- 150 points|Stormwick -- 150 "
         "points"},
        {150, true, 150, false,
         "A tie game! Emberhold caught the flicket.|Emberhold -- 150 points|Stormwick -- 150 "
         "points"}};
    GameSession game;
    ASSERT_TRUE(game.ok());
    game.start();
    for (const auto& e : endings) {
        game.tap(VK_RETURN);
        game.tap('1');
        team[0]->score = e.score0;
        team[0]->caughtFlicket = e.caught0;
        team[1]->score = e.score1;
        team[1]->caughtFlicket = e.caught1;
        gameState = STATE_GAME_ENDING;
        game.frame();
        ASSERT_EQ(gameState, STATE_GAME_OVER);
        expectLines(game, {}); // the ending frame draws nothing
        game.frame();
        const float places[6][2] = {{-23.65f, 4.95f}, {-21.65f, 3.05f}, {-19.4f, 1.3f},
                                    {-23.4f, -3.0f},  {6.5f, -3.0f},    {-16.95f, -17.35f}};
        const bool six = std::string(e.lines).find("Foolish") != std::string::npos;
        std::vector<Line> want;
        std::istringstream in(std::string(e.lines) + "|Enter to Play Again -- ESC to Quit");
        for (std::string text; std::getline(in, text, '|');) {
            const size_t at = six || want.empty() ? want.size() : want.size() + 2;
            want.push_back({text, places[at][0], places[at][1]});
        }
        expectLines(game, want);
    }
}

} // namespace

// The source tree keeps its layers, so a seeded include that runs back up fails a test too.
TEST(Layers, IncludesRunAlongTheLayerTable) {
    const std::string root = HW_SOURCE_DIR_DEFAULT;
    const std::string command =
        "python3 '" + root + "/scripts/check-layers' '" + root + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << "scripts/check-layers names the violation";
}
