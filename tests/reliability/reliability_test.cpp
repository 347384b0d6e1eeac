// The whole game over many restarts and without its data files: no crash, no message, nothing
// left behind from one game to the next.
#include "support/gamesession.h"

#include "cball/cball.h"
#include "contentplayer/contentplayer.h"
#include "main/background.h"
#include "main/game.h"
#include "main/gameview.h"
#include "main/hoopwind.h"
#include "main/world.h"
#include "particles/particleemitter.h"
#include "platform/headless.h"
#include "player/player.h"
#include "static_objects/goal.h"
#include "static_objects/stadium.h"
#include "team/team.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace {

using hwtest::GameSession;

int listLength() {
    int n = 0;
    for (GameObject* o = hoopwind ? hoopwind->head : nullptr; o != nullptr; o = o->next) {
        ++n;
    }
    return n;
}

int liveTextures() {
    int n = 0;
    for (GLuint name = 1; name < 4096; ++name) {
        n += glIsTexture(name) == GL_TRUE ? 1 : 0;
    }
    return n;
}

// The human's Seeker put on the Flicket and clicked: the quickest honest way to a game over.
void catchFlicket(GameSession& game) {
    if (hwtest::human()->type != SEEKER) {
        game.rightClick();
    }
    Player* seeker = hwtest::human();
    flicket->getPos(seeker->xpos, seeker->ypos, seeker->zpos);
    seeker->ypos -= 3.0f; // the catch measures from a point 3 above the player
    game.leftClick();
    game.frames(2);
}

// Selection, some play, a catch, game over, and a little of the next game.
void playToGameOverAndRestart(GameSession& game) {
    game.frame();
    ASSERT_EQ(gameState, STATE_TEAM_SELECT);
    game.tap('2');
    ASSERT_EQ(gameState, STATE_PLAYING);
    for (int i = 0; i < 20; ++i) {
        headless::setKey(VK_UP, i % 3 == 0);
        game.frame();
    }
    headless::setKey(VK_UP, false);
    if (gameState == STATE_PLAYING) {
        catchFlicket(game);
    }
    ASSERT_EQ(gameState, STATE_GAME_OVER);
    game.tap(VK_RETURN);
    ASSERT_EQ(gameState, STATE_TEAM_SELECT);
    game.tap('1');
    game.frames(10);
    EXPECT_TRUE(hwtest::worldPositionsFinite());
}

TEST(Endurance, RestartsBuildAFreshGameAndFreeEveryTextureOfTheLast) {
    GameSession game;
    ASSERT_TRUE(game.ok());
    const int beforeGame = liveTextures(); // the font's, made with the window
    game.start(1);
    game.frame();
    const int oneGame = liveTextures();
    // Background, the models' materials and the four trails.
    ASSERT_GT(oneGame - beforeGame, 10);
    const int objects = listLength();
    for (int cycle = 0; cycle < 60; ++cycle) {
        headless::setTickCount(static_cast<uint32_t>(1000 + cycle));
        game.tap(cycle % 2 == 0 ? '1' : '2');
        ASSERT_EQ(gameState, STATE_PLAYING) << "cycle " << cycle;
        game.frame();
        if (cycle % 10 == 0) {
            catchFlicket(game);
            ASSERT_EQ(gameState, STATE_GAME_OVER) << "cycle " << cycle;
            game.tap(VK_RETURN);
        } else {
            Game_Restart();
            game.frame();
        }
        ASSERT_EQ(gameState, STATE_TEAM_SELECT) << "cycle " << cycle;
        ASSERT_EQ(listLength(), objects) << "cycle " << cycle;
        ASSERT_EQ(team[0]->getScore() + team[1]->getScore(), 0) << "cycle " << cycle;
        ASSERT_FALSE(pellum->caught) << "cycle " << cycle;
        ASSERT_EQ(liveTextures(), oneGame) << "cycle " << cycle;
    }
    game.shutdown();
    EXPECT_EQ(liveTextures(), beforeGame);
    EXPECT_TRUE(headless::messageBoxes().empty());
}

// Each model is present exactly when its file is there.
void expectModels(const std::string& dir) {
    auto has = [&](const char* file) { return std::filesystem::exists(dir + "/" + file); };
    EXPECT_EQ(stadium->hasShape(), has("mesh/stadium.3ds"));
    for (GoalPost* hoop : stadium->goal) {
        EXPECT_EQ(hoop->hasShape(), has("mesh/goal.3ds"));
    }
    for (Team* side : team) {
        for (Player* p : side->player) {
            EXPECT_EQ(p->hasShape(), has("mesh/player.3ds"));
        }
    }
}

// Every file under a folder, as sorted paths relative to it ("mesh/player.3ds").
std::vector<std::string> dataFiles(const std::string& dir) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        if (entry.is_regular_file()) {
            files.push_back(std::filesystem::relative(entry.path(), dir).generic_string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// One data file removed ("" removes them all): the game starts, plays to game over and restarts
// with the piece simply absent (no model, picture, sprite or music) and no message shown.
class MissingData : public ::testing::TestWithParam<std::string> {};

TEST_P(MissingData, GamePlaysAndRestartsWithThePieceAbsent) {
    testdata::ScratchDir copy;
    const std::string dir = copy.file("data");
    std::filesystem::copy(hwtest::dataDir(), dir, std::filesystem::copy_options::recursive);
    const bool all = GetParam().empty();
    for (const std::string& file : dataFiles(dir)) {
        if (all || file == GetParam()) {
            ASSERT_TRUE(std::filesystem::remove(dir + "/" + file)) << file;
        }
    }
    GameSession game(dir);
    ASSERT_TRUE(game.ok());
    const uint32_t ticks = 31;
    game.start(ticks);
    expectModels(dir);
    EXPECT_EQ(background->texture == 0, all || GetParam() == "BG.bmp");
    EXPECT_EQ(team[0]->player[0]->magicTrail->texture == 0, all || GetParam() == "Star.bmp");
    // Game_Init draws the track number first after seeding with the tick count.
    std::srand(ticks);
    const std::string chosen = "Music/music" + std::to_string(std::rand() % 2) + ".mp3";
    EXPECT_EQ(music->hasTrack(), !all && chosen != GetParam()) << chosen;
    playToGameOverAndRestart(game);
    expectModels(dir); // the next game, too
    EXPECT_TRUE(headless::messageBoxes().empty());
}

std::vector<std::string> missingCases() {
    std::vector<std::string> cases = dataFiles(hwtest::dataDir());
    cases.push_back("");
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EachDataFileAndAll, MissingData, ::testing::ValuesIn(missingCases()));

} // namespace
